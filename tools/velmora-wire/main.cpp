#include <QCoreApplication>
#include <QFile>

#include <cstdio>

#include "wirecommand.h"

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);  // arguments decoded from the UTF-8 locale
    const QStringList args = QCoreApplication::arguments().mid(1);
    QByteArray input;
    if (!args.isEmpty() && args.first() == QStringLiteral("hexencode")) {
        QFile in;
        if (in.open(stdin, QIODevice::ReadOnly)) input = in.readAll();
    }
    const auto result = velmora::tools::RunWireCommand(args, input);
    if (result.exitCode != 0) {
        std::fprintf(stderr, "velmora-wire: %s\n", result.error.toUtf8().constData());
        return result.exitCode;
    }
    std::fwrite(result.out.constData(), 1, static_cast<size_t>(result.out.size()), stdout);
    return 0;
}
