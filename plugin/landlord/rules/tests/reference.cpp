#include "reference.h"

namespace velmora::lord::reference {

namespace {

const std::string kStrength = "10BAMLKJIHGFEDC";
const std::string kSequence = "AMLKJIHGFEDC";
const std::string kDisplay = "10BbOoAaNnMmZzLlYyKkXxJjWwIiVvHhUuGgTtFfSsEeRrDdQqCcPp";

// 1-based search position, 0 when absent.
int pos(const std::string& text, char c) {
    const auto p = text.find(c);
    return p == std::string::npos ? 0 : static_cast<int>(p) + 1;
}

std::string runText(int copies) {
    std::string text = ",";
    for (char c : kSequence) text += std::string(static_cast<std::size_t>(copies), c) + ",";
    return text;
}

bool consecutive(const std::vector<std::string>& g, std::size_t k, int copies) {
    if (g.size() < k) return false;
    std::string probe = ",";
    for (std::size_t i = 0; i < k; ++i) probe += g[i] + ",";
    return runText(copies).find(probe) != std::string::npos;
}

std::size_t sz(const std::vector<std::string>& g, std::size_t i) {
    return i < g.size() ? g[i].size() : 0;
}

std::string sortedDisplay(const std::string& hand) {
    std::string out = hand;
    // Exchange sort on DisplayOrder positions, as the card row does.
    for (std::size_t i = 0; i < out.size(); ++i)
        for (std::size_t j = i + 1; j < out.size(); ++j)
            if (pos(kDisplay, out[i]) > pos(kDisplay, out[j])) std::swap(out[i], out[j]);
    return out;
}

std::string removeCards(std::string hand, const std::string& cards) {
    for (char c : cards) {
        const auto p = hand.find(c);
        if (p != std::string::npos) hand.erase(p, 1);
    }
    return hand;
}

std::string groupedOrder(const std::string& cards) {
    auto g = groupByRank(cards);
    sortGroups(g);
    std::string out;
    for (const auto& s : g) out += s;
    return out;
}

}  // namespace

std::string cardRank(const std::string& cards) {
    std::string out = cards;
    for (char& c : out) {
        if (c >= 'N' && c <= 'Z')
            c = static_cast<char>(c - 13);
        else if (c >= 'a' && c <= 'm')
            c = static_cast<char>(c - 32);
        else if (c >= 'n' && c <= 'z')
            c = static_cast<char>(c - 45);
    }
    return out;
}

std::vector<std::string> groupByRank(const std::string& cards) {
    std::vector<std::string> list;
    for (char c : cards) list.emplace_back(1, c);
    for (int i = static_cast<int>(list.size()) - 1; i >= 0; --i) {
        const std::string visited = cardRank(list[static_cast<std::size_t>(i)]);
        for (int j = i - 1; j >= 0; --j) {
            if (visited.find(cardRank(list[static_cast<std::size_t>(j)])) != std::string::npos) {
                list[static_cast<std::size_t>(j)] += list[static_cast<std::size_t>(i)];
                list.erase(list.begin() + i);
                break;
            }
        }
    }
    return list;
}

void sortGroups(std::vector<std::string>& groups) {
    for (std::size_t i = 0; i < groups.size(); ++i) {
        for (std::size_t j = i + 1; j < groups.size(); ++j) {
            const auto& a = groups[i];
            const auto& b = groups[j];
            const bool first = b.size() > a.size() ||
                               (b.size() == a.size() &&
                                pos(kStrength, cardRank(b)[0]) < pos(kStrength, cardRank(a)[0]));
            if (first) std::swap(groups[i], groups[j]);
        }
    }
}

HandType classifyHand(const std::string& cards) {
    const std::size_t n = cards.size();
    const std::string r = cardRank(cards);
    if (n == 0) return HandType::Invalid;
    if (n == 1) return HandType::Single;
    if (n == 2) {
        if (cards == "10" || cards == "01") return HandType::Rocket;
        return r[0] == r[1] ? HandType::Pair : HandType::Invalid;
    }
    if (n == 3) return r[0] == r[1] && r[1] == r[2] ? HandType::Triple : HandType::Invalid;
    if (n == 4 && r[0] == r[1] && r[1] == r[2] && r[2] == r[3]) return HandType::Bomb;
    auto g = groupByRank(r);
    sortGroups(g);
    if (n == 4) return sz(g, 0) == 3 ? HandType::TripleWithOne : HandType::Invalid;
    if (n == 5 && sz(g, 0) == 3 && sz(g, 1) == 2) return HandType::TripleWithPair;
    if (n == 6 && sz(g, 0) == 4 && sz(g, 1) == 1) return HandType::FourWithTwo;
    if (n == 8) {
        if (g.size() >= 4 && sz(g, 0) == 3 && sz(g, 1) == 3 && consecutive(g, 2, 3) &&
            sz(g, 2) == 1 && sz(g, 3) == 1)
            return HandType::PlaneWithTwo;
        if (g.size() >= 3 && sz(g, 0) == 4 && sz(g, 1) == 2 && sz(g, 2) == 2)
            return HandType::FourWithTwoPairs;
    }
    if (n == 10 && g.size() > 3 && sz(g, 0) == 3 && sz(g, 1) == 3 && consecutive(g, 2, 3) &&
        sz(g, 2) == 2 && sz(g, 3) == 2)
        return HandType::PlaneWithTwoPairs;
    if (n == 12 && g.size() > 5 && sz(g, 0) == 3 && sz(g, 1) == 3 && sz(g, 2) == 3 &&
        consecutive(g, 3, 3) && sz(g, 3) == 1 && sz(g, 4) == 1 && sz(g, 5) == 1)
        return HandType::Plane3WithThree;
    if (n == 15 && g.size() > 5 && consecutive(g, 3, 3) && sz(g, 3) == 2 && sz(g, 4) == 2 &&
        sz(g, 5) == 2)
        return HandType::Plane3WithThreePairs;
    if (n == 16 && g.size() > 7 && consecutive(g, 4, 3) && sz(g, 4) == 1 && sz(g, 5) == 1 &&
        sz(g, 6) == 1 && sz(g, 7) == 1)
        return HandType::Plane4WithFour;
    if (n == 20) {
        if (g.size() > 7 && consecutive(g, 4, 3) && sz(g, 4) == 2 && sz(g, 5) == 2 &&
            sz(g, 6) == 2 && sz(g, 7) == 2)
            return HandType::Plane4WithFourPairs;
        if (g.size() > 9 && consecutive(g, 5, 3) && sz(g, 5) == 1 && sz(g, 6) == 1 &&
            sz(g, 7) == 1 && sz(g, 8) == 1 && sz(g, 9) == 1)
            return HandType::Plane5WithFive;
    }
    std::string joined;
    for (const auto& s : g) joined += s;
    if (g.size() > 4 && kSequence.find(joined) != std::string::npos) return HandType::Straight;
    if (g.size() > 2 && consecutive(g, g.size(), 2)) return HandType::PairSequence;
    if (g.size() >= 2 && consecutive(g, g.size(), 3)) return HandType::Plane;
    return HandType::Invalid;
}

int compareHands(const std::string& newHand, const std::string& tableHand) {
    if (newHand.empty() || tableHand.empty()) return 0;
    const HandType tn = classifyHand(newHand);
    if (tn == HandType::Invalid) return 0;
    if (tn == HandType::Rocket) return 99;
    const HandType tt = classifyHand(tableHand);
    if (tn == tt) {
        if (newHand.size() != tableHand.size()) return 0;
        const std::string a = groupedOrder(cardRank(newHand));
        const std::string b = groupedOrder(cardRank(tableHand));
        return pos(kStrength, b[0]) - pos(kStrength, a[0]);
    }
    if (tn == HandType::Bomb) return 1;
    if (tt == HandType::Bomb) return -1;
    return 0;
}

Hints buildHints(const std::string& handIn, const std::string& table) {
    Hints h;
    const HandType tt = classifyHand(table);
    if (tt == HandType::Rocket) {
        h.action = HintAction::Pass;
        return h;
    }
    std::string hand = sortedDisplay(handIn);
    const bool rocket = hand.find('0') != std::string::npos && hand.find('1') != std::string::npos;
    if (rocket) hand = removeCards(hand, "01");
    auto g = groupByRank(hand);
    sortGroups(g);
    const int count = static_cast<int>(g.size());
    const std::size_t largest = g.empty() ? 0 : g[0].size();
    auto& out = h.candidates;
    auto bombs = [&] {
        for (int i = count - 1; i >= 0; --i)
            if (g[static_cast<std::size_t>(i)].size() == 4)
                out.push_back(g[static_cast<std::size_t>(i)]);
    };
    auto grp = [&](int i) -> const std::string& { return g[static_cast<std::size_t>(i)]; };
    switch (tt) {
        case HandType::Single:
        case HandType::Pair:
        case HandType::Triple: {
            const std::size_t a = static_cast<std::size_t>(tt);
            for (std::size_t s = a; s <= largest; ++s)
                for (int i = count - 1; i >= 0; --i)
                    if (grp(i).size() == s && compareHands(grp(i).substr(0, a), table) > 0)
                        out.push_back(grp(i).substr(0, a));
            bombs();
            break;
        }
        case HandType::TripleWithOne:
        case HandType::TripleWithPair: {
            const std::size_t a = tt == HandType::TripleWithOne ? 1 : 2;
            const std::string t3 = groupedOrder(table).substr(0, 3);
            std::vector<std::string> cands;
            for (std::size_t s = 3; s <= largest; ++s)
                for (int i = count - 1; i >= 0; --i)
                    if (grp(i).size() == s && compareHands(grp(i).substr(0, 3), t3) > 0)
                        cands.push_back(grp(i).substr(0, 3));
            std::string wing;
            for (int i = count - 1; i >= 0; --i)
                if (grp(i).size() >= a) {
                    wing = grp(i).substr(0, a);
                    break;
                }
            for (const auto& c : cands)
                if (classifyHand(c + wing) == tt) out.push_back(c + wing);
            bombs();
            break;
        }
        case HandType::Bomb:
            for (int i = count - 1; i >= 0; --i)
                if (grp(i).size() == 4 && compareHands(grp(i), table) > 0) out.push_back(grp(i));
            break;
        case HandType::FourWithTwo:
        case HandType::FourWithTwoPairs: {
            const std::size_t a = tt == HandType::FourWithTwo ? 1 : 2;
            if (count >= 3) {
                const std::string t4 = groupedOrder(table).substr(0, 4);
                std::vector<std::string> cands;
                for (int i = count - 1; i >= 0; --i)
                    if (grp(i).size() >= 4 && compareHands(grp(i).substr(0, 4), t4) > 0)
                        cands.push_back(grp(i).substr(0, 4));
                std::string wings;
                for (int i = count - 1; i >= 0 && wings.size() < 2 * a; --i)
                    if (grp(i).size() >= a) wings += grp(i).substr(0, a);
                if (wings.size() == 2 * a) {
                    for (const auto& c : cands)
                        if (classifyHand(c + wings) == tt) out.push_back(c + wings);
                } else {
                    for (const auto& c : cands) out.push_back(c);
                }
            }
            bombs();
            break;
        }
        case HandType::Straight:
        case HandType::PairSequence:
        case HandType::Plane: {
            const std::size_t a = tt == HandType::Straight       ? 1
                                  : tt == HandType::PairSequence ? 2
                                                                 : 3;
            if (g.size() >= table.size() / a) {
                std::string units;
                for (const auto& s : g)
                    if (s.size() >= a) units += s.substr(0, a);
                const std::string run = groupedOrder(units);
                for (int start = static_cast<int>(run.size()) - static_cast<int>(table.size());
                     start >= 0; start -= static_cast<int>(a)) {
                    const std::string w = run.substr(static_cast<std::size_t>(start), table.size());
                    if (classifyHand(w) == tt && compareHands(w, table) > 0) out.push_back(w);
                }
            }
            bombs();
            break;
        }
        case HandType::PlaneWithTwo:
        case HandType::PlaneWithTwoPairs:
        case HandType::Plane3WithThree:
        case HandType::Plane3WithThreePairs: {
            const std::size_t k = tt <= HandType::PlaneWithTwoPairs ? 2 : 3;
            const std::size_t w =
                tt == HandType::PlaneWithTwo || tt == HandType::Plane3WithThree ? 1 : 2;
            const std::size_t minCards = tt == HandType::PlaneWithTwo        ? 7
                                         : tt == HandType::PlaneWithTwoPairs ? 9
                                         : tt == HandType::Plane3WithThree   ? 11
                                                                             : 14;
            std::size_t triples = 0;
            for (const auto& s : g) triples += s.size() >= 3 ? 1 : 0;
            if (g.size() > (k == 2 ? 3u : 5u) && hand.size() > minCards && triples >= k) {
                std::string text;
                for (const auto& s : g)
                    if (s.size() >= 3) text += s.substr(0, 3);
                const std::string tp = groupedOrder(table).substr(0, 3 * k);
                std::vector<std::string> cands;
                for (std::size_t start = 0; start + 3 * k <= text.size(); start += 3) {
                    const std::string c = text.substr(start, 3 * k);
                    if (classifyHand(c) == HandType::Plane && compareHands(c, tp) > 0)
                        cands.push_back(c);
                }
                if (!cands.empty()) {
                    std::string wings;
                    for (int i = count - 1; i >= 0 && wings.size() < k * w; --i)
                        if (grp(i).size() >= w) wings += grp(i).substr(0, w);
                    for (const auto& c : cands)
                        if (classifyHand(c + wings) == tt) out.push_back(c + wings);
                }
            }
            bombs();
            break;
        }
        default:
            return h;
    }
    if (rocket) out.push_back("10");
    h.action = out.empty() ? HintAction::Pass : HintAction::Select;
    return h;
}

}  // namespace velmora::lord::reference
