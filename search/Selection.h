#pragma once

#include <array>
#include <cstdint>

// The user's selection: for each of the five categories, which values (by
// list index, 0-based) are selected.
class Selection {
public:
    static constexpr int kCategories = 5;

    bool isSelected(int category, int index) const { return (bits_[category] >> index) & 1u; }
    void set(int category, int index, bool on)
    {
        if (on)
            bits_[category] |= (1u << index);
        else
            bits_[category] &= ~(1u << index);
    }
    bool anyIn(int category) const { return bits_[category] != 0; }
    bool any() const
    {
        for (auto b : bits_)
            if (b)
                return true;
        return false;
    }
    // How many categories have a value selected: the panels the search asks.
    int categoriesInUse() const
    {
        int n = 0;
        for (auto b : bits_)
            n += b ? 1 : 0;
        return n;
    }
    uint32_t mask(int category) const { return bits_[category]; }
    void clear() { bits_ = {}; }

private:
    std::array<uint32_t, kCategories> bits_{};
};
