// Speed of the Landlord rules: classification, hint lists, legal-play enumeration.
// Heap allocations are counted by replacing the global operator new.

#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdlib>
#include <new>
#include <string>
#include <vector>

#include "rules/cards.h"
#include "rules/cardset.h"
#include "rules/deal.h"
#include "rules/handtype.h"
#include "rules/hints.h"
#include "rules/moves.h"

namespace {
std::atomic<long long> g_allocations{0};
}

// The replacement pairs malloc with free on purpose.
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"

void* operator new(std::size_t size) {
    g_allocations.fetch_add(1, std::memory_order_relaxed);
    if (void* p = std::malloc(size == 0 ? 1 : size)) return p;
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept {
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}

namespace {

using namespace velmora::lord;

std::vector<std::string> randomHands(int count, int size, std::uint64_t seed) {
    SeededRandom random(seed);
    std::vector<std::string> out;
    for (int i = 0; i < count; ++i)
        out.push_back(ShuffleCards(InitialDeck, random).substr(0, static_cast<std::size_t>(size)));
    return out;
}

// Every subset of a random 20-card hand, written as a card string and classified.
void BM_ClassifyAllSubsets(benchmark::State& state) {
    const auto hands = randomHands(16, 20, 1);
    std::size_t h = 0;
    long long classified = 0;
    for (auto _ : state) {
        const std::string& hand = hands[h++ % hands.size()];
        char buffer[20];
        int sum = 0;
        for (std::uint32_t mask = 1; mask < (1u << 20); ++mask) {
            int n = 0;
            for (std::uint32_t m = mask; m != 0; m &= m - 1)
                buffer[n++] = hand[static_cast<std::size_t>(__builtin_ctz(m))];
            sum += static_cast<int>(
                ClassifyHand(std::string_view(buffer, static_cast<std::size_t>(n))));
        }
        benchmark::DoNotOptimize(sum);
        classified += (1 << 20) - 1;
    }
    state.SetItemsProcessed(classified);
}
BENCHMARK(BM_ClassifyAllSubsets)->Unit(benchmark::kMillisecond);

// The same over card bit sets (what CheckPlay, the hints and the enumeration use inside).
void BM_ClassifyAllSubsetsBitSet(benchmark::State& state) {
    const auto hands = randomHands(16, 20, 1);
    std::size_t h = 0;
    long long classified = 0;
    for (auto _ : state) {
        const std::string& hand = hands[h++ % hands.size()];
        std::uint64_t bits[20];
        for (int i = 0; i < 20; ++i)
            bits[i] = std::uint64_t{1}
                      << velmora::lord::detail::bitOf(hand[static_cast<std::size_t>(i)]);
        int sum = 0;
        // Gray code: one card in or out per step.
        std::uint64_t set = 0;
        for (std::uint32_t i = 1; i < (1u << 20); ++i) {
            set ^= bits[__builtin_ctz(i)];
            sum += static_cast<int>(velmora::lord::detail::classifyMask(set));
        }
        benchmark::DoNotOptimize(sum);
        classified += (1 << 20) - 1;
    }
    state.SetItemsProcessed(classified);
}
BENCHMARK(BM_ClassifyAllSubsetsBitSet)->Unit(benchmark::kMillisecond);

struct Pair {
    std::string hand;
    std::string table;
};

// Hands of 17 cards against table hands of every type (drawn from the legal plays of other
// random hands), each type equally often.
std::vector<Pair> handTablePairs(int count) {
    SeededRandom random(5);
    std::vector<std::vector<std::string>> byType(kHandTypeCount);
    std::vector<Play> plays;
    for (int i = 0; i < 400; ++i) {
        const std::string source = ShuffleCards(InitialDeck, random).substr(0, 20);
        EnumeratePlays(source, {}, true, plays);
        for (const auto& p : plays) {
            auto& list = byType[static_cast<std::size_t>(p.type)];
            if (list.size() < 64) list.push_back(PlayCards(source, p));
        }
    }
    std::vector<Pair> out;
    for (int i = 0; out.size() < static_cast<std::size_t>(count); ++i) {
        const auto& list = byType[static_cast<std::size_t>(1 + i % (kHandTypeCount - 1))];
        if (list.empty()) continue;
        const std::string& table = list[DrawBelow(random, list.size())];
        const std::string rest = RemoveCards(InitialDeck, table);
        out.push_back({ShuffleCards(rest, random).substr(0, 17), table});
    }
    return out;
}

void BM_BuildHints(benchmark::State& state) {
    const auto pairs = handTablePairs(4096);
    std::size_t i = 0;
    const long long before = g_allocations.load();
    for (auto _ : state) {
        const Pair& p = pairs[i++ % pairs.size()];
        HintList list = BuildHints(p.hand, p.table);
        benchmark::DoNotOptimize(list);
    }
    state.counters["allocs_per_call"] =
        benchmark::Counter(static_cast<double>(g_allocations.load() - before) /
                           static_cast<double>(state.iterations()));
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_BuildHints);

// All legal plays of a 17-card hand: against a table hand of a random type, or on the lead.
void BM_LegalPlays(benchmark::State& state) {
    const bool leading = state.range(0) != 0;
    const auto pairs = handTablePairs(4096);
    std::vector<Play> plays;
    plays.reserve(4096);
    std::size_t i = 0;
    long long total = 0;
    const long long before = g_allocations.load();
    for (auto _ : state) {
        const Pair& p = pairs[i++ % pairs.size()];
        EnumeratePlays(p.hand, p.table, leading, plays);
        total += static_cast<long long>(plays.size());
        benchmark::DoNotOptimize(plays.data());
    }
    state.counters["plays_per_hand"] =
        static_cast<double>(total) / static_cast<double>(state.iterations());
    state.counters["allocs_per_call"] =
        benchmark::Counter(static_cast<double>(g_allocations.load() - before) /
                           static_cast<double>(state.iterations()));
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_LegalPlays)->Arg(0)->Arg(1)->ArgName("leading");

}  // namespace

BENCHMARK_MAIN();
