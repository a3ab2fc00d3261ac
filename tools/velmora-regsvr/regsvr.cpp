#include "regsvr.h"

#include "platform/com/registerlibrary.h"

namespace velmora::tools {

RegsvrResult runRegsvr(const QStringList& args) {
    RegsvrResult r;
    bool unregister = false;
    QStringList files;
    for (const QString& a : args) {
        const QString lower = a.toLower();
        if (lower == QLatin1String("/u") || lower == QLatin1String("-u")) {
            unregister = true;
        } else if (lower == QLatin1String("/s") || lower == QLatin1String("-s")) {
            r.silent = true;
        } else {
            files << a;
        }
    }
    if (files.size() != 1) {
        r.exitCode = 1;
        r.message = QStringLiteral("usage: velmora-regsvr [/u] [/s] LIBRARY");
        return r;
    }
    const com::RegisterOutcome out = com::registerLibrary(files.front(), unregister);
    r.message = out.message;
    switch (out.status) {
    case com::RegisterStatus::Ok: r.exitCode = 0; break;
    case com::RegisterStatus::NotALibrary: r.exitCode = 2; break;
    case com::RegisterStatus::NoEntryPoint: r.exitCode = 3; break;
    case com::RegisterStatus::EntryPointFailed: r.exitCode = 4; break;
    }
    return r;
}

}  // namespace velmora::tools
