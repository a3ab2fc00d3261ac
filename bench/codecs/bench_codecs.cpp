// Cost of the per-line work of the room connection: scramble a typical request on the way out,
// unscramble and parse a typical server line on the way in.
#include <benchmark/benchmark.h>

#include "hall/foundation/publicfunc.h"
#include "hall/foundation/roompacket.h"

namespace {

using namespace velmora::hall;

const QString kKey = QStringLiteral("Qm7vTz2K");

// A 200-character server line: a game-data relay with a hex frame.
QString typicalLine() {
    QString body = QStringLiteral("userid=10001&tableid=12&msg=");
    while (body.size() < 200 - 10) body += QStringLiteral("0301A7");
    const QString line = QStringLiteral("2|17_4711|20|") + body;
    return line.left(200);
}

void BM_ScrambleLine(benchmark::State& state) {
    const QString line = typicalLine();
    for (auto _ : state) benchmark::DoNotOptimize(ScrambleText(line, kKey));
    state.SetBytesProcessed(state.iterations() * line.size());
}
BENCHMARK(BM_ScrambleLine);

void BM_UnscrambleAndParseLine(benchmark::State& state) {
    const QString wire = ScrambleText(typicalLine(), kKey);
    for (auto _ : state) benchmark::DoNotOptimize(TryParseRoomPacket(UnscrambleText(wire, kKey)));
    state.SetBytesProcessed(state.iterations() * wire.size());
}
BENCHMARK(BM_UnscrambleAndParseLine);

void BM_ScrambleThenParseRoundTrip(benchmark::State& state) {
    const QString line = typicalLine();
    for (auto _ : state)
        benchmark::DoNotOptimize(TryParseRoomPacket(UnscrambleText(ScrambleText(line, kKey), kKey)));
}
BENCHMARK(BM_ScrambleThenParseRoundTrip);

void BM_HexFrame(benchmark::State& state) {
    QByteArray frame(static_cast<qsizetype>(state.range(0)), 'x');
    for (auto _ : state) benchmark::DoNotOptimize(HexDecodeText(HexEncodeBytes(frame)));
    state.SetBytesProcessed(state.iterations() * frame.size());
}
BENCHMARK(BM_HexFrame)->Arg(64)->Arg(1024);

}  // namespace

BENCHMARK_MAIN();
