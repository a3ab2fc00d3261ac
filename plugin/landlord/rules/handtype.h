#pragma once
// Classification and comparison of hands.

#include <cstdint>
#include <string_view>

#include "rules/cardset.h"

namespace velmora::lord {

// The numbers are part of the sound tables and of the hint dispatch.
enum class HandType : std::uint8_t {
    Invalid = 0,
    Single = 1,
    Pair = 2,
    Triple = 3,
    TripleWithOne = 4,
    TripleWithPair = 5,
    Bomb = 6,
    FourWithTwo = 7,
    FourWithTwoPairs = 8,
    Straight = 9,
    PairSequence = 10,
    Plane = 11,
    PlaneWithTwo = 12,
    PlaneWithTwoPairs = 13,
    Plane3WithThree = 14,
    Plane3WithThreePairs = 15,
    Plane4WithFour = 16,
    Plane4WithFourPairs = 17,
    Plane5WithFive = 18,
    Rocket = 19,
};
inline constexpr int kHandTypeCount = 20;

std::string_view HandTypeName(HandType type);
// Inverse of HandTypeName; false for an unknown name.
bool HandTypeFromName(std::string_view name, HandType& type);

// Invalid for anything that is not a valid card set (IsValidCardSet) or not one of the shapes.
HandType ClassifyHand(std::string_view cards);

// Greater than 0 when `newHand` beats `tableHand`, 99 for a rocket, 0 when either is empty or
// not a valid card set, or the new hand is Invalid.
int CompareHands(std::string_view newHand, std::string_view tableHand);

inline constexpr int kRocketBeats = 99;

namespace detail {

HandType classifyMask(CardMask cards);
// The strongest rank of the largest group (the letter CompareHands compares), as a value.
int keyValue(CardMask cards);
int compareMasks(CardMask newHand, HandType newType, CardMask tableHand, HandType tableType);

}  // namespace detail

}  // namespace velmora::lord
