#pragma once

#include "catalogue/FlowerCatalogue.h"

#include <array>
#include <bit>
#include <cstdint>

// A set of catalogue records, one bit per record: bit r is the record at
// place r of the name order, so the whole catalogue (500 records) fits in
// eight 64-bit words, and reading the set bits from the lowest gives the
// records in name order without a sort.
class RecordBits {
public:
    static constexpr int kWords = (FlowerCatalogue::kCapacity + 63) / 64;

    // The places 0..count-1.
    static RecordBits first(int count)
    {
        RecordBits b;
        for (int w = 0; w < kWords; ++w) {
            const int inWord = count - 64 * w;
            b.words_[size_t(w)] = inWord >= 64 ? ~uint64_t(0) : inWord > 0 ? (uint64_t(1) << inWord) - 1 : 0;
        }
        return b;
    }

    void set(int place) { words_[size_t(place / 64)] |= uint64_t(1) << (place % 64); }
    void reset(int place) { words_[size_t(place / 64)] &= ~(uint64_t(1) << (place % 64)); }
    bool test(int place) const { return (words_[size_t(place / 64)] >> (place % 64)) & 1u; }

    RecordBits& operator|=(const RecordBits& other)
    {
        for (int w = 0; w < kWords; ++w)
            words_[size_t(w)] |= other.words_[size_t(w)];
        return *this;
    }
    RecordBits& operator&=(const RecordBits& other)
    {
        for (int w = 0; w < kWords; ++w)
            words_[size_t(w)] &= other.words_[size_t(w)];
        return *this;
    }
    // Drops the places that are set in other.
    RecordBits& subtract(const RecordBits& other)
    {
        for (int w = 0; w < kWords; ++w)
            words_[size_t(w)] &= ~other.words_[size_t(w)];
        return *this;
    }
    bool operator==(const RecordBits&) const = default;

    bool none() const
    {
        uint64_t any = 0;
        for (uint64_t w : words_)
            any |= w;
        return any == 0;
    }
    int count() const
    {
        int n = 0;
        for (uint64_t w : words_)
            n += std::popcount(w);
        return n;
    }
    // How many of the places begin..end-1 are set.
    int countIn(int begin, int end) const
    {
        int n = 0;
        for (int p = begin; p < end; ++p)
            n += test(p) ? 1 : 0;
        return n;
    }

    // Calls f(place) for every set place, lowest first.
    template <typename F>
    void forEach(F&& f) const
    {
        for (int w = 0; w < kWords; ++w)
            for (uint64_t bits = words_[size_t(w)]; bits; bits &= bits - 1)
                f(64 * w + std::countr_zero(bits));
    }

private:
    std::array<uint64_t, kWords> words_{};
};
