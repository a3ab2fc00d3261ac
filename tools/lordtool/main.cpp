#include <iostream>

#include "lordtool.h"

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    return velmora::lordtool::runLordTool(args, std::cout, std::cerr);
}
