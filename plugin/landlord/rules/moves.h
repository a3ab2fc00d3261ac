#pragma once
// Enumeration of every legal play of a hand against a table hand. Plays that differ only in the
// suits of their cards are one play (the rules look at ranks only), so a play is a count of
// cards per rank.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "rules/handtype.h"

namespace velmora::lord {

struct Play {
    // Four bits per rank value (0 = three .. 12 = two, 13 small joker, 14 big joker).
    std::uint64_t counts = 0;
    HandType type = HandType::Invalid;

    int count(int value) const { return static_cast<int>((counts >> (4 * value)) & 0xF); }
    friend bool operator==(const Play&, const Play&) = default;
};

// Every play that CheckPlay accepts for the seat in turn holding `hand`, when the other hands
// are not empty: with `leading` any valid hand, otherwise a hand that beats `tableHand`.
// Each play once, grouped by type. `out` is cleared first and keeps its capacity, so a reused
// vector makes the enumeration allocation-free. Nothing for a hand that is no valid card set.
void EnumeratePlays(std::string_view hand, std::string_view tableHand, bool leading,
                    std::vector<Play>& out);

// Counting only, without storing the plays.
int CountPlays(std::string_view hand, std::string_view tableHand, bool leading);

// The cards of the hand that make the play: for every rank the first cards in display order,
// strongest rank first. Empty when the hand does not hold the play.
std::string PlayCards(std::string_view hand, const Play& play);

}  // namespace velmora::lord
