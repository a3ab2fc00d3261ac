#include "lordtool.h"

#include <charconv>
#include <cstdint>
#include <optional>
#include <string_view>

#include "rules/cards.h"
#include "rules/deal.h"
#include "rules/handtype.h"
#include "rules/hints.h"
#include "rules/playcheck.h"

namespace velmora::lordtool {

namespace {

using namespace velmora::lord;

constexpr std::string_view kUsage =
    "usage: lordtool classify CARDS | compare NEW TABLE | hints HAND TABLE | "
    "check --hands H0,H1,H2 --turn T --lead L --table TABLE SEAT CARDS | deal [--seed N]";

struct BadArgument {
    std::string message;
};

// A card argument: "-" is the empty string; every byte must be a card code. Repeated codes and
// overlong strings are passed on: the rules answer them (as no hand).
std::string cardsArg(std::string_view text, std::string_view what) {
    if (text == "-") return {};
    for (char c : text) {
        if (CardIndex(c) < 0)
            throw BadArgument{std::string(what) + ": '" + std::string(1, c) +
                              "' is not a card code"};
    }
    return std::string(text);
}

template <typename T>
T numberArg(std::string_view text, std::string_view what) {
    T value{};
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc{} || end != text.data() + text.size() || text.empty())
        throw BadArgument{std::string(what) + ": not a number: " + std::string(text)};
    return value;
}

int seatArg(std::string_view text, std::string_view what) {
    const int seat = numberArg<int>(text, what);
    if (seat < 0 || seat > 2) throw BadArgument{std::string(what) + ": seat must be 0, 1 or 2"};
    return seat;
}

void expectCount(const std::vector<std::string>& args, std::size_t count) {
    if (args.size() != count) throw BadArgument{"wrong number of arguments"};
}

int classify(const std::vector<std::string>& args, std::ostream& out) {
    expectCount(args, 2);
    out << HandTypeName(ClassifyHand(cardsArg(args[1], "CARDS"))) << '\n';
    return 0;
}

int compare(const std::vector<std::string>& args, std::ostream& out) {
    expectCount(args, 3);
    out << CompareHands(cardsArg(args[1], "NEW"), cardsArg(args[2], "TABLE")) << '\n';
    return 0;
}

int hints(const std::vector<std::string>& args, std::ostream& out) {
    expectCount(args, 3);
    const HintList list = BuildHints(cardsArg(args[1], "HAND"), cardsArg(args[2], "TABLE"));
    if (list.action() == HintAction::Pass) out << "pass\n";
    for (int i = 0; i < list.size(); ++i) out << list[i] << '\n';
    return 0;
}

int check(const std::vector<std::string>& args, std::ostream& out) {
    std::optional<std::string> hands, turn, lead, table;
    std::vector<std::string> positional;
    for (std::size_t i = 1; i < args.size(); ++i) {
        const std::string& a = args[i];
        std::optional<std::string>* slot = nullptr;
        if (a == "--hands")
            slot = &hands;
        else if (a == "--turn")
            slot = &turn;
        else if (a == "--lead")
            slot = &lead;
        else if (a == "--table")
            slot = &table;
        else if (a.size() > 2 && a.starts_with("--"))
            throw BadArgument{"unknown option " + a};
        if (slot == nullptr) {
            positional.push_back(a);
            continue;
        }
        if (i + 1 >= args.size()) throw BadArgument{a + " needs a value"};
        if (slot->has_value()) throw BadArgument{a + " given twice"};
        *slot = args[++i];
    }
    if (!hands || !turn || !lead || !table)
        throw BadArgument{"check needs --hands, --turn, --lead and --table"};
    if (positional.size() != 2) throw BadArgument{"check needs SEAT and CARDS"};

    std::array<std::string, 3> handText;
    std::size_t start = 0;
    for (int seat = 0; seat < 3; ++seat) {
        const auto comma = hands->find(',', start);
        if ((seat < 2) == (comma == std::string::npos))
            throw BadArgument{"--hands needs three hands separated by commas"};
        const auto end = seat < 2 ? comma : hands->size();
        handText[static_cast<std::size_t>(seat)] =
            cardsArg(std::string_view(*hands).substr(start, end - start), "--hands");
        start = end + 1;
    }
    PlayState state;
    state.hands = {handText[0], handText[1], handText[2]};
    state.turnSeat = seatArg(*turn, "--turn");
    state.leadSeat = seatArg(*lead, "--lead");
    const std::string tableCards = cardsArg(*table, "--table");
    state.tableHand = tableCards;
    const int seat = seatArg(positional[0], "SEAT");
    const std::string cards = cardsArg(positional[1], "CARDS");
    out << static_cast<int>(CheckPlay(state, seat, cards)) << '\n';
    return 0;
}

int deal(const std::vector<std::string>& args, std::ostream& out) {
    std::optional<SeededRandom> random;
    if (args.size() == 3 && args[1] == "--seed") {
        random.emplace(numberArg<std::uint64_t>(args[2], "--seed"));
    } else {
        expectCount(args, 1);
        random.emplace(SeededRandom::fromEntropy());
    }
    Dealer dealer(*random);
    const Deal d = dealer.DealCards();
    for (const auto& hand : d.hands) out << hand << '\n';
    out << d.bottomCards[0] << d.bottomCards[1] << d.bottomCards[2] << '\n';
    return 0;
}

}  // namespace

int runLordTool(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    try {
        if (args.empty()) throw BadArgument{std::string(kUsage)};
        const std::string& command = args[0];
        if (command == "classify") return classify(args, out);
        if (command == "compare") return compare(args, out);
        if (command == "hints") return hints(args, out);
        if (command == "check") return check(args, out);
        if (command == "deal") return deal(args, out);
        throw BadArgument{"unknown command " + command + "; " + std::string(kUsage)};
    } catch (const BadArgument& e) {
        err << "lordtool: " << e.message << '\n';
        return 1;
    }
}

}  // namespace velmora::lordtool
