#pragma once
// The rule checks of a play against the game state.

#include <array>
#include <cstdint>
#include <string_view>

namespace velmora::lord {

enum class PlayError : std::uint8_t {
    None = 0,      // the play is allowed
    Internal = 1,  // a hand is already empty, or the cards are not all in the seat's hand
    NotYourTurn = 2,
    NothingSelected = 3,
    WrongType = 4,  // no hand, or a hand of another type than the table hand
    TooSmall = 5,   // does not beat the table hand
};

// The text shown on the play button; empty for None.
std::string_view PlayErrorText(PlayError error);

// What CheckPlay reads of the game state. Seats are 0..2; any other seat number never has the
// turn nor the lead.
struct PlayState {
    bool inProgress = true;
    std::array<std::string_view, 3> hands;
    int turnSeat = 0;
    int leadSeat = 0;  // the seat that played tableHand (the landlord before the first play)
    std::string_view tableHand;
};

// First failing check wins. Without a game in progress nothing is checked.
PlayError CheckPlay(const PlayState& state, int seat, std::string_view cards);

}  // namespace velmora::lord
