// velmora-regsvr [/u] [/s] LIBRARY: registers (or with /u unregisters) a COM-style library by
// calling its own entry point. /s: no messages. Exit status 0 on success; 1 bad arguments,
// 2 not a library, 3 no entry point, 4 the entry point failed.

#include "tools/velmora-regsvr/regsvr.h"

#include <QCoreApplication>
#include <QStringList>
#include <cstdio>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const velmora::tools::RegsvrResult r = velmora::tools::runRegsvr(app.arguments().mid(1));
    if (!r.silent && !r.message.isEmpty()) {
        std::fprintf(r.exitCode == 0 ? stdout : stderr, "%s\n", r.message.toLocal8Bit().constData());
    }
    return r.exitCode;
}
