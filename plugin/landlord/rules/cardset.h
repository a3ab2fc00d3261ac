#pragma once
// Bit-set form of a card set, used inside the rules for speed. Not part of the public API of the
// rules, but the benchmarks and the tests use it too.
//
// A card is bit (lane * 16 + value): lane is the suit index 0..3, value orders the ranks from
// weak to strong, 0 = three .. 10 = king, 11 = ace, 12 = two; the small joker is value 13 and
// the big joker value 14, both in lane 0. A larger value is a stronger rank, and values 0..11
// are SequenceOrder read backwards, so a run of consecutive values is a sequence.

#include <array>
#include <bit>
#include <cstdint>
#include <string_view>

#include "rules/cards.h"

namespace velmora::lord::detail {

using CardMask = std::uint64_t;

inline constexpr std::uint8_t kNoBit = 0xFF;
inline constexpr int kRankCount = 15;
inline constexpr int kAceValue = 11;
inline constexpr int kSmallJokerValue = 13;
inline constexpr int kBigJokerValue = 14;
inline constexpr std::uint32_t kSequenceValues = (1u << 12) - 1;  // three .. ace

struct CodeTables {
    std::array<std::uint8_t, 256> bit{};         // card bit, kNoBit for no card
    std::array<std::uint8_t, 256> displayPos{};  // position in DisplayOrder, 255 for no card
    std::array<char, 64> codeOfBit{};            // inverse of bit, 0 where no card
};

constexpr int valueOfRankNumber(int rankNumber) {
    // ace 1 -> 11, two 2 -> 12, three 3 -> 0 .. king 13 -> 10, jokers 14, 15 -> 13, 14
    if (rankNumber == 1) return kAceValue;
    if (rankNumber == 2) return 12;
    if (rankNumber >= 14) return rankNumber - 1;
    return rankNumber - 3;
}

constexpr CodeTables makeCodeTables() {
    CodeTables t{};
    for (auto& b : t.bit) b = kNoBit;
    for (auto& p : t.displayPos) p = 255;
    for (int index = 0; index < kDeckSize; ++index) {
        const char code = CardIndexOrder[static_cast<std::size_t>(index)];
        int lane = 0;
        int value = 0;
        if (index < 52) {
            lane = index / 13;
            value = valueOfRankNumber(index % 13 + 1);
        } else {
            value = index == 52 ? kSmallJokerValue : kBigJokerValue;
        }
        const int bit = lane * 16 + value;
        t.bit[static_cast<unsigned char>(code)] = static_cast<std::uint8_t>(bit);
        t.codeOfBit[static_cast<std::size_t>(bit)] = code;
    }
    for (std::size_t i = 0; i < DisplayOrder.size(); ++i)
        t.displayPos[static_cast<unsigned char>(DisplayOrder[i])] = static_cast<std::uint8_t>(i);
    return t;
}

inline constexpr CodeTables kTables = makeCodeTables();

inline int bitOf(char code) {
    return kTables.bit[static_cast<unsigned char>(code)];
}
inline int valueOfBit(int bit) {
    return bit & 15;
}

// Parses a card string; false for a foreign byte, a repeated code or more than 20 codes.
inline bool parseCards(std::string_view cards, CardMask& out) {
    out = 0;
    if (cards.size() > static_cast<std::size_t>(kMaxHandCards)) return false;
    for (char c : cards) {
        const std::uint8_t b = kTables.bit[static_cast<unsigned char>(c)];
        if (b == kNoBit) return false;
        const CardMask m = CardMask{1} << b;
        if (out & m) return false;
        out |= m;
    }
    return true;
}

// Ranks (as value bit masks) held exactly once, twice, three and four times.
struct RankMasks {
    std::uint32_t size[5];  // size[k] for k = 1..4; size[0] unused
};

inline RankMasks rankMasks(CardMask cards) {
    const auto a = static_cast<std::uint32_t>(cards & 0xFFFF);
    const auto b = static_cast<std::uint32_t>((cards >> 16) & 0xFFFF);
    const auto c = static_cast<std::uint32_t>((cards >> 32) & 0xFFFF);
    const auto d = static_cast<std::uint32_t>((cards >> 48) & 0xFFFF);
    const std::uint32_t any = a | b | c | d;
    const std::uint32_t ab = a & b, cd = c & d;
    const std::uint32_t ge2 = ab | cd | ((a | b) & (c | d));
    const std::uint32_t ge3 = (ab & (c | d)) | (cd & (a | b));
    const std::uint32_t four = ab & cd;
    RankMasks r{};
    r.size[1] = any & ~ge2;
    r.size[2] = ge2 & ~ge3;
    r.size[3] = ge3 & ~four;
    r.size[4] = four;
    return r;
}

inline int topValue(std::uint32_t mask) {
    return 31 - std::countl_zero(mask);
}

// The mask is one run of consecutive values inside three .. ace.
inline bool isRun(std::uint32_t mask) {
    if (mask == 0 || (mask & ~kSequenceValues) != 0) return false;
    const std::uint32_t low = mask >> std::countr_zero(mask);
    return (low & (low + 1)) == 0;
}

// Count of cards of one value.
inline int countOf(CardMask cards, int value) {
    const CardMask lanes = (CardMask{1} << value) | (CardMask{1} << (value + 16)) |
                           (CardMask{1} << (value + 32)) | (CardMask{1} << (value + 48));
    return std::popcount(cards & lanes);
}

}  // namespace velmora::lord::detail
