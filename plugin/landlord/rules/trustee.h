#pragma once
// What the automatic player (trustee mode) does in its own turn, as a pure function of the state
// it reads.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace velmora::lord {

enum class TrusteeMove : std::uint8_t {
    Wait,  // nothing happens; the game host's forced move will follow
    Bid,   // send the bid `bidValue`
    Play,  // play `cards` (they have passed CheckPlay)
    Pass,
};

struct TrusteeChoice {
    TrusteeMove move = TrusteeMove::Wait;
    int bidValue = 0;
    std::string cards;
};

inline constexpr int kNoBid = 4;

struct TrusteeState {
    bool biddingPhase = false;
    bool playPhase = false;  // the play proper (not the grab or double phase)
    int ownSeat = 0;
    int turnSeat = 0;
    int leadSeat = 0;
    int landlordSeat = 0;
    std::array<std::string_view, 3> hands;
    std::string_view tableHand;
    // The own hand row's grouped display mode (otherwise the rank mode).
    bool groupedDisplay = false;
    // The auto-select counter (1 after the table view was refreshed with the play button shown).
    int hintCounter = 1;
};

TrusteeChoice ChooseTrusteeMove(const TrusteeState& state);

}  // namespace velmora::lord
