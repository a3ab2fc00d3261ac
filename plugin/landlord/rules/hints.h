#pragma once
// Candidates of the auto-select (hint) button.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "rules/cards.h"

namespace velmora::lord {

enum class HintAction : std::uint8_t {
    Nothing,  // the press does nothing and nothing is cached
    Pass,     // the press takes the pass action
    Select,   // the list holds candidates; the first press selects the first one
};

// Fixed-capacity result: building it never touches the heap.
class HintList {
public:
    // More than any 20-card hand can yield (at most 15 groups, 5 bombs and the rocket).
    static constexpr int kCapacity = 40;

    HintAction action() const { return m_action; }
    int size() const { return m_count; }
    bool empty() const { return m_count == 0; }
    std::string_view operator[](int i) const {
        const auto& c = m_items[static_cast<std::size_t>(i)];
        return {c.cards.data(), c.size};
    }
    std::vector<std::string> toStrings() const;

    void setAction(HintAction action) { m_action = action; }
    // False (and nothing added) when full or the cards are longer than a hand.
    bool push(std::string_view cards);

private:
    struct Item {
        std::array<char, kMaxHandCards> cards{};
        std::uint8_t size = 0;
    };
    HintAction m_action = HintAction::Nothing;
    int m_count = 0;
    std::array<Item, kCapacity> m_items{};
};

// The candidates for the own hand against the table hand, in the order the button cycles them.
// The hand is taken in display order (SortCards, strongest first) whatever order it is given in.
// A hand or table hand that is not a valid card set gives Nothing.
HintList BuildHints(std::string_view hand, std::string_view tableHand);

// One press of the auto-select button: the index of the candidate to select, and the counter
// moves on; -1 (and the counter unchanged) while the counter is 0 or there is no candidate.
int NextHint(int& counter, int candidateCount);

}  // namespace velmora::lord
