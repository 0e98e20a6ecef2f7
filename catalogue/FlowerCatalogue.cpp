#include "catalogue/FlowerCatalogue.h"

FlowerCatalogue::FlowerCatalogue() = default;

void FlowerCatalogue::clear()
{
    for (auto& s : slots_)
        s = FlowerRecord{};
    count_ = 0;
}

bool FlowerCatalogue::append(const FlowerRecord& record)
{
    if (count_ >= kCapacity)
        return false;
    slots_[size_t(++count_)] = record;
    return true;
}

int FlowerCatalogue::countWith(int category, const QString& storedName) const
{
    int n = 0;
    for (int i = 1; i <= count_; ++i)
        if (slots_[size_t(i)].attribute(category) == storedName)
            ++n;
    return n;
}

int FlowerCatalogue::slotOfName(const QString& name) const
{
    for (int i = 1; i <= count_; ++i)
        if (slots_[size_t(i)].NAMAE == name)
            return i;
    return 0;
}
