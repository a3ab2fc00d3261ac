#pragma once
// Card codes and the orders of the Landlord rules. A card is one printable byte; a set of cards
// is a byte string of codes. Every function here is pure and never reads outside its arguments.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace velmora::lord {

// Position (0..53) is the card index used by the card drawing.
inline constexpr std::string_view CardIndexOrder =
    "ABCDEFGHIJKLMabcdefghijklmNOPQRSTUVWXYZnopqrstuvwxyz01";
// The host's deck before the first deal: jokers first.
inline constexpr std::string_view InitialDeck =
    "10ABCDEFGHIJKLMabcdefghijklmNOPQRSTUVWXYZnopqrstuvwxyz";
// Rank letters, strongest first: big joker, small joker, 2, A, K .. 3.
inline constexpr std::string_view StrengthOrder = "10BAMLKJIHGFEDC";
// Ranks that may form sequences, A down to 3.
inline constexpr std::string_view SequenceOrder = "AMLKJIHGFEDC";
// Card-wise order of SortCards: strength, then spades, hearts, clubs, diamonds.
inline constexpr std::string_view DisplayOrder =
    "10BbOoAaNnMmZzLlYyKkXxJjWwIiVvHhUuGgTtFfSsEeRrDdQqCcPp";
// Index of a rank letter in the voice tables of the sounds.
inline constexpr std::string_view VoiceOrder = "ABCDEFGHIJKLM01";

inline constexpr int kDeckSize = 54;
inline constexpr int kHandSize = 17;
inline constexpr int kBottomSize = 3;
// No hand, play or table hand ever holds more cards than a landlord's hand.
inline constexpr int kMaxHandCards = 20;

// Index of a code in CardIndexOrder, or -1 for a byte that is no card.
int CardIndex(char code);
// 0..3 for the suits, 4 for the jokers, -1 for no card.
int SuitIndex(char code);
// 1 = ace .. 13 = king, 14 small joker, 15 big joker, -1 for no card.
int RankNumber(char code);
// Index of the card's rank letter in VoiceOrder, -1 for no card.
int VoiceIndex(char code);

// The rank letter of every code (the spades code of the same rank). Bytes that are no card
// are copied unchanged.
std::string CardRank(std::string_view cards);

// True when the string is a valid set of cards: every byte a card of the deck, no code twice,
// at most kMaxHandCards codes. The rules treat anything else as no hand.
bool IsValidCardSet(std::string_view cards);

// Sorted by position in DisplayOrder; strongestFirst puts the big joker first, otherwise the
// diamond three comes first. Bytes that are no card keep their input order behind the cards.
std::string SortCards(std::string_view cards, bool strongestFirst);

// Groups of equal rank: groups in order of their rank's first occurrence, the cards of a group
// in input order.
std::vector<std::string> GroupByRank(std::string_view cards);
// Larger groups first; equal sizes stronger rank first.
void SortGroups(std::vector<std::string>& groups);

// Every code of `cards` can be taken from `hand`. `cards` must be a valid card set (see
// IsValidCardSet); a string with a repeated or foreign code is never contained.
bool ContainsCards(std::string_view hand, std::string_view cards);
// The hand with the first occurrence of every code of `cards` deleted; absent codes are ignored.
std::string RemoveCards(std::string_view hand, std::string_view cards);

// Display comparers: positive when card `a` must be placed behind card `b`.
// Rank mode: stronger rank first, equal ranks by suit index.
int CompareByRank(char a, char b);
// Grouped mode over an order string made by GroupOrder. With an empty order the rank mode
// applies; a card missing from the order goes behind the cards in it.
int CompareGrouped(std::string_view order, char a, char b);
// "10" when both jokers are held, then the other cards grouped by rank (largest groups first).
std::string GroupOrder(std::string_view hand);

}  // namespace velmora::lord
