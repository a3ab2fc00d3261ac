#include "rules/moves.h"

#include <algorithm>
#include <array>
#include <bit>

#include "rules/cardset.h"

namespace velmora::lord {

namespace {

using detail::CardMask;

constexpr std::uint64_t unit(int value, int count) {
    return static_cast<std::uint64_t>(count) << (4 * value);
}

// Receives the plays; the enumeration is a template over it so that counting and storing share
// one code path without an indirect call per play.
template <typename Sink>
class Generator {
public:
    Generator(CardMask hand, Sink& sink) : m_sink(sink) {
        const detail::RankMasks r = detail::rankMasks(hand);
        m_atLeast[4] = r.size[4];
        for (int s = 3; s >= 1; --s) m_atLeast[s] = m_atLeast[s + 1] | r.size[s];
    }

    // minKey: the play's key value must exceed it (-1: anything). length: required card count
    // for the sequence and plane types (0: any).
    void run(HandType type, int minKey, int length);

private:
    void emit(std::uint64_t counts, HandType type) { m_sink(Play{counts, type}); }

    // Every choice of `need` distinct ranks from `eligible` (strongest first), each adding
    // `size` cards to `counts`.
    void wings(std::uint64_t counts, std::uint32_t eligible, int size, int need, HandType type) {
        if (need == 0) {
            emit(counts, type);
            return;
        }
        if (need == 1) {
            for (std::uint32_t m = eligible; m != 0; m &= m - 1)
                emit(counts + unit(std::countr_zero(m), size), type);
            return;
        }
        while (std::popcount(eligible) >= need) {
            const int v = detail::topValue(eligible);
            eligible &= ~(1u << v);
            wings(counts + unit(v, size), eligible, size, need - 1, type);
        }
    }

    static std::uint32_t above(int minKey) { return minKey < 0 ? ~0u : ~((2u << minKey) - 1); }

    void groupsOf(int size, HandType type, int minKey) {
        for (std::uint32_t m = m_atLeast[size] & above(minKey); m != 0; m &= m - 1)
            emit(unit(std::countr_zero(m), size), type);
    }

    void withWings(int bodySize, int wingSize, int wingCount, HandType type, int minKey) {
        for (std::uint32_t m = m_atLeast[bodySize] & above(minKey); m != 0; m &= m - 1) {
            const int v = std::countr_zero(m);
            wings(unit(v, bodySize), m_atLeast[wingSize] & ~(1u << v), wingSize, wingCount, type);
        }
    }

    // Runs of `units` consecutive ranks inside three .. ace with at least `size` cards each,
    // plus `units` wings of `wingSize` (0 for none).
    void runs(int size, int minUnits, int maxUnits, int wingSize, HandType type, int minKey,
              int length) {
        const std::uint32_t usable = m_atLeast[size] & detail::kSequenceValues;
        for (int units = minUnits; units <= maxUnits; ++units) {
            if (length != 0 && units * size + units * wingSize != length) continue;
            const std::uint32_t window = (1u << units) - 1;
            std::uint64_t pattern = 0;
            for (int i = 0; i < units; ++i) pattern += unit(i, size);
            for (int low = std::max(0, minKey - units + 2); low + units - 1 <= detail::kAceValue;
                 ++low) {
                if (((usable >> low) & window) != window) continue;
                const std::uint64_t counts = pattern << (4 * low);
                if (wingSize == 0)
                    emit(counts, type);
                else
                    wings(counts, m_atLeast[wingSize] & ~(window << low), wingSize, units, type);
            }
        }
    }

