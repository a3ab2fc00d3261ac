// CheckPlay in every branch, the hint lists per table type, NextHint and the trustee.

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>

#include "rules/cards.h"
#include "rules/hints.h"
#include "rules/playcheck.h"
#include "rules/trustee.h"
#include "testhelpers.h"

namespace velmora::lord {
namespace {

using testing::cards;

// Seat 0 holds 3 44 555 6666 2 and the rocket; the other seats hold a few cards of other suits.
class PlayCheckTest : public ::testing::Test {
protected:
    void SetUp() override {
        hand0 = cards("3445556666 2sb");
        state.hands = {hand0, "Q", "R"};
        state.turnSeat = 0;
        state.leadSeat = 1;
    }
    PlayError play(std::string_view tableRanks, std::string_view ranks, int seat = 0) {
        table = cards(tableRanks);
        state.tableHand = table;
        return CheckPlay(state, seat, cards(ranks));
    }
    std::string hand0;
    std::string table;
    PlayState state;
};

TEST_F(PlayCheckTest, ChecksInOrder) {
    EXPECT_EQ(play("4", "5"), PlayError::None);
    EXPECT_EQ(play("4", "5", 1), PlayError::NotYourTurn);
    EXPECT_EQ(play("4", "5", 3), PlayError::NotYourTurn);
    EXPECT_EQ(play("4", "5", -1), PlayError::NotYourTurn);
    EXPECT_EQ(play("4", ""), PlayError::NothingSelected);
    EXPECT_EQ(play("4", "7"), PlayError::Internal);    // not in the hand
    EXPECT_EQ(play("4", "35"), PlayError::WrongType);  // no hand
    EXPECT_EQ(play("4", "44"), PlayError::WrongType);  // another type
    EXPECT_EQ(play("5", "4"), PlayError::TooSmall);
    EXPECT_EQ(play("4", "4"), PlayError::TooSmall);  // a tie does not beat
    EXPECT_EQ(play("3", "6666"), PlayError::None);   // bomb on a non-bomb
    EXPECT_EQ(play("5555", "6666"), PlayError::None);
    EXPECT_EQ(play("7777", "6666"), PlayError::TooSmall);
    EXPECT_EQ(play("2222", "44"), PlayError::WrongType);  // non-bomb on a bomb
    EXPECT_EQ(play("2222", "sb"), PlayError::None);       // the rocket on a bomb
    EXPECT_EQ(play("sb", "6666"), PlayError::TooSmall);   // nothing beats the rocket
    EXPECT_EQ(play("34567", "3456"), PlayError::WrongType);
}

TEST_F(PlayCheckTest, LongerStraightIsTooSmallNotWrongType) {
    state.hands[0] = hand0 = cards("3456789");
    EXPECT_EQ(play("34567", "456789"), PlayError::TooSmall);
    EXPECT_EQ(play("34567", "45678"), PlayError::None);
}

TEST_F(PlayCheckTest, LeaderMayPlayAnyValidHand) {
    state.leadSeat = 0;
    EXPECT_EQ(play("22", "3"), PlayError::None);            // weaker, other type: allowed
    EXPECT_EQ(play("sb", "44"), PlayError::None);           // even over its own rocket
    EXPECT_EQ(play("", "55566663"), PlayError::WrongType);  // 555 6666 3 is no hand
}

TEST_F(PlayCheckTest, EmptyHandIsInternalErrorAndNoGameChecksNothing) {
    state.hands[2] = "";
    EXPECT_EQ(play("4", "5"), PlayError::Internal);
    state.inProgress = false;
    EXPECT_EQ(play("4", "7", 2), PlayError::None);
}

TEST_F(PlayCheckTest, RepeatedOrForeignCodesAreNotInTheHand) {
    state.tableHand = "";
    state.leadSeat = 0;
    EXPECT_EQ(CheckPlay(state, 0, "CC"), PlayError::Internal);
    EXPECT_EQ(CheckPlay(state, 0, "C?"), PlayError::Internal);
}

TEST(PlayErrorText, Texts) {
    EXPECT_EQ(PlayErrorText(PlayError::None), "");
    EXPECT_EQ(PlayErrorText(PlayError::Internal), "内部错误");
    EXPECT_EQ(PlayErrorText(PlayError::NotYourTurn), "未轮到出牌");
    EXPECT_EQ(PlayErrorText(PlayError::NothingSelected), "请选择要出的牌");
    EXPECT_EQ(PlayErrorText(PlayError::WrongType), "类型不配");
    EXPECT_EQ(PlayErrorText(PlayError::TooSmall), "太小");
}

struct HintCase {
    const char* name;
    const char* handRanks;
    const char* tableRanks;
    HintAction action;
    std::vector<const char*> expected;  // by rank, see testing::cards
};

// Test names show the case, not its bytes.
void PrintTo(const HintCase& c, std::ostream* os) { *os << c.name; }

class HintTable : public ::testing::TestWithParam<HintCase> {};

TEST_P(HintTable, ListsCandidatesInOrder) {
    const auto& c = GetParam();
    // The hand is given out of display order on purpose.
    std::string hand = cards(c.handRanks);
    std::reverse(hand.begin(), hand.end());
    const HintList list = BuildHints(hand, cards(c.tableRanks));
    EXPECT_EQ(list.action(), c.action) << c.name;
    std::vector<std::string> expected;
    for (const char* e : c.expected)
        expected.push_back(e == std::string("rocket") ? "10" : cards(e));
    EXPECT_EQ(list.toStrings(), expected) << c.name;
}

// Hand "3 44 555 6666 2 s b": groups 6666, 555, 44, 2, 3 and the rocket.
constexpr const char* kHand = "3445556666 2sb";

INSTANTIATE_TEST_SUITE_P(
    EveryTableType, HintTable,
    ::testing::Values(
        HintCase{"single", kHand, "5", HintAction::Select, {"2", "6", "6666", "rocket"}},
        HintCase{"pair", kHand, "33", HintAction::Select, {"44", "55", "66", "6666", "rocket"}},
        HintCase{"triple", kHand, "444", HintAction::Select, {"555", "666", "6666", "rocket"}},
        HintCase{"single joker", "s23", "2", HintAction::Select, {"s"}},
        HintCase{"triple with one",
                 kHand,
                 "4333",
                 HintAction::Select,
                 {"5553", "6663", "6666", "rocket"}},
        HintCase{"triple with pair",
                 kHand,
                 "33344",
                 HintAction::Select,
                 {"55544", "66644", "6666", "rocket"}},
        HintCase{"bomb", kHand, "5555", HintAction::Select, {"6666", "rocket"}},
        HintCase{"stronger bomb", kHand, "7777", HintAction::Select, {"rocket"}},
        HintCase{
            "four with two", kHand, "333345", HintAction::Select, {"666632", "6666", "rocket"}},
        HintCase{"four with two pairs",
                 kHand,
                 "33334455",
                 HintAction::Select,
                 {"66664455", "6666", "rocket"}},
        // Only one pair-sized wing (taken from the four itself): the four stays bare.
        HintCase{"four with two pairs, short wing",
                 "6666347",
                 "33334455",
                 HintAction::Select,
                 {"6666", "6666"}},
        HintCase{"straight", "34567899", "34567", HintAction::Select, {"87654", "98765"}},
        HintCase{"straight, none beats", "34567899", "TJQKA", HintAction::Pass, {}},
        HintCase{
            "pair sequence", "3344556677 9", "334455", HintAction::Select, {"665544", "776655"}},
        HintCase{"plane", "4445556667", "333444", HintAction::Select, {"555444", "666555"}},
        // Plane windows run from the strongest triple.
        HintCase{"plane with two",
                 "44455566678",
                 "33344456",
                 HintAction::Select,
                 {"66655578", "55544478"}},
        HintCase{"plane with two, four first",
                 "5555666444 789",
                 "33344478",
                 HintAction::Select,
                 {"55566678", "5555"}},
        HintCase{"plane3 with three",
                 "333444555666 78 9",
                 "333444555 789",
                 HintAction::Select,
                 {"666555444789"}},
        HintCase{"larger planes build nothing", kHand, "3334445556669TJQ", HintAction::Nothing, {}},
        HintCase{"empty table builds nothing", kHand, "", HintAction::Nothing, {}},
        HintCase{"rocket on the table passes", kHand, "sb", HintAction::Pass, {}},
        HintCase{"nothing beats: pass", "345", "2", HintAction::Pass, {}}),
    [](const auto& info) {
        std::string n = info.param.name;
        for (char& ch : n)
            if (!std::isalnum(static_cast<unsigned char>(ch))) ch = '_';
        return n;
    });

TEST(BuildHints, InvalidInputBuildsNothing) {
    EXPECT_EQ(BuildHints("CC", "D").action(), HintAction::Nothing);
    EXPECT_EQ(BuildHints("C", "D?").action(), HintAction::Nothing);
}

TEST(NextHint, CyclesFromTheCounter) {
    int counter = 1;
    std::vector<int> picks;
    for (int i = 0; i < 4; ++i) picks.push_back(NextHint(counter, 3));
    EXPECT_EQ(picks, (std::vector<int>{0, 1, 2, 0}));
    EXPECT_EQ(counter, 5);
    int off = 0;
    EXPECT_EQ(NextHint(off, 3), -1);
    EXPECT_EQ(off, 0);
    int one = 1;
    EXPECT_EQ(NextHint(one, 0), -1);
}

class TrusteeTest : public ::testing::Test {
protected:
    TrusteeChoice choose() {
        state.hands = {h[0], h[1], h[2]};
        state.tableHand = table;
        return ChooseTrusteeMove(state);
    }
    std::array<std::string, 3> h = {cards("33 5 K"), cards("4 9"), cards("7 8")};
    std::string table;
    TrusteeState state = [] {
        TrusteeState s;
        s.playPhase = true;
        return s;
    }();
};

TEST_F(TrusteeTest, DeclinesToBidAndWaitsOutsideItsTurn) {
    state.biddingPhase = true;
    auto c = choose();
    EXPECT_EQ(c.move, TrusteeMove::Bid);
    EXPECT_EQ(c.bidValue, 4);
    state.biddingPhase = false;
    state.turnSeat = 1;
    EXPECT_EQ(choose().move, TrusteeMove::Wait);
}

TEST_F(TrusteeTest, LeaderPlaysWholeHandOrItsLastCard) {
    EXPECT_EQ(choose().cards, std::string(1, cards("33")[1]));  // weakest card: the second 3
    state.groupedDisplay = true;
    EXPECT_EQ(choose().cards, cards("5"));  // grouped: 33 K 5
    h[0] = cards("345678");
    auto c = choose();
    EXPECT_EQ(c.move, TrusteeMove::Play);
    EXPECT_EQ(c.cards, h[0]);
}

TEST_F(TrusteeTest, PartnerLeadsPassUnlessWholeHandBeatsIt) {
    state.ownSeat = state.turnSeat = 1;
    state.landlordSeat = 0;
    state.leadSeat = 2;
    table = cards("5");
    EXPECT_EQ(choose().move, TrusteeMove::Pass);  // 4 9 is no hand
    h[1] = cards("K");
    auto c = choose();
    EXPECT_EQ(c.move, TrusteeMove::Play);
    EXPECT_EQ(c.cards, cards("K"));
}

TEST_F(TrusteeTest, AgainstTheLandlordUsesAutoSelect) {
    state.ownSeat = state.turnSeat = 1;
    state.landlordSeat = state.leadSeat = 0;
    table = cards("6");
    auto c = choose();
    EXPECT_EQ(c.move, TrusteeMove::Play);
    EXPECT_EQ(c.cards, cards("9"));
    table = cards("2");
    EXPECT_EQ(choose().move, TrusteeMove::Pass);  // no candidate: auto-select passes
    table = cards("3334445556669TJQ");
    EXPECT_EQ(choose().move, TrusteeMove::Wait);  // builds nothing: wait for the forced pass
}

TEST_F(TrusteeTest, LandlordPlaysTheCandidateOfTheCounter) {
    state.leadSeat = 1;
    h[0] = cards("5 7 K");
    table = cards("4");
    EXPECT_EQ(choose().cards, cards("5"));
    state.hintCounter = 2;
    EXPECT_EQ(choose().cards, cards("7"));
    state.hintCounter = 0;
    EXPECT_EQ(choose().move, TrusteeMove::Wait);
}

}  // namespace
}  // namespace velmora::lord
