#pragma once
// The command line of velmora-regsvr, the stand-in for "regsvr32".

#include <QString>
#include <QStringList>

namespace velmora::tools {

struct RegsvrResult {
    int exitCode = 1;
    bool silent = false;
    QString message;
};

// Options "/u" (or "-u") and "/s" (or "-s") in any order, then exactly one library path.
RegsvrResult runRegsvr(const QStringList& args);

}  // namespace velmora::tools
