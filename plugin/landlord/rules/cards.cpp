#include "rules/cards.h"

#include <algorithm>

#include "rules/cardset.h"

namespace velmora::lord {

namespace {

// Position in StrengthOrder of a code's rank, 15 (behind every rank) for a byte that is no card.
int strengthPos(char code) {
    const int bit = detail::bitOf(code);
    if (bit == detail::kNoBit) return 15;
    return detail::kBigJokerValue - detail::valueOfBit(bit);
}

int displayPos(char code) {
    return detail::kTables.displayPos[static_cast<unsigned char>(code)];
}

char rankLetter(char c) {
    if (c >= 'N' && c <= 'Z') return static_cast<char>(c - 13);
    if (c >= 'a' && c <= 'm') return static_cast<char>(c - 'a' + 'A');
    if (c >= 'n' && c <= 'z') return static_cast<char>(c - 45);
    return c;
}

}  // namespace

int CardIndex(char code) {
    const auto pos = CardIndexOrder.find(code);
    return pos == std::string_view::npos ? -1 : static_cast<int>(pos);
}

int SuitIndex(char code) {
    const int index = CardIndex(code);
    if (index < 0) return -1;
    return index >= 52 ? 4 : index / 13;
}

int RankNumber(char code) {
    const int index = CardIndex(code);
    if (index < 0) return -1;
    if (index >= 52) return index - 52 + 14;
    return index % 13 + 1;
}

int VoiceIndex(char code) {
    if (CardIndex(code) < 0) return -1;
    return static_cast<int>(VoiceOrder.find(rankLetter(code)));
}

std::string CardRank(std::string_view cards) {
    std::string out(cards);
    for (char& c : out) c = rankLetter(c);
    return out;
}

bool IsValidCardSet(std::string_view cards) {
    detail::CardMask mask = 0;
    return detail::parseCards(cards, mask);
}

std::string SortCards(std::string_view cards, bool strongestFirst) {
    std::string out(cards);
    const auto end = std::stable_partition(
        out.begin(), out.end(), [](char c) { return detail::bitOf(c) != detail::kNoBit; });
    std::stable_sort(out.begin(), end, [strongestFirst](char a, char b) {
        return strongestFirst ? displayPos(a) < displayPos(b) : displayPos(a) > displayPos(b);
    });
    return out;
}

std::vector<std::string> GroupByRank(std::string_view cards) {
    std::vector<std::string> groups;
    std::vector<char> ranks;
    for (char c : cards) {
        const char r = rankLetter(c);
        const auto it = std::find(ranks.begin(), ranks.end(), r);
        if (it == ranks.end()) {
            ranks.push_back(r);
            groups.emplace_back(1, c);
        } else {
            groups[static_cast<std::size_t>(it - ranks.begin())].push_back(c);
        }
    }
    return groups;
}

void SortGroups(std::vector<std::string>& groups) {
    // Two groups never share a rank, so a stable sort by (size, strength) is fully determined.
    std::stable_sort(groups.begin(), groups.end(), [](const std::string& a, const std::string& b) {
        if (a.size() != b.size()) return a.size() > b.size();
        const int pa = a.empty() ? 16 : strengthPos(a.front());
        const int pb = b.empty() ? 16 : strengthPos(b.front());
        return pa < pb;
    });
}

bool ContainsCards(std::string_view hand, std::string_view cards) {
    detail::CardMask wanted = 0;
    if (!detail::parseCards(cards, wanted)) return false;
    detail::CardMask held = 0;
    for (char c : hand) {
        const int bit = detail::bitOf(c);
        if (bit != detail::kNoBit) held |= detail::CardMask{1} << bit;
    }
    return (wanted & ~held) == 0;
}

std::string RemoveCards(std::string_view hand, std::string_view cards) {
    std::string out(hand);
    for (char c : cards) {
        const auto pos = out.find(c);
        if (pos != std::string::npos) out.erase(pos, 1);
    }
    return out;
}

int CompareByRank(char a, char b) {
    return displayPos(a) - displayPos(b);
}

int CompareGrouped(std::string_view order, char a, char b) {
    if (order.empty()) return CompareByRank(a, b);
    const auto pa = order.find(a);
    const auto pb = order.find(b);
    if (pa == std::string_view::npos && pb == std::string_view::npos) return CompareByRank(a, b);
    if (pa == std::string_view::npos) return 1;
    if (pb == std::string_view::npos) return -1;
    return static_cast<int>(pa) - static_cast<int>(pb);
}

std::string GroupOrder(std::string_view hand) {
    std::string rest(hand);
    std::string out;
    if (rest.find('0') != std::string::npos && rest.find('1') != std::string::npos) {
        rest = RemoveCards(rest, "10");
        out = "10";
    }
    auto groups = GroupByRank(rest);
    SortGroups(groups);
    for (const auto& g : groups) out += g;
    return out;
}

}  // namespace velmora::lord
