#include "rules/moves.h"

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
    Generator(const std::array<std::uint8_t, detail::kRankCount>& counts, Sink& sink)
        : m_count(counts), m_sink(sink) {}

    // minKey: the play's key value must exceed it (-1: anything). length: required card count
    // for the sequence and plane types (0: any).
    void run(HandType type, int minKey, int length);

private:
    void emit(std::uint64_t counts, HandType type) { m_sink(Play{counts, type}); }

    // Every choice of `need` distinct ranks (from `from` downwards) holding at least `size`
    // cards, none inside the body mask, each adding `size` cards to `counts`.
    void wings(std::uint64_t counts, std::uint32_t body, int size, int need, int from,
               HandType type) {
        if (need == 0) {
            emit(counts, type);
            return;
        }
        for (int v = from; v >= need - 1; --v) {
            if ((body >> v) & 1u || m_count[static_cast<std::size_t>(v)] < size) continue;
            wings(counts + unit(v, size), body, size, need - 1, v - 1, type);
        }
    }

    void groupsOf(int size, HandType type, int minKey) {
        for (int v = minKey + 1; v < detail::kRankCount; ++v) {
            if (m_count[static_cast<std::size_t>(v)] >= size) emit(unit(v, size), type);
        }
    }

    void withWings(int bodySize, int wingSize, int wingCount, HandType type, int minKey) {
        for (int v = minKey + 1; v < detail::kRankCount; ++v) {
            if (m_count[static_cast<std::size_t>(v)] < bodySize) continue;
            wings(unit(v, bodySize), 1u << v, wingSize, wingCount, detail::kRankCount - 1, type);
        }
    }

    // Runs of `units` consecutive ranks inside three .. ace with at least `size` cards each,
    // plus `wingCount` wings of `wingSize` (0 for none).
    void runs(int size, int minUnits, int maxUnits, int wingSize, HandType type, int minKey,
              int length) {
        for (int units = minUnits; units <= maxUnits; ++units) {
            if (length != 0 && units * size + units * wingSize != length) continue;
            for (int low = 0; low + units - 1 <= detail::kAceValue; ++low) {
                const int top = low + units - 1;
                if (top <= minKey) continue;
                std::uint64_t counts = 0;
                std::uint32_t body = 0;
                bool ok = true;
                for (int v = low; v <= top && ok; ++v) {
                    ok = m_count[static_cast<std::size_t>(v)] >= size;
                    counts += unit(v, size);
                    body |= 1u << v;
                }
                if (!ok) continue;
                if (wingSize == 0)
                    emit(counts, type);
                else
                    wings(counts, body, wingSize, units, detail::kRankCount - 1, type);
            }
        }
    }

    const std::array<std::uint8_t, detail::kRankCount>& m_count;
    Sink& m_sink;
};

template <typename Sink>
void Generator<Sink>::run(HandType type, int minKey, int length) {
    switch (type) {
    case HandType::Single: groupsOf(1, type, minKey); break;
    case HandType::Pair: groupsOf(2, type, minKey); break;
    case HandType::Triple: groupsOf(3, type, minKey); break;
    case HandType::Bomb: groupsOf(4, type, minKey); break;
    case HandType::TripleWithOne: withWings(3, 1, 1, type, minKey); break;
    case HandType::TripleWithPair: withWings(3, 2, 1, type, minKey); break;
    case HandType::FourWithTwo: withWings(4, 1, 2, type, minKey); break;
    case HandType::FourWithTwoPairs: withWings(4, 2, 2, type, minKey); break;
    case HandType::Straight: runs(1, 5, 12, 0, type, minKey, length); break;
    case HandType::PairSequence: runs(2, 3, 10, 0, type, minKey, length); break;
    case HandType::Plane: runs(3, 2, 6, 0, type, minKey, length); break;
    case HandType::PlaneWithTwo: runs(3, 2, 2, 1, type, minKey, 0); break;
    case HandType::PlaneWithTwoPairs: runs(3, 2, 2, 2, type, minKey, 0); break;
    case HandType::Plane3WithThree: runs(3, 3, 3, 1, type, minKey, 0); break;
    case HandType::Plane3WithThreePairs: runs(3, 3, 3, 2, type, minKey, 0); break;
    case HandType::Plane4WithFour: runs(3, 4, 4, 1, type, minKey, 0); break;
    case HandType::Plane4WithFourPairs: runs(3, 4, 4, 2, type, minKey, 0); break;
    case HandType::Plane5WithFive: runs(3, 5, 5, 1, type, minKey, 0); break;
    case HandType::Rocket:
        if (m_count[detail::kSmallJokerValue] && m_count[detail::kBigJokerValue])
            emit(unit(detail::kSmallJokerValue, 1) + unit(detail::kBigJokerValue, 1), type);
        break;
    case HandType::Invalid: break;
    }
}

template <typename Sink>
void enumerate(std::string_view hand, std::string_view tableHand, bool leading, Sink& sink) {
    CardMask handSet = 0;
    if (!detail::parseCards(hand, handSet) || handSet == 0) return;
    std::array<std::uint8_t, detail::kRankCount> counts{};
    for (int v = 0; v < detail::kRankCount; ++v)
        counts[static_cast<std::size_t>(v)] = static_cast<std::uint8_t>(detail::countOf(handSet, v));
    Generator<Sink> gen(counts, sink);
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
