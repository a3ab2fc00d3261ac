#include "rules/trustee.h"

#include "rules/cards.h"
#include "rules/handtype.h"
#include "rules/hints.h"
#include "rules/playcheck.h"

namespace velmora::lord {

namespace {

TrusteeChoice playIfAllowed(const PlayState& play, int seat, std::string_view cards) {
    // The play press goes through the play button, which is enabled only for a valid selection.
    TrusteeChoice choice;
    if (CheckPlay(play, seat, cards) == PlayError::None) {
        choice.move = TrusteeMove::Play;
        choice.cards.assign(cards);
    }
    return choice;
}

TrusteeChoice autoSelectAndPlay(const TrusteeState& state, const PlayState& play,
                                std::string_view hand) {
    const HintList hints = BuildHints(hand, state.tableHand);
    TrusteeChoice choice;
    if (hints.action() == HintAction::Pass) {
        choice.move = TrusteeMove::Pass;
        return choice;
    }
    if (hints.action() == HintAction::Nothing) return choice;
    int counter = state.hintCounter;
    const int index = NextHint(counter, hints.size());
    if (index < 0) return choice;
    return playIfAllowed(play, state.ownSeat, hints[index]);
}

}  // namespace

TrusteeChoice ChooseTrusteeMove(const TrusteeState& state) {
    TrusteeChoice choice;
    if (state.ownSeat < 0 || state.ownSeat > 2 || state.turnSeat != state.ownSeat) return choice;
    if (state.biddingPhase) {
        choice.move = TrusteeMove::Bid;
        choice.bidValue = kNoBid;
        return choice;
    }
    if (!state.playPhase) return choice;

    PlayState play;
    play.inProgress = true;
    play.hands = state.hands;
    play.turnSeat = state.turnSeat;
    play.leadSeat = state.leadSeat;
    play.tableHand = state.tableHand;
    const std::string_view hand = state.hands[static_cast<std::size_t>(state.ownSeat)];

    if (state.leadSeat == state.ownSeat) {
        if (CheckPlay(play, state.ownSeat, hand) == PlayError::None)
            return playIfAllowed(play, state.ownSeat, hand);
        const std::string ordered =
            state.groupedDisplay ? GroupOrder(SortCards(hand, true)) : SortCards(hand, true);
        if (ordered.empty()) return choice;
        return playIfAllowed(play, state.ownSeat,
                             std::string_view(ordered).substr(ordered.size() - 1));
    }
    const bool partnerLeads =
        state.ownSeat != state.landlordSeat && state.leadSeat != state.landlordSeat;
    if (partnerLeads && CompareHands(hand, state.tableHand) < 1) {
        choice.move = TrusteeMove::Pass;
        return choice;
    }
    return autoSelectAndPlay(state, play, hand);
}

}  // namespace velmora::lord
