#pragma once
// The Landlord rules from the command line. The program's main() only forwards to runLordTool,
// so that the tests drive the same code in-process.

#include <ostream>
#include <string>
#include <vector>

namespace velmora::lordtool {

// args excludes the program name. Answers go to `out`, one per line; a bad argument gives one
// line on `err` and the return value 1; success returns 0.
int runLordTool(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace velmora::lordtool
