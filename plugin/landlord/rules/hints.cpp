#include "rules/hints.h"

#include <bit>

#include "rules/cardset.h"
#include "rules/handtype.h"

namespace velmora::lord {

namespace {

using detail::CardMask;

// A short card string with the set it stands for; a repeated code marks it as no hand.
struct Cards {
    std::array<char, 2 * kMaxHandCards> text{};
    int size = 0;
    CardMask mask = 0;
    bool repeated = false;

    void append(const char* codes, int count) {
        for (int i = 0; i < count && size < static_cast<int>(text.size()); ++i) {
            const char c = codes[i];
            text[static_cast<std::size_t>(size++)] = c;
            const CardMask bit = CardMask{1} << detail::bitOf(c);
            if (mask & bit) repeated = true;
            mask |= bit;
        }
    }
    void append(const Cards& other) { append(other.text.data(), other.size); }
    std::string_view view() const { return {text.data(), static_cast<std::size_t>(size)}; }
    HandType type() const {
        if (repeated || size > kMaxHandCards) return HandType::Invalid;
        return detail::classifyMask(mask);
    }
};

// The groups of a card set after GroupByRank and SortGroups, over the cards in display order:
// larger groups first, stronger ranks first, spades to diamonds inside a group.
struct Groups {
    std::array<char, kMaxHandCards> cards{};
    std::array<std::uint8_t, 16> offset{};
    std::array<std::uint8_t, 16> length{};
    std::array<std::uint8_t, 16> value{};
    int count = 0;
    int total = 0;

