#pragma once
// Shuffling and dealing. The random source is injected: the game host seeds one generator once
// from the system's entropy; tests and replays seed it with a fixed number.

#include <array>
#include <cstdint>
#include <random>
#include <string>
#include <string_view>

namespace velmora::lord {

class RandomSource {
public:
    virtual ~RandomSource() = default;
    // 64 uniformly distributed bits.
    virtual std::uint64_t next() = 0;
};

// A 64-bit Mersenne twister. The same seed gives the same sequence on every platform, and the
// draws below do not go through the library's (implementation-defined) distributions.
class SeededRandom final : public RandomSource {
public:
    explicit SeededRandom(std::uint64_t seed) : m_engine(seed) {}
    // Seeded once from std::random_device.
    static SeededRandom fromEntropy();
    std::uint64_t next() override { return m_engine(); }

private:
    explicit SeededRandom(std::seed_seq& seq) : m_engine(seq) {}
    std::mt19937_64 m_engine;
};

// Uniform integer in 0 .. bound - 1 (bound > 0), without modulo bias.
std::uint64_t DrawBelow(RandomSource& random, std::uint64_t bound);

// A random permutation: repeatedly draws a position of the remaining input and moves that code
// to the result.
std::string ShuffleCards(std::string_view cards, RandomSource& random);

struct Deal {
    std::array<std::string, 3> hands;        // 17 cards each, in deck order
    std::array<std::string, 3> bottomCards;  // one card each
};

// The game host's dealer: keeps the deck string between deals.
class Dealer {
public:
    explicit Dealer(RandomSource& random);
    // Shuffles the deck three times and deals it: seat 0 gets positions 1..17, seat 1 18..34,
    // seat 2 35..51, the bottom cards are 52..54.
    Deal DealCards();
    const std::string& deck() const { return m_deck; }
    // Takes a deck kept from an earlier session; anything but a permutation of the 54 cards is
    // refused (false) and the deck stays as it was.
    bool setDeck(std::string_view deck);

private:
    RandomSource& m_random;
    std::string m_deck;
};

}  // namespace velmora::lord
