// Load on one room server process over loopback: ten full rooms of 300 members (3,000
// connections), then game-data relays at a fixed rate among 100 full tables, timing every
// delivery. The server runs its event loop on its own thread; all clients share the main thread.
// The clients run on non-blocking sockets of their own epoll set (see loadclient.h).
// Every phase has a deadline, so a run always ends by itself.

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QSemaphore>
#include <QTcpServer>
#include <QThread>
#include <QTimer>
#include <algorithm>
#include <memory>
#include <sys/resource.h>

#include "loadclient.h"
#include "server/room/roomtcpserver.h"

namespace velmora::bench {
namespace {

using server::Limits;
using server::MemoryRoomDirectory;
using server::MemorySessionDirectory;
using server::RoomInfo;
using server::RoomTcpServer;
using server::SessionRecord;

// VELMORA_ROOMLOAD_ROOMS shrinks the population (1 to 10 rooms) to see how the figures scale.
const int kRooms = std::clamp(qEnvironmentVariableIntValue("VELMORA_ROOMLOAD_ROOMS") > 0
                                  ? qEnvironmentVariableIntValue("VELMORA_ROOMLOAD_ROOMS") : 10, 1, 10);
constexpr int kPerRoom = 300;
constexpr int kTables = 100;
constexpr int kFrameBytes = 120;  // a typical game frame

class ServerThread final : public QThread {
public:
    ServerThread(const MemoryRoomDirectory& rooms, MemorySessionDirectory& sessions, quint16 port)
        : m_rooms(rooms), m_sessions(sessions), m_port(port) {}
    ~ServerThread() override {
        quit();
        wait();
    }
    bool startAndWait() {
        start();
        m_ready.acquire();
        return m_ok;
    }

protected:
    void run() override {
        Limits limits;
        limits.idleTimeoutMs = 600000;  // the clients send no keep-alives during the run
        RoomTcpServer server(m_rooms, m_sessions, QStringLiteral("127.0.0.1"), m_port, limits);
        m_ok = server.listen();
        m_ready.release();
        if (m_ok) exec();
    }

private:
    const MemoryRoomDirectory& m_rooms;
    MemorySessionDirectory& m_sessions;
    quint16 m_port;
    QSemaphore m_ready;
    bool m_ok = false;
};

ClientPool* g_pool = nullptr;

// Runs the clients (and `step`, about every millisecond) until `done` or the time-out.
template <typename Pred>
bool spinUntil(Pred done, int timeoutMs, const std::function<void()>& step = {}) {
    QElapsedTimer t;
    t.start();
    while (!done()) {
        if (t.elapsed() > timeoutMs) return false;
        if (step) step();
        g_pool->poll(1);
    }
    return true;
}

// The members and the server, built once and shared by the benchmarks that follow.
struct World {
    MemoryRoomDirectory rooms;
    MemorySessionDirectory sessions;
    std::unique_ptr<ServerThread> server;
    LoadStats stats;
    ClientPool clients;
    double setupSeconds = 0;
    bool ok = false;
    bool seated = false;

    bool build() {
        QTcpServer probe;
        probe.listen(QHostAddress::LocalHost, 0);
        const quint16 port = probe.serverPort();
        probe.close();
        for (int r = 1; r <= kRooms; ++r) {
            RoomInfo info;
            info.id = r;
            info.serverPort = port;
            info.tableCount = kTables;
            info.maxMembers = kPerRoom;
            rooms.addRoom(info);
        }
        for (int i = 0; i < kRooms * kPerRoom; ++i) {
            const qint64 user = 100000 + i;
            SessionRecord s;
            s.userId = user;
            s.encodeKey = QStringLiteral("Lk%1pZ8q").arg(user);
            s.profile.userId = user;
            sessions.addSession(QStringLiteral("t%1").arg(user), s);
            clients.add(user, QStringLiteral("t%1").arg(user), s.encodeKey, 1 + i / kPerRoom, stats);
        }
        g_pool = &clients;
        server = std::make_unique<ServerThread>(rooms, sessions, port);
        if (!server->startAndWait()) return false;
        QElapsedTimer t;
        t.start();
        // At most 100 logins in flight, so the listen backlog never overflows.
        size_t started = 0;
        ok = spinUntil([&] { return stats.entered == static_cast<int>(clients.size()) || stats.failures > 0; },
                       180000, [&] {
                           while (started < clients.size() && started - stats.entered < 100)
                               clients[started++].connectTo(port);
                       });
        setupSeconds = t.elapsed() / 1000.0;
        ok = ok && stats.failures == 0;
        // The last member of each room has heard of all 300: wait for the broadcasts to drain.
        spinUntil([] { return false; }, 1000);
        return ok;
    }