    const char* at(int g) const { return cards.data() + offset[static_cast<std::size_t>(g)]; }
    int len(int g) const { return length[static_cast<std::size_t>(g)]; }
};

Groups makeGroups(CardMask set) {
    Groups g;
    const detail::RankMasks r = detail::rankMasks(set);
    for (int s = 4; s >= 1; --s) {
        for (std::uint32_t m = r.size[s]; m != 0; m &= ~(1u << detail::topValue(m))) {
            const int v = detail::topValue(m);
            const auto gi = static_cast<std::size_t>(g.count++);
            g.offset[gi] = static_cast<std::uint8_t>(g.total);
            g.length[gi] = static_cast<std::uint8_t>(s);
            g.value[gi] = static_cast<std::uint8_t>(v);
            for (int lane = 0; lane < 4; ++lane) {
                const int bit = lane * 16 + v;
                if ((set >> bit) & 1u)
                    g.cards[static_cast<std::size_t>(g.total++)] =
                        detail::kTables.codeOfBit[static_cast<std::size_t>(bit)];
            }
        }
    }
    return g;
}

Cards firstCards(const Groups& g, int group, int count) {
    Cards c;
    c.append(g.at(group), count);
    return c;
}

// The first `count` cards of the table hand in grouped order: for every table type that uses
// it, these are whole groups (its triple, its four, its triples).
CardMask groupedPrefix(CardMask table, int count) {
    const Groups g = makeGroups(table);
    CardMask out = 0;
    for (int i = 0; i < count && i < g.total; ++i)
        out |= CardMask{1} << detail::bitOf(g.cards[static_cast<std::size_t>(i)]);
    return out;
}

bool beats(const Cards& c, CardMask table) {
    return detail::compareMasks(c.mask, c.type(), table, detail::classifyMask(table)) > 0;
}

void appendBombs(const Groups& g, HintList& out) {
    for (int i = g.count - 1; i >= 0; --i) {
        if (g.len(i) == 4) out.push({g.at(i), 4});
    }
}

// Candidates kept aside until the wings are known.
struct Pending {
    std::array<Cards, 16> items;
    int count = 0;
    void add(const Cards& c) {
        if (count < static_cast<int>(items.size())) items[static_cast<std::size_t>(count++)] = c;
    }
};

void pushWithWings(const Pending& pending, const Cards& wings, HandType type, HintList& out) {
    for (int i = 0; i < pending.count; ++i) {
        Cards c = pending.items[static_cast<std::size_t>(i)];
        c.append(wings);
        if (c.type() == type) out.push(c.view());
    }
}

void singlesPairsTriples(const Groups& g, CardMask table, int a, HintList& out) {
    const int largest = g.count > 0 ? g.len(0) : 0;
    for (int s = a; s <= largest; ++s) {
        for (int i = g.count - 1; i >= 0; --i) {
            if (g.len(i) != s) continue;
            const Cards c = firstCards(g, i, a);
            if (beats(c, table)) out.push(c.view());
        }
    }
    appendBombs(g, out);
}

void tripleWithWing(const Groups& g, CardMask table, HandType type, int a, HintList& out) {
    const CardMask triple = groupedPrefix(table, 3);
    const int largest = g.count > 0 ? g.len(0) : 0;
    Pending pending;
    for (int s = 3; s <= largest; ++s) {
        for (int i = g.count - 1; i >= 0; --i) {
            if (g.len(i) != s) continue;
            const Cards c = firstCards(g, i, 3);
            if (beats(c, triple)) pending.add(c);
        }
    }
    Cards wing;
    for (int i = g.count - 1; i >= 0; --i) {
        if (g.len(i) >= a) {
            wing = firstCards(g, i, a);
            break;
        }
    }
    pushWithWings(pending, wing, type, out);
    appendBombs(g, out);
}

void fourWithWings(const Groups& g, CardMask table, HandType type, int a, HintList& out) {
    if (g.count >= 3) {
        const CardMask four = groupedPrefix(table, 4);
        Pending pending;
        for (int i = g.count - 1; i >= 0; --i) {
            if (g.len(i) < 4) continue;
            const Cards c = firstCards(g, i, 4);
            if (beats(c, four)) pending.add(c);
        }
        Cards wings;
        for (int i = g.count - 1; i >= 0 && wings.size < 2 * a; --i) {
            if (g.len(i) >= a) wings.append(g.at(i), a);
        }
        if (wings.size == 2 * a) {
            pushWithWings(pending, wings, type, out);
        } else {
            // Without a full wing the fours stay as they are (each is also a bomb candidate).
            for (int i = 0; i < pending.count; ++i)
                out.push(pending.items[static_cast<std::size_t>(i)].view());
        }
    }
    appendBombs(g, out);
}

void sequences(const Groups& g, CardMask table, HandType type, int a, HintList& out) {
    const int tableLength = std::popcount(table);
    if (g.count >= tableLength / a) {
        // One unit of `a` cards per usable rank, strongest rank first.
        std::array<std::int8_t, detail::kRankCount> groupOfValue{};
        groupOfValue.fill(-1);
        for (int i = 0; i < g.count; ++i)
            groupOfValue[g.value[static_cast<std::size_t>(i)]] = static_cast<std::int8_t>(i);
        std::array<std::int8_t, detail::kRankCount> units{};
        int unitCount = 0;
        for (int v = detail::kRankCount - 1; v >= 0; --v) {
            const int gi = groupOfValue[static_cast<std::size_t>(v)];
            if (gi >= 0 && g.len(gi) >= a)
                units[static_cast<std::size_t>(unitCount++)] = static_cast<std::int8_t>(gi);
        }
        const int windowUnits = tableLength / a;
        for (int start = unitCount - windowUnits; start >= 0; --start) {
            Cards c;
            for (int u = start; u < start + windowUnits; ++u)
                c.append(g.at(units[static_cast<std::size_t>(u)]), a);
            if (c.type() == type && beats(c, table)) out.push(c.view());
        }
    }
    appendBombs(g, out);
}

void planeWithWings(const Groups& g, CardMask table, HandType type, int k, int w, HintList& out) {
    const int moreGroupsThan = k == 2 ? 3 : 5;
    int moreCardsThan = 0;
    switch (type) {
        case HandType::PlaneWithTwo:
            moreCardsThan = 7;
            break;
        case HandType::PlaneWithTwoPairs:
            moreCardsThan = 9;
            break;
        case HandType::Plane3WithThree:
            moreCardsThan = 11;
            break;
        default:
            moreCardsThan = 14;
            break;
    }
    int tripleGroups = 0;
    for (int i = 0; i < g.count; ++i) tripleGroups += g.len(i) >= 3 ? 1 : 0;
    if (g.count > moreGroupsThan && g.total > moreCardsThan && tripleGroups >= k) {
        const CardMask planePart = groupedPrefix(table, 3 * k);
        Pending pending;
        // Triples in group order: the fours (if any) come before the triples.
        for (int t = 0; t + k <= tripleGroups; ++t) {
            Cards c;
            for (int j = t; j < t + k; ++j) c.append(g.at(j), 3);
            if (c.type() == HandType::Plane && beats(c, planePart)) pending.add(c);
        }
        if (pending.count > 0) {
            Cards wings;
            for (int i = g.count - 1; i >= 0 && wings.size < k * w; --i) {
                if (g.len(i) >= w) wings.append(g.at(i), w);
            }
            pushWithWings(pending, wings, type, out);
        }
    }
    appendBombs(g, out);
}

}  // namespace

std::vector<std::string> HintList::toStrings() const {
    std::vector<std::string> out;
    out.reserve(static_cast<std::size_t>(m_count));
    for (int i = 0; i < m_count; ++i) out.emplace_back((*this)[i]);
    return out;
}

bool HintList::push(std::string_view cards) {
    if (m_count >= kCapacity || cards.size() > static_cast<std::size_t>(kMaxHandCards))
        return false;
    auto& item = m_items[static_cast<std::size_t>(m_count++)];
    for (std::size_t i = 0; i < cards.size(); ++i) item.cards[i] = cards[i];
    item.size = static_cast<std::uint8_t>(cards.size());
    return true;
}

HintList BuildHints(std::string_view hand, std::string_view tableHand) {
    HintList out;
    CardMask handSet = 0;
    CardMask table = 0;
    if (!detail::parseCards(hand, handSet) || !detail::parseCards(tableHand, table)) return out;
    const HandType tableType = detail::classifyMask(table);
    if (tableType == HandType::Rocket) {
        out.setAction(HintAction::Pass);
        return out;
    }
    const CardMask rocket =
        (CardMask{1} << detail::kSmallJokerValue) | (CardMask{1} << detail::kBigJokerValue);
    const bool holdsRocket = (handSet & rocket) == rocket;
    if (holdsRocket) handSet &= ~rocket;
    const Groups g = makeGroups(handSet);
    switch (tableType) {
        case HandType::Single:
            singlesPairsTriples(g, table, 1, out);
            break;
        case HandType::Pair:
            singlesPairsTriples(g, table, 2, out);
            break;
        case HandType::Triple:
            singlesPairsTriples(g, table, 3, out);
            break;
        case HandType::TripleWithOne:
            tripleWithWing(g, table, tableType, 1, out);
            break;
        case HandType::TripleWithPair:
            tripleWithWing(g, table, tableType, 2, out);
            break;
        case HandType::Bomb:
            for (int i = g.count - 1; i >= 0; --i) {
                if (g.len(i) != 4) continue;
                const Cards c = firstCards(g, i, 4);
                if (beats(c, table)) out.push(c.view());
            }
            break;
        case HandType::FourWithTwo:
            fourWithWings(g, table, tableType, 1, out);
            break;
        case HandType::FourWithTwoPairs:
            fourWithWings(g, table, tableType, 2, out);
            break;
        case HandType::Straight:
            sequences(g, table, tableType, 1, out);
            break;
        case HandType::PairSequence:
            sequences(g, table, tableType, 2, out);
            break;
        case HandType::Plane:
            sequences(g, table, tableType, 3, out);
            break;
        case HandType::PlaneWithTwo:
            planeWithWings(g, table, tableType, 2, 1, out);
            break;
        case HandType::PlaneWithTwoPairs:
            planeWithWings(g, table, tableType, 2, 2, out);
            break;
        case HandType::Plane3WithThree:
            planeWithWings(g, table, tableType, 3, 1, out);
            break;
        case HandType::Plane3WithThreePairs:
            planeWithWings(g, table, tableType, 3, 2, out);
            break;
        default:
            // Larger planes, an empty or unclassifiable table: the press does nothing.
            return out;
    }
    if (holdsRocket) out.push("10");
    out.setAction(out.empty() ? HintAction::Pass : HintAction::Select);
    return out;
}

int NextHint(int& counter, int candidateCount) {
    if (counter <= 0 || candidateCount <= 0) return -1;
    const int index = (counter - 1) % candidateCount;
    ++counter;
    return index;
}

}  // namespace velmora::lord
