#pragma once
// Helpers shared by the rules tests: seeded random hands and card strings written by rank.

#include <cstdint>
#include <string>

#include "rules/cards.h"
#include "rules/deal.h"

namespace velmora::lord::testing {

// `count` distinct cards of a shuffled deck, from a seeded generator.
inline std::string randomHand(RandomSource& random, int count,
                              std::string_view from = InitialDeck) {
    return ShuffleCards(from, random).substr(0, static_cast<std::size_t>(count));
}

// Cards written by rank: "3" .. "9", "T" ten, "J", "Q", "K", "A", "2", "s" small joker, "b" big
// joker. Each occurrence takes the next free suit of that rank (spades, hearts, clubs, diamonds).
inline std::string cards(std::string_view ranks) {
    const std::string_view names = "A23456789TJQK";
    int used[13] = {};
    std::string out;
    for (char r : ranks) {
        if (r == ' ' || r == '+') continue;
        if (r == 's') {
            out += '0';
            continue;
        }
        if (r == 'b') {
            out += '1';
            continue;
        }
        const auto rank = names.find(r);
        if (rank == std::string_view::npos) return "?";
        const int suit = used[rank]++;
        out += CardIndexOrder[static_cast<std::size_t>(suit * 13) + rank];
    }
    return out;
}

}  // namespace velmora::lord::testing
