#pragma once

#include "catalogue/FlowerRecord.h"

#include <array>

// The in-memory catalogue: slots 0..500, records in slots 1..count() in
// the order the store delivered them; slot 0 is never used and every slot
// without a record reads as empty text.
class FlowerCatalogue {
public:
    static constexpr int kCapacity = 500;
    // Slot 0 is never used, so tables indexed by slot have this many entries.
    static constexpr int kSlots = kCapacity + 1;

    FlowerCatalogue();

    int count() const { return count_; }
    const FlowerRecord& slot(int i) const { return slots_.at(size_t(i)); }

    // Empties all 501 slots.
    void clear();
    // Appends a record in the next slot; false when the catalogue is full.
    bool append(const FlowerRecord& record);

    // Records whose field of category k equals the stored name exactly.
    int countWith(int category, const QString& storedName) const;
    // First slot (1..count()) whose NAMAE equals name, or 0.
    int slotOfName(const QString& name) const;

private:
    std::array<FlowerRecord, kSlots> slots_;
    int count_ = 0;
};
