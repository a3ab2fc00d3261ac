// libFuzzer entry points for the codecs that read bytes from the network. Each target is built
// from this file with FUZZ_TARGET set to one of the numbers below.
#include <QString>

#include <cstddef>
#include <cstdint>

#include "hall/foundation/publicfunc.h"
#include "hall/foundation/roompacket.h"

namespace {

QString asText(const uint8_t* data, size_t size) {
    return QString::fromLatin1(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace velmora::hall;
    if (size > 64 * 1024) return 0;
#if FUZZ_TARGET == 1
    const auto packet = TryParseRoomPacket(asText(data, size));
    if (packet) {
        // Whatever parses must format back to a line that parses to the same record.
        const auto again = TryParseRoomPacket(FormatPacket(*packet));
        if (!again || !(*again == *packet)) __builtin_trap();
    }
#elif FUZZ_TARGET == 2
    const QString text = asText(data, size);
    const qsizetype cut = text.indexOf(QLatin1Char('\n'));
    const QString key = cut < 0 ? QStringLiteral("Vx3kPq9L") : text.left(cut);
    UnscrambleText(cut < 0 ? text : text.mid(cut + 1), key);
    ParseLoginLine(text);
#elif FUZZ_TARGET == 3
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const qsizetype cut = text.indexOf(QLatin1Char('\n'));
    if (cut >= 0) {
        BodyValue(text.mid(cut + 1), text.left(cut));
        BodyInt(text.mid(cut + 1), text.left(cut));
    }
#elif FUZZ_TARGET == 4
    const QString text = asText(data, size);
    HexDecodeText(text, false);
    HexDecodeText(text, true);
#elif FUZZ_TARGET == 5
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const auto out = TryUnpackBytes(bytes);
    if (out && out->size() > kMaxUnpackedBytes) __builtin_trap();
#else
#error "FUZZ_TARGET must be 1 to 5"
#endif
    return 0;
}
