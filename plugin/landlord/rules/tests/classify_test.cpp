// Card helpers, classification and comparison against literal cases.

#include <gtest/gtest.h>

#include "rules/cards.h"
#include "rules/handtype.h"
#include "testhelpers.h"

namespace velmora::lord {
namespace {

using testing::cards;

struct ClassifyCase {
    const char* ranks;  // written by rank, see testing::cards
    HandType expected;
};

class ClassifyTable : public ::testing::TestWithParam<ClassifyCase> {};

TEST_P(ClassifyTable, GivesTheType) {
    const auto& c = GetParam();
    const std::string hand = cards(c.ranks);
    EXPECT_EQ(ClassifyHand(hand), c.expected)
        << c.ranks << " -> " << HandTypeName(ClassifyHand(hand));
    // Order of the codes never matters.
    const std::string reversed(hand.rbegin(), hand.rend());
    EXPECT_EQ(ClassifyHand(reversed), c.expected) << c.ranks;
}

INSTANTIATE_TEST_SUITE_P(
    AllTypesAndEdges, ClassifyTable,
    ::testing::Values(
        ClassifyCase{"", HandType::Invalid}, ClassifyCase{"3", HandType::Single},
        ClassifyCase{"b", HandType::Single}, ClassifyCase{"sb", HandType::Rocket},
        ClassifyCase{"bs", HandType::Rocket}, ClassifyCase{"s2", HandType::Invalid},
        ClassifyCase{"33", HandType::Pair}, ClassifyCase{"34", HandType::Invalid},
        ClassifyCase{"222", HandType::Triple}, ClassifyCase{"334", HandType::Invalid},
        ClassifyCase{"3333", HandType::Bomb}, ClassifyCase{"3334", HandType::TripleWithOne},
        ClassifyCase{"3344", HandType::Invalid}, ClassifyCase{"33334", HandType::Invalid},
        ClassifyCase{"33344", HandType::TripleWithPair}, ClassifyCase{"33345", HandType::Invalid},
        ClassifyCase{"333344", HandType::Invalid}, ClassifyCase{"333345", HandType::FourWithTwo},
        ClassifyCase{"3333sb", HandType::FourWithTwo},
        ClassifyCase{"33334455", HandType::FourWithTwoPairs},
        ClassifyCase{"33334444", HandType::Invalid}, ClassifyCase{"34567", HandType::Straight},
        ClassifyCase{"TJQKA", HandType::Straight}, ClassifyCase{"JQKA2", HandType::Invalid},
        ClassifyCase{"KA234", HandType::Invalid}, ClassifyCase{"TJQKs", HandType::Invalid},
        ClassifyCase{"3456789TJQKA", HandType::Straight},
        ClassifyCase{"334455", HandType::PairSequence}, ClassifyCase{"3344", HandType::Invalid},
        ClassifyCase{"QQKKAA", HandType::PairSequence}, ClassifyCase{"KKAA22", HandType::Invalid},
        ClassifyCase{"33445566778899TTJJQQ", HandType::PairSequence},
        ClassifyCase{"333444", HandType::Plane}, ClassifyCase{"333555", HandType::Invalid},
        ClassifyCase{"KKKAAA", HandType::Plane}, ClassifyCase{"AAA222", HandType::Invalid},
        ClassifyCase{"333444555666777888", HandType::Plane},
        ClassifyCase{"33344456", HandType::PlaneWithTwo},
        ClassifyCase{"33344455", HandType::Invalid},  // a pair as the two wings
        ClassifyCase{"33334445", HandType::Invalid},  // a wing card of a triple's rank
        ClassifyCase{"333444sb", HandType::PlaneWithTwo},
        ClassifyCase{"3334445566", HandType::PlaneWithTwoPairs},
        ClassifyCase{"3334445555", HandType::Invalid},  // a bomb as the two pairs
        ClassifyCase{"333444555789", HandType::Plane3WithThree},
        ClassifyCase{"333444555778", HandType::Invalid},
        ClassifyCase{"333444555777", HandType::Invalid},  // four triples, not one run
        ClassifyCase{"333444555667788", HandType::Plane3WithThreePairs},
        ClassifyCase{"3334445556669TJQ", HandType::Plane4WithFour},
        ClassifyCase{"333444555666778899TT", HandType::Plane4WithFourPairs},
        ClassifyCase{"3334445556667779TJQK", HandType::Plane5WithFive},
        ClassifyCase{"333444555666777999TT", HandType::Invalid}));

TEST(ClassifyHand, RejectsWhatIsNoCardSet) {
    EXPECT_EQ(ClassifyHand("AA"), HandType::Invalid);  // one card twice
    EXPECT_EQ(ClassifyHand("00"), HandType::Invalid);  // not a pair of small jokers
    EXPECT_EQ(ClassifyHand("?"), HandType::Invalid);
    EXPECT_EQ(ClassifyHand(std::string_view("A\0", 2)), HandType::Invalid);
    EXPECT_EQ(ClassifyHand("Aa\xff"), HandType::Invalid);
    // 22 cards: 11 consecutive pairs would read as a pair sequence by shape alone.
    const std::string tooLong = cards("33445566778899TTJJQQKK");
    ASSERT_EQ(tooLong.size(), 22u);
    EXPECT_EQ(ClassifyHand(tooLong), HandType::Invalid);
    EXPECT_FALSE(IsValidCardSet(tooLong));
    EXPECT_TRUE(IsValidCardSet(cards("33445566778899TTJJQQ")));
}

struct CompareCase {
    const char* newRanks;
    const char* tableRanks;
    int expected;
};

class CompareTable : public ::testing::TestWithParam<CompareCase> {};

TEST_P(CompareTable, GivesTheValue) {
    const auto& c = GetParam();
    EXPECT_EQ(CompareHands(cards(c.newRanks), cards(c.tableRanks)), c.expected)
        << c.newRanks << " on " << c.tableRanks;
}

INSTANTIATE_TEST_SUITE_P(
    BombsRocketAndLengths, CompareTable,
    ::testing::Values(CompareCase{"4", "3", 1}, CompareCase{"3", "4", -1}, CompareCase{"5", "5", 0},
                      CompareCase{"b", "s", 1}, CompareCase{"s", "2", 1}, CompareCase{"2", "A", 1},
                      CompareCase{"AA", "KK", 1}, CompareCase{"33", "5", 0},
                      CompareCase{"AAAA", "KKKK", 1}, CompareCase{"2222", "AAAA", 1},
                      CompareCase{"3333", "22", 1}, CompareCase{"22", "3333", -1},
                      CompareCase{"sb", "2222", 99}, CompareCase{"bs", "3", 99},
                      CompareCase{"3333", "sb", 1},  // CheckPlay refuses it before asking
                      CompareCase{"45678", "34567", 1}, CompareCase{"345678", "34567", 0},
                      CompareCase{"22233", "AAA44", 1}, CompareCase{"4443", "3336", 1},
                      CompareCase{"44455536", "33344478", 1}, CompareCase{"333444", "444555", -1},
                      CompareCase{"34", "3", 0}, CompareCase{"", "3", 0}, CompareCase{"3", "", 0}));

TEST(CompareHands, InvalidCardStringsCompareAsZero) {
    EXPECT_EQ(CompareHands("AA", "B"), 0);
    EXPECT_EQ(CompareHands("B", "AA"), 0);
    EXPECT_EQ(CompareHands(cards("3333"), "?"), 0);
    // A valid but unclassifiable table: only a bomb or the rocket beats it.
    EXPECT_EQ(CompareHands(cards("3333"), cards("45")), 1);
    EXPECT_EQ(CompareHands(cards("6"), cards("45")), 0);
}

TEST(CardModel, CodesIndicesRanksAndVoices) {
    EXPECT_EQ(CardIndex('A'), 0);
    EXPECT_EQ(CardIndex('z'), 51);
    EXPECT_EQ(CardIndex('0'), 52);
    EXPECT_EQ(CardIndex('1'), 53);
    EXPECT_EQ(CardIndex('2'), -1);
    EXPECT_EQ(SuitIndex('N'), 2);
    EXPECT_EQ(SuitIndex('1'), 4);
    EXPECT_EQ(RankNumber('m'), 13);
    EXPECT_EQ(RankNumber('0'), 14);
    EXPECT_EQ(RankNumber('1'), 15);
    EXPECT_EQ(CardRank("AaNn0Mmz1Zp"), "AAAA0MMM1MC");
    EXPECT_EQ(VoiceIndex('n'), 0);
    EXPECT_EQ(VoiceIndex('z'), 12);
    EXPECT_EQ(VoiceIndex('0'), 13);
    EXPECT_EQ(VoiceIndex('1'), 14);
    EXPECT_EQ(VoiceIndex('#'), -1);
}

TEST(CardModel, SortCardsFollowsDisplayOrder) {
    const std::string all = SortCards(InitialDeck, true);
    EXPECT_EQ(all, DisplayOrder);
    EXPECT_EQ(SortCards(InitialDeck, false),
              std::string(DisplayOrder.rbegin(), DisplayOrder.rend()));
    EXPECT_EQ(SortCards("pC1aB", true), "1BaCp");
    EXPECT_EQ(SortCards("p#C", true), "Cp#");  // foreign bytes stay behind
}

TEST(CardModel, GroupsKeepInputOrderAndSortBySizeThenStrength) {
    // 3s: C c P; 4: D; ace: A a; two: B
    auto groups = GroupByRank("CDcAPaB");
    EXPECT_EQ(groups, (std::vector<std::string>{"CcP", "D", "Aa", "B"}));
    SortGroups(groups);
    EXPECT_EQ(groups, (std::vector<std::string>{"CcP", "Aa", "B", "D"}));
    EXPECT_EQ(GroupOrder("CDcAPaB01"), "10CcPAaBD");
    EXPECT_EQ(GroupOrder("C0D"), "0DC");  // one joker is an ordinary single
    EXPECT_EQ(GroupOrder(""), "");
}

TEST(CardModel, DisplayComparers) {
    EXPECT_GT(CompareByRank('C', 'D'), 0);  // 3 behind 4
    EXPECT_LT(CompareByRank('1', '0'), 0);  // big joker first
    EXPECT_LT(CompareByRank('B', 'b'), 0);  // spades before hearts
    EXPECT_EQ(CompareByRank('A', 'A'), 0);
    const std::string order = GroupOrder("CcDM");  // 33 K 4
    EXPECT_LT(CompareGrouped(order, 'c', 'M'), 0);
    EXPECT_GT(CompareGrouped(order, 'D', 'M'), 0);
    EXPECT_GT(CompareGrouped(order, 'A', 'D'), 0);  // not in the order: behind
    EXPECT_EQ(CompareGrouped("", 'C', 'D'), CompareByRank('C', 'D'));
}

TEST(CardModel, ContainsAndRemove) {
    EXPECT_TRUE(ContainsCards("ABCD", "DB"));
    EXPECT_TRUE(ContainsCards("ABCD", ""));
    EXPECT_FALSE(ContainsCards("ABCD", "E"));
    EXPECT_FALSE(ContainsCards("ABCD", "AA"));  // a code cannot be used twice
    EXPECT_FALSE(ContainsCards("AB?", "?"));
    EXPECT_EQ(RemoveCards("ABCA", "AZ"), "BCA");
    EXPECT_EQ(RemoveCards("ABC", ""), "ABC");
}

}  // namespace
}  // namespace velmora::lord
