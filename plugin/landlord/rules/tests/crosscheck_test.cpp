// The fast rank-count code against the plain transcription of the string algorithms, and the
// legal-play enumeration against a brute force over CheckPlay.

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <map>
#include <set>

#include "reference.h"
#include "rules/handtype.h"
#include "rules/hints.h"
#include "rules/moves.h"
#include "rules/playcheck.h"
#include "testhelpers.h"

namespace velmora::lord {
namespace {

using testing::cards;
using testing::randomHand;

std::string subset(const std::string& hand, std::uint32_t mask) {
    std::string out;
    for (std::size_t i = 0; i < hand.size(); ++i)
        if ((mask >> i) & 1u) out += hand[i];
    return out;
}

// A hand rich in triples, bombs and pairs: random ranks with 1 to 4 cards each.
std::string structuredHand(RandomSource& random, int target) {
    std::string deck = ShuffleCards(InitialDeck, random);
    std::string out;
    std::string ranks = CardRank(deck);
    while (static_cast<int>(out.size()) < target && !deck.empty()) {
        const char rank = ranks[0];
        int want = 1 + static_cast<int>(DrawBelow(random, 4));
        std::string keep, keepRanks;
        for (std::size_t i = 0; i < deck.size(); ++i) {
            if (ranks[i] == rank && want > 0 && static_cast<int>(out.size()) < target) {
                out += deck[i];
                --want;
            } else if (ranks[i] != rank) {
                keep += deck[i];
                keepRanks += ranks[i];
            }
        }
        deck = keep;
        ranks = keepRanks;
    }
    return ShuffleCards(out, random);
}

void expectSameClassification(const std::string& hand, std::uint32_t mask) {
    const std::string s = subset(hand, mask);
    const HandType fast = ClassifyHand(s);
    const HandType slow = reference::classifyHand(s);
    ASSERT_EQ(fast, slow) << "cards " << s << " fast " << HandTypeName(fast) << " reference "
                          << HandTypeName(slow);
}

TEST(ClassifyCrossCheck, EverySubsetOfPlaneRichHands) {
    SeededRandom random(11);
    // Five consecutive triples with five singles, and four triples with four pairs: between
    // them every hand type occurs among the subsets.
    const std::vector<std::string> hands = {
        ShuffleCards(cards("333444555666777 9TJQK"), random),
        ShuffleCards(cards("333444555666 778899TT"), random),
    };
    std::set<HandType> seen;
    for (const auto& hand : hands) {
        ASSERT_EQ(hand.size(), 20u);
        for (std::uint32_t mask = 0; mask < (1u << 20); ++mask) {
            expectSameClassification(hand, mask);
            if (::testing::Test::HasFatalFailure()) return;
            seen.insert(ClassifyHand(subset(hand, mask)));
        }
    }
    // All but the types that need a four or both jokers.
    EXPECT_EQ(seen.size(), static_cast<std::size_t>(kHandTypeCount - 4));
}

TEST(ClassifyCrossCheck, SampledSubsetsOfRandomHands) {
    SeededRandom random(12);
    std::set<HandType> seen;
    for (int h = 0; h < 300; ++h) {
        const std::string hand = h % 2 ? randomHand(random, 20) : structuredHand(random, 20);
        for (int k = 0; k < 2000; ++k) {
            // Every size equally often, so that short hands (the rocket) occur too.
            const auto size = 1 + static_cast<int>(DrawBelow(random, 20));
            std::uint32_t mask = 0;
            while (std::popcount(mask) < size) mask |= 1u << DrawBelow(random, 20);
            expectSameClassification(hand, mask);
            if (::testing::Test::HasFatalFailure()) return;
            seen.insert(ClassifyHand(subset(hand, mask)));
        }
    }
    for (auto type :
         {HandType::Bomb, HandType::Rocket, HandType::FourWithTwo, HandType::FourWithTwoPairs})
        EXPECT_TRUE(seen.count(type)) << HandTypeName(type);
}

// Plays of every type, as card strings, drawn from structured hands.
std::vector<std::string> samplePlays(RandomSource& random, int hands) {
    std::vector<std::string> out;
    std::vector<Play> plays;
    for (int h = 0; h < hands; ++h) {
        const std::string hand = structuredHand(random, 20);
        EnumeratePlays(hand, {}, true, plays);
        for (const auto& p : plays) {
            if (p.type == HandType::Single || DrawBelow(random, 8) == 0)
                out.push_back(PlayCards(hand, p));
        }
    }
    return out;
}

TEST(CompareCrossCheck, RandomPairsOfPlays) {
    SeededRandom random(13);
    const auto plays = samplePlays(random, 40);
    ASSERT_GT(plays.size(), 200u);
    for (int i = 0; i < 200000; ++i) {
        const auto& a = plays[DrawBelow(random, plays.size())];
        const auto& b = plays[DrawBelow(random, plays.size())];
        ASSERT_EQ(CompareHands(a, b), reference::compareHands(a, b)) << a << " vs " << b;
    }
    EXPECT_EQ(CompareHands("", "C"), 0);
    EXPECT_EQ(CompareHands("C", ""), 0);
}

TEST(HintsCrossCheck, RandomHandsAgainstTablesOfEveryType) {
    SeededRandom random(14);
    std::map<HandType, std::vector<std::string>> tables;
    std::vector<Play> plays;
    for (int h = 0; h < 60; ++h) {
        const std::string source = structuredHand(random, 20);
        EnumeratePlays(source, {}, true, plays);
        for (const auto& p : plays) {
            auto& list = tables[p.type];
            if (list.size() < 200) list.push_back(PlayCards(source, p));
        }
    }
    tables[HandType::Rocket].push_back("10");
    tables[HandType::Plane4WithFour].push_back(cards("333444555666 9TJQ"));
    tables[HandType::Plane4WithFourPairs].push_back(cards("333444555666 778899TT"));
    tables[HandType::Plane5WithFive].push_back(cards("333444555666777 9TJQK"));
    for (int t = 1; t < kHandTypeCount; ++t)
        ASSERT_FALSE(tables[static_cast<HandType>(t)].empty())
            << HandTypeName(static_cast<HandType>(t));

    std::map<HandType, int> withCandidates;
    for (int i = 0; i < 40000; ++i) {
        const auto type = static_cast<HandType>(1 + DrawBelow(random, kHandTypeCount - 1));
        const auto& list = tables[type];
        const std::string table = list[DrawBelow(random, list.size())];
        std::string rest = RemoveCards(InitialDeck, table);
        const int size = 17 + static_cast<int>(DrawBelow(random, 4));
        const std::string hand =
            i % 2 ? randomHand(random, size, rest) : structuredHand(random, size);
        const HintList fast = BuildHints(hand, table);
        const reference::Hints slow = reference::buildHints(hand, table);
        ASSERT_EQ(fast.action(), slow.action) << hand << " / " << table;
        ASSERT_EQ(fast.toStrings(), slow.candidates) << hand << " / " << table;
        if (fast.size() > 1) ++withCandidates[type];
    }
    // Every type that builds candidates did build several in some cases.
    for (auto type :
         {HandType::Single, HandType::Pair, HandType::Triple, HandType::TripleWithOne,
          HandType::TripleWithPair, HandType::Bomb, HandType::FourWithTwo,
          HandType::FourWithTwoPairs, HandType::Straight, HandType::PairSequence, HandType::Plane,
          HandType::PlaneWithTwo, HandType::PlaneWithTwoPairs, HandType::Plane3WithThree})
        EXPECT_GT(withCandidates[type], 0) << HandTypeName(type);
}

std::uint64_t rankCounts(const std::string& cardsText) {
    std::uint64_t counts = 0;
    for (char c : cardsText) {
        const int r = RankNumber(c);
        const int value = r == 1 ? 11 : r == 2 ? 12 : r >= 14 ? r - 1 : r - 3;
        counts += std::uint64_t{1} << (4 * value);
    }
    return counts;
}

TEST(LegalPlays, EqualBruteForceOverCheckPlay) {
    SeededRandom random(15);
    std::vector<Play> plays;
    const auto tables = samplePlays(random, 10);
    for (int i = 0; i < 60; ++i) {
        const int size = 10 + static_cast<int>(DrawBelow(random, 5));
        const std::string hand = i % 2 ? structuredHand(random, size) : randomHand(random, size);
        const bool leading = i % 3 == 0;
        const std::string table = tables[DrawBelow(random, tables.size())];
        PlayState state;
        state.hands = {hand, "C", "D"};
        state.turnSeat = 0;
        state.leadSeat = leading ? 0 : 2;
        state.tableHand = table;
        std::set<std::uint64_t> expected;
        for (std::uint32_t mask = 1; mask < (1u << hand.size()); ++mask) {
            const std::string s = subset(hand, mask);
            if (CheckPlay(state, 0, s) == PlayError::None) expected.insert(rankCounts(s));
        }
        EnumeratePlays(hand, table, leading, plays);
        std::set<std::uint64_t> got;
        for (const auto& p : plays) {
            EXPECT_TRUE(got.insert(p.counts).second) << "play listed twice for " << hand;
            const std::string c = PlayCards(hand, p);
            EXPECT_EQ(ClassifyHand(c), p.type) << c;
        }
        EXPECT_EQ(got, expected) << "hand " << hand << " table " << table << " leading " << leading;
        EXPECT_EQ(CountPlays(hand, table, leading), static_cast<int>(plays.size()));
    }
}

}  // namespace
}  // namespace velmora::lord
