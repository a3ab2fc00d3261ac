// Shuffle and deal: conservation, seeded replay, uniform draws.

#include "rules/deal.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>

#include "rules/cards.h"

namespace velmora::lord {
namespace {

std::string sorted(std::string s) {
    std::sort(s.begin(), s.end());
    return s;
}

TEST(Deal, ConservesTheDeckOverManyDeals) {
    SeededRandom random(2024);
    Dealer dealer(random);
    const std::string full = sorted(std::string(InitialDeck));
    for (int game = 0; game < 200; ++game) {
        const Deal d = dealer.DealCards();
        std::string all;
        for (const auto& hand : d.hands) {
            ASSERT_EQ(hand.size(), 17u);
            all += hand;
        }
        for (const auto& bottom : d.bottomCards) {
            ASSERT_EQ(bottom.size(), 1u);
            all += bottom;
        }
        ASSERT_EQ(sorted(all), full);
        // The deal is the kept deck cut in order.
        ASSERT_EQ(all, dealer.deck());
    }
}

TEST(Deal, FixedSeedReplaysAndSeedsDiffer) {
    SeededRandom a(7), b(7), c(8);
    Dealer da(a), db(b), dc(c);
    const Deal first = da.DealCards();
    EXPECT_EQ(first.hands, db.DealCards().hands);
    EXPECT_NE(first.hands, dc.DealCards().hands);
    // The next deal starts from the kept deck, not from a fresh one.
    EXPECT_NE(da.DealCards().hands, first.hands);
}

TEST(Deal, EntropySeededGeneratorsDiffer) {
    SeededRandom a = SeededRandom::fromEntropy();
    SeededRandom b = SeededRandom::fromEntropy();
    EXPECT_NE(ShuffleCards(InitialDeck, a), ShuffleCards(InitialDeck, b));
}

TEST(Deal, SetDeckAcceptsOnlyPermutations) {
    SeededRandom random(1);
    Dealer dealer(random);
    std::string reversed(InitialDeck.rbegin(), InitialDeck.rend());
    EXPECT_TRUE(dealer.setDeck(reversed));
    EXPECT_EQ(dealer.deck(), reversed);
    std::string repeated = reversed;
    repeated[0] = repeated[1];
    EXPECT_FALSE(dealer.setDeck(repeated));
    EXPECT_FALSE(dealer.setDeck(reversed.substr(1)));
    EXPECT_FALSE(dealer.setDeck(reversed.substr(1) + "?"));
    EXPECT_EQ(dealer.deck(), reversed);
}

TEST(Shuffle, EveryPositionEquallyLikely) {
    SeededRandom random(99);
    std::array<int, 4> where{};
    const int runs = 40000;
    for (int i = 0; i < runs; ++i) ++where[ShuffleCards("ABCD", random).find('A')];
    for (int count : where) {
        EXPECT_GT(count, runs / 4 * 95 / 100);
        EXPECT_LT(count, runs / 4 * 105 / 100);
    }
    EXPECT_EQ(ShuffleCards("", random), "");
}

TEST(Shuffle, DrawBelowStaysInRange) {
    SeededRandom random(3);
    EXPECT_EQ(DrawBelow(random, 0), 0u);
    EXPECT_EQ(DrawBelow(random, 1), 0u);
    const std::uint64_t bound = (std::uint64_t{1} << 63) + 12345;  // most draws are rejected
    for (int i = 0; i < 1000; ++i) EXPECT_LT(DrawBelow(random, bound), bound);
    for (int i = 0; i < 1000; ++i) EXPECT_LT(DrawBelow(random, 54), 54u);
}

}  // namespace
}  // namespace velmora::lord
