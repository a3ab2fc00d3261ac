#pragma once
// A plain transcription of the rules' string algorithms (searches in order strings, group lists
// merged by walking backwards, selection sort of groups), kept only to cross-check the fast
// rank-count code of the library. Valid card sets only.

#include <string>
#include <vector>

#include "rules/handtype.h"
#include "rules/hints.h"

namespace velmora::lord::reference {

std::string cardRank(const std::string& cards);
std::vector<std::string> groupByRank(const std::string& cards);
void sortGroups(std::vector<std::string>& groups);
HandType classifyHand(const std::string& cards);
int compareHands(const std::string& newHand, const std::string& tableHand);

struct Hints {
    HintAction action = HintAction::Nothing;
    std::vector<std::string> candidates;
};
Hints buildHints(const std::string& hand, const std::string& tableHand);

}  // namespace velmora::lord::reference