    std::array<std::uint32_t, 5> m_atLeast{};
    Sink& m_sink;
};

template <typename Sink>
void Generator<Sink>::run(HandType type, int minKey, int length) {
    switch (type) {
        case HandType::Single:
            groupsOf(1, type, minKey);
            break;
        case HandType::Pair:
            groupsOf(2, type, minKey);
            break;
        case HandType::Triple:
            groupsOf(3, type, minKey);
            break;
        case HandType::Bomb:
            groupsOf(4, type, minKey);
            break;
        case HandType::TripleWithOne:
            withWings(3, 1, 1, type, minKey);
            break;
        case HandType::TripleWithPair:
            withWings(3, 2, 1, type, minKey);
            break;
        case HandType::FourWithTwo:
            withWings(4, 1, 2, type, minKey);
            break;
        case HandType::FourWithTwoPairs:
            withWings(4, 2, 2, type, minKey);
            break;
        case HandType::Straight:
            runs(1, 5, 12, 0, type, minKey, length);
            break;
        case HandType::PairSequence:
            runs(2, 3, 10, 0, type, minKey, length);
            break;
        case HandType::Plane:
            runs(3, 2, 6, 0, type, minKey, length);
            break;
        case HandType::PlaneWithTwo:
            runs(3, 2, 2, 1, type, minKey, 0);
            break;
        case HandType::PlaneWithTwoPairs:
            runs(3, 2, 2, 2, type, minKey, 0);
            break;
        case HandType::Plane3WithThree:
            runs(3, 3, 3, 1, type, minKey, 0);
            break;
        case HandType::Plane3WithThreePairs:
            runs(3, 3, 3, 2, type, minKey, 0);
            break;
        case HandType::Plane4WithFour:
            runs(3, 4, 4, 1, type, minKey, 0);
            break;
        case HandType::Plane4WithFourPairs:
            runs(3, 4, 4, 2, type, minKey, 0);
            break;
        case HandType::Plane5WithFive:
            runs(3, 5, 5, 1, type, minKey, 0);
            break;
        case HandType::Rocket:
            if (((m_atLeast[1] >> detail::kSmallJokerValue) & 3u) == 3u)
                emit(unit(detail::kSmallJokerValue, 1) + unit(detail::kBigJokerValue, 1), type);
            break;
        case HandType::Invalid:
            break;
    }
}

template <typename Sink>
void enumerate(std::string_view hand, std::string_view tableHand, bool leading, Sink& sink) {
    CardMask handSet = 0;
    if (!detail::parseCards(hand, handSet) || handSet == 0) return;
    Generator<Sink> gen(handSet, sink);
    if (leading) {
        for (int t = 1; t < kHandTypeCount; ++t) gen.run(static_cast<HandType>(t), -1, 0);
        return;
    }
    CardMask table = 0;
    if (!detail::parseCards(tableHand, table) || table == 0) return;
    const HandType tableType = detail::classifyMask(table);
    if (tableType == HandType::Rocket) return;
    const int tableKey = detail::keyValue(table);
    if (tableType != HandType::Invalid && tableType != HandType::Bomb)
        gen.run(tableType, tableKey, std::popcount(table));
    gen.run(HandType::Bomb, tableType == HandType::Bomb ? tableKey : -1, 0);
    gen.run(HandType::Rocket, -1, 0);
}

}  // namespace

void EnumeratePlays(std::string_view hand, std::string_view tableHand, bool leading,
                    std::vector<Play>& out) {
    out.clear();
    auto sink = [&out](const Play& p) { out.push_back(p); };
    enumerate(hand, tableHand, leading, sink);
}

int CountPlays(std::string_view hand, std::string_view tableHand, bool leading) {
    int n = 0;
    auto sink = [&n](const Play&) { ++n; };
    enumerate(hand, tableHand, leading, sink);
    return n;
}

std::string PlayCards(std::string_view hand, const Play& play) {
    CardMask handSet = 0;
    if (!detail::parseCards(hand, handSet)) return {};
    std::string out;
    for (int v = detail::kRankCount - 1; v >= 0; --v) {
        int need = play.count(v);
        for (int lane = 0; lane < 4 && need > 0; ++lane) {
            const int bit = lane * 16 + v;
            if ((handSet >> bit) & 1u) {
                out.push_back(detail::kTables.codeOfBit[static_cast<std::size_t>(bit)]);
                --need;
            }
        }
        if (need > 0) return {};
    }
    return out;
}

}  // namespace velmora::lord