    // Room 1's 300 members fill its 100 tables.
    bool seatRoomOne() {
        if (seated) return true;
        for (int i = 0; i < kPerRoom; ++i) clients[static_cast<size_t>(i)].sitDown(1 + i / 3, i % 3);
        seated = spinUntil([&] { return stats.seated == kPerRoom || stats.failures > 0; }, 60000) &&
                 stats.failures == 0;
        spinUntil([] { return false; }, 500);
        return seated;
    }

    int connectedCount() {
        int n = 0;
        for (size_t i = 0; i < clients.size(); ++i) n += clients[i].inRoom() ? 1 : 0;
        return n;
    }
};

std::unique_ptr<World> g_world;  // freed in main, while the application object still exists

World& world() {
    if (!g_world) {
        g_world = std::make_unique<World>();
        g_world->build();
    }
    return *g_world;
}

void releaseWorld() { g_world.reset(); }

void BM_HoldMembers(benchmark::State& state) {
    World& w = world();
    for (auto _ : state) {
        if (!w.ok) {
            state.SkipWithError("members could not all enter");
            return;
        }
        state.SetIterationTime(w.setupSeconds);
    }
    // Held: still connected and in their rooms after the whole entry storm.
    spinUntil([] { return false; }, 2000);
    state.counters["members_held"] = w.connectedCount();
    state.counters["lines_received"] = static_cast<double>(w.stats.lines);
    state.counters["enter_per_s"] = w.stats.entered / std::max(w.setupSeconds, 1e-9);
}
BENCHMARK(BM_HoldMembers)->Iterations(1)->UseManualTime()->Unit(benchmark::kSecond);

// Relays offered at a fixed rate for a fixed time among room 1's 100 tables while all 3,000
// members stay connected; latency from the sender's write to each table member's parse
// (the sender's own reply included).
void BM_RelayAtRate(benchmark::State& state) {
    World& w = world();
    const int rate = static_cast<int>(state.range(0));
    const int seconds = 5;
    if (!w.ok || !w.seatRoomOne()) {
        state.SkipWithError("setup failed");
        return;
    }
    for (auto _ : state) {
        w.stats.latenciesMs.clear();
        const qint64 total = static_cast<qint64>(rate) * seconds;
        qint64 sent = 0;
        size_t next = 0;
        QElapsedTimer t;
        t.start();
        spinUntil([&] { return sent >= total; }, (seconds + 5) * 1000, [&] {
            const qint64 owed = std::min<qint64>(total, t.nsecsElapsed() * rate / 1'000'000'000) - sent;
            for (qint64 i = 0; i < owed; ++i, ++sent) {
                w.clients[next].sendRelay(kFrameBytes);
                next = (next + 1) % kPerRoom;
            }
        });
        const double sendSeconds = t.elapsed() / 1000.0;
        spinUntil([&] { return static_cast<qint64>(w.stats.latenciesMs.size()) >= total * 3; }, 10000);
        const double allSeconds = t.elapsed() / 1000.0;
        state.SetIterationTime(allSeconds);
        auto& l = w.stats.latenciesMs;
        std::sort(l.begin(), l.end());
        const auto pick = [&](double q) { return l.empty() ? -1.0 : l[static_cast<size_t>(q * (l.size() - 1))]; };
        state.counters["offered_per_s"] = total / sendSeconds;
        state.counters["relays_done_per_s"] = (l.size() / 3.0) / allSeconds;
        state.counters["deliveries"] = static_cast<double>(l.size());
        state.counters["lost"] = static_cast<double>(total * 3 - static_cast<qint64>(l.size()));
        state.counters["p50_ms"] = pick(0.50);
        state.counters["p99_ms"] = pick(0.99);
        state.counters["max_ms"] = pick(1.0);
        state.counters["members_held"] = w.connectedCount();
    }
}
BENCHMARK(BM_RelayAtRate)->Arg(2000)->Arg(5000)->Arg(10000)->Arg(20000)->Iterations(1)->UseManualTime()->Unit(benchmark::kSecond);

}  // namespace
}  // namespace velmora::bench

int main(int argc, char** argv) {
    rlimit lim{};
    if (getrlimit(RLIMIT_NOFILE, &lim) == 0 && lim.rlim_cur < lim.rlim_max) {
        lim.rlim_cur = lim.rlim_max;  // 6,000 sockets in one process
        setrlimit(RLIMIT_NOFILE, &lim);
    }
    qputenv("QT_LOGGING_RULES", "velmora.roomserver.info=false");
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    velmora::bench::releaseWorld();
    return 0;
}
