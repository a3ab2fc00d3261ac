#include "rules/deal.h"

#include <array>
#include <limits>

#include "rules/cards.h"
#include "rules/cardset.h"

namespace velmora::lord {

SeededRandom SeededRandom::fromEntropy() {
    std::random_device device;
    std::array<std::uint32_t, 8> words{};
    for (auto& w : words) w = device();
    std::seed_seq seq(words.begin(), words.end());
    return SeededRandom(seq);
}

std::uint64_t DrawBelow(RandomSource& random, std::uint64_t bound) {
    if (bound <= 1) return 0;
    // Values below `threshold` would make some results more likely; draw again for them.
    const std::uint64_t threshold = (std::numeric_limits<std::uint64_t>::max() - bound + 1) % bound;
    for (;;) {
        const std::uint64_t r = random.next();
        if (r >= threshold) return r % bound;
    }
}

std::string ShuffleCards(std::string_view cards, RandomSource& random) {
    std::string rest(cards);
    std::string out;
    out.reserve(rest.size());
    while (!rest.empty()) {
        const auto p = static_cast<std::size_t>(DrawBelow(random, rest.size()));
        out.push_back(rest[p]);
        rest.erase(p, 1);
    }
    return out;
}

Dealer::Dealer(RandomSource& random) : m_random(random), m_deck(InitialDeck) {}

bool Dealer::setDeck(std::string_view deck) {
    if (deck.size() != static_cast<std::size_t>(kDeckSize)) return false;
    std::uint64_t seen = 0;
    for (char c : deck) {
        const int index = CardIndex(c);
        if (index < 0 || (seen >> index) & 1u) return false;
        seen |= std::uint64_t{1} << index;
    }
    m_deck.assign(deck);
    return true;
}

Deal Dealer::DealCards() {
    for (int pass = 0; pass < 3; ++pass) m_deck = ShuffleCards(m_deck, m_random);
    Deal deal;
    for (int seat = 0; seat < 3; ++seat)
        deal.hands[static_cast<std::size_t>(seat)] =
            m_deck.substr(static_cast<std::size_t>(seat * kHandSize), kHandSize);
    for (int i = 0; i < kBottomSize; ++i)
        deal.bottomCards[static_cast<std::size_t>(i)] =
            m_deck.substr(static_cast<std::size_t>(3 * kHandSize + i), 1);
    return deal;
}

}  // namespace velmora::lord
