#include "rules/playcheck.h"

#include "rules/cards.h"
#include "rules/handtype.h"

namespace velmora::lord {

std::string_view PlayErrorText(PlayError error) {
    switch (error) {
        case PlayError::None:
            return {};
        case PlayError::Internal:
            return "内部错误";
        case PlayError::NotYourTurn:
            return "未轮到出牌";
        case PlayError::NothingSelected:
            return "请选择要出的牌";
        case PlayError::WrongType:
            return "类型不配";
        case PlayError::TooSmall:
            return "太小";
    }
    return "内部错误";
}

PlayError CheckPlay(const PlayState& state, int seat, std::string_view cards) {
    if (!state.inProgress) return PlayError::None;
    for (const auto& hand : state.hands) {
        if (hand.empty()) return PlayError::Internal;
    }
    if (seat < 0 || seat > 2 || seat != state.turnSeat) return PlayError::NotYourTurn;
    if (cards.empty()) return PlayError::NothingSelected;
    if (!ContainsCards(state.hands[static_cast<std::size_t>(seat)], cards))
        return PlayError::Internal;
    detail::CardMask mask = 0;
    detail::parseCards(cards, mask);  // cannot fail: ContainsCards accepted the cards
    const HandType type = detail::classifyMask(mask);
    if (type == HandType::Invalid) return PlayError::WrongType;
    if (seat != state.leadSeat) {
        detail::CardMask table = 0;
        // A table hand that is no valid card set can be beaten by nothing.
        const bool tableValid = detail::parseCards(state.tableHand, table);
        const HandType tableType = tableValid ? detail::classifyMask(table) : HandType::Invalid;
        if (type != HandType::Bomb && type != HandType::Rocket && type != tableType)
            return PlayError::WrongType;
        if (tableType == HandType::Rocket || !tableValid ||
            detail::compareMasks(mask, type, table, tableType) <= 0)
            return PlayError::TooSmall;
    }
    return PlayError::None;
}

}  // namespace velmora::lord
