#include "rules/handtype.h"

#include <array>
#include <bit>

namespace velmora::lord {

namespace {

constexpr std::array<std::string_view, kHandTypeCount> kNames = {
    "Invalid",
    "Single",
    "Pair",
    "Triple",
    "TripleWithOne",
    "TripleWithPair",
    "Bomb",
    "FourWithTwo",
    "FourWithTwoPairs",
    "Straight",
    "PairSequence",
    "Plane",
    "PlaneWithTwo",
    "PlaneWithTwoPairs",
    "Plane3WithThree",
    "Plane3WithThreePairs",
    "Plane4WithFour",
    "Plane4WithFourPairs",
    "Plane5WithFive",
    "Rocket",
};

// The k strongest groups are k triples forming one run, and the shape has exactly `wings`
// further groups of size `wingSize` (the group sizes of the shape, nothing else).
bool planeWithWings(const detail::RankMasks& r, int k, int wingSize) {
    if (r.size[4] != 0 || std::popcount(r.size[3]) != k) return false;
    if (!detail::isRun(r.size[3])) return false;
    for (int s = 1; s <= 3; ++s) {
        if (s == 3) continue;
        const int expected = s == wingSize ? k : 0;
        if (std::popcount(r.size[s]) != expected) return false;
    }
    return true;
}

}  // namespace

std::string_view HandTypeName(HandType type) {
    const auto i = static_cast<std::size_t>(type);
    return i < kNames.size() ? kNames[i] : std::string_view{};
}

bool HandTypeFromName(std::string_view name, HandType& type) {
    for (std::size_t i = 0; i < kNames.size(); ++i) {
        if (kNames[i] == name) {
            type = static_cast<HandType>(i);
            return true;
        }
    }
    return false;
}

namespace detail {

// The order of the tests follows the classification rules of the game; because the group
// sizes of a card set add up to its card count, the shape tests reduce to counts of groups
// per size plus one run test on the triples, pairs or singles.
HandType classifyMask(CardMask cards) {
    const int n = std::popcount(cards);
    if (n == 0) return HandType::Invalid;
    if (n == 1) return HandType::Single;
    const RankMasks r = rankMasks(cards);
    const int c1 = std::popcount(r.size[1]);
    const int c2 = std::popcount(r.size[2]);
    const int c3 = std::popcount(r.size[3]);
    const int c4 = std::popcount(r.size[4]);
    const int groups = c1 + c2 + c3 + c4;
    if (n == 2) {
        const std::uint32_t jokers = (1u << kSmallJokerValue) | (1u << kBigJokerValue);
        if (r.size[1] == jokers) return HandType::Rocket;
        return c2 == 1 ? HandType::Pair : HandType::Invalid;
    }
    if (n == 3) return c3 == 1 ? HandType::Triple : HandType::Invalid;
    if (n == 4) {
        if (c4 == 1) return HandType::Bomb;
        return c3 == 1 ? HandType::TripleWithOne : HandType::Invalid;
    }
    switch (n) {
        case 5:
            if (c3 == 1 && c2 == 1) return HandType::TripleWithPair;
            break;
        case 6:
            if (c4 == 1 && c1 == 2) return HandType::FourWithTwo;
            break;
        case 8:
            if (planeWithWings(r, 2, 1)) return HandType::PlaneWithTwo;
            if (c4 == 1 && c2 == 2) return HandType::FourWithTwoPairs;
            break;
        case 10:
            if (planeWithWings(r, 2, 2)) return HandType::PlaneWithTwoPairs;
            break;
        case 12:
            if (planeWithWings(r, 3, 1)) return HandType::Plane3WithThree;
            break;
        case 15:
            if (planeWithWings(r, 3, 2)) return HandType::Plane3WithThreePairs;
            break;
        case 16:
            if (planeWithWings(r, 4, 1)) return HandType::Plane4WithFour;
            break;
        case 20:
            if (planeWithWings(r, 4, 2)) return HandType::Plane4WithFourPairs;
            if (planeWithWings(r, 5, 1)) return HandType::Plane5WithFive;
            break;
        default:
            break;
    }
    if (groups > 4 && c1 == groups && isRun(r.size[1])) return HandType::Straight;
    if (groups > 2 && c2 == groups && isRun(r.size[2])) return HandType::PairSequence;
    if (groups >= 2 && c3 == groups && isRun(r.size[3])) return HandType::Plane;
    return HandType::Invalid;
}

int keyValue(CardMask cards) {
    const RankMasks r = rankMasks(cards);
    for (int s = 4; s >= 1; --s) {
        if (r.size[s] != 0) return topValue(r.size[s]);
    }
    return -1;
}

int compareMasks(CardMask newHand, HandType newType, CardMask tableHand, HandType tableType) {
    if (newHand == 0 || tableHand == 0 || newType == HandType::Invalid) return 0;
    if (newType == HandType::Rocket) return kRocketBeats;
    if (newType == tableType) {
        if (std::popcount(newHand) != std::popcount(tableHand)) return 0;
        return keyValue(newHand) - keyValue(tableHand);
    }
    if (newType == HandType::Bomb) return 1;
    if (tableType == HandType::Bomb) return -1;
    return 0;
}

}  // namespace detail

HandType ClassifyHand(std::string_view cards) {
    detail::CardMask mask = 0;
    if (!detail::parseCards(cards, mask)) return HandType::Invalid;
    return detail::classifyMask(mask);
}

int CompareHands(std::string_view newHand, std::string_view tableHand) {
    detail::CardMask n = 0;
    detail::CardMask t = 0;
    if (!detail::parseCards(newHand, n) || !detail::parseCards(tableHand, t)) return 0;
    if (n == 0 || t == 0) return 0;
    return detail::compareMasks(n, detail::classifyMask(n), t, detail::classifyMask(t));
}

}  // namespace velmora::lord
