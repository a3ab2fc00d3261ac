// Black-box test of the built lordtool program.

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

namespace {

struct ToolRun {
    int status = -1;
    std::string out;
    std::string err;
};

ToolRun lordtool(const std::string& args) {
    const char* dir = std::getenv("VELMORA_BIN_DIR");
    ToolRun r;
    if (dir == nullptr) return r;
    const std::string errFile = ::testing::TempDir() + "lordtool_err.txt";
    const std::string command = std::string(dir) + "/lordtool " + args + " 2>" + errFile;
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) return r;
    char buffer[256];
    while (std::fgets(buffer, sizeof buffer, pipe) != nullptr) r.out += buffer;
    const int raw = pclose(pipe);
    r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    std::ifstream in(errFile);
    std::stringstream ss;
    ss << in.rdbuf();
    r.err = ss.str();
    return r;
}

TEST(LordTool, AnswersEachCommand) {
    ASSERT_NE(std::getenv("VELMORA_BIN_DIR"), nullptr);
    EXPECT_EQ(lordtool("classify CcPDdQEF").out, "PlaneWithTwo\n");
    EXPECT_EQ(lordtool("classify -").out, "Invalid\n");
    EXPECT_EQ(lordtool("compare 10 CcPp").out, "99\n");
    EXPECT_EQ(lordtool("compare D E").out, "-1\n");
    // The big joker is a single; the 6 is split from a pair, so it comes later.
    EXPECT_EQ(lordtool("hints CDdEFf1 E").out, "1\nF\n");
    EXPECT_EQ(lordtool("hints CD 10").out, "pass\n");
    const ToolRun nothing = lordtool("hints CD -");
    EXPECT_EQ(nothing.status, 0);
    EXPECT_EQ(nothing.out, "");
    EXPECT_EQ(lordtool("check --hands CDE,F,G --turn 0 --lead 1 --table D 0 E").out, "0\n");
    EXPECT_EQ(lordtool("check --hands CDE,F,G --turn 0 --lead 1 --table D 0 C").out, "5\n");
    EXPECT_EQ(lordtool("check --hands CDE,F,G --turn 1 --lead 1 --table - 0 C").out, "2\n");
    EXPECT_EQ(lordtool("check --hands CDE,,G --turn 0 --lead 0 --table - 0 C").out, "1\n");
}

TEST(LordTool, SeededDealIsReproducible) {
    const ToolRun a = lordtool("deal --seed 42");
    const ToolRun b = lordtool("deal --seed 42");
    ASSERT_EQ(a.status, 0);
    EXPECT_EQ(a.out, b.out);
    std::istringstream lines(a.out);
    std::string line, all;
    int count = 0;
    while (std::getline(lines, line)) {
        EXPECT_EQ(line.size(), count < 3 ? 17u : 3u);
        all += line;
        ++count;
    }
    EXPECT_EQ(count, 4);
    std::sort(all.begin(), all.end());
    EXPECT_EQ(std::unique(all.begin(), all.end()), all.end());
    EXPECT_EQ(all.size(), 54u);
    EXPECT_NE(lordtool("deal --seed 43").out, a.out);
}

TEST(LordTool, BadArgumentsExitOneWithOneErrorLine) {
    for (const char* args :
         {"", "frobnicate", "classify", "classify C D", "classify C#", "compare C", "hints C",
          "deal --seed x", "deal --seed", "check --hands C,D --turn 0 --lead 0 --table - 0 C",
          "check --hands C,D,E --turn 5 --lead 0 --table - 0 C",
          "check --hands C,D,E --turn 0 --lead 0 0 C",
          "check --hands C,D,E --turn 0 --lead 0 --table - --table - 0 C"}) {
        const ToolRun r = lordtool(args);
        EXPECT_EQ(r.status, 1) << args;
        EXPECT_EQ(r.out, "") << args;
        EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << args << ": " << r.err;
    }
}

}  // namespace
