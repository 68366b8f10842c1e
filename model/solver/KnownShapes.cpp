#include "model/solver/KnownShapes.h"

#include <functional>

namespace zm {

namespace {

uint64_t hashOf(std::string_view shape) {
    return std::hash<std::string_view>()(shape);
}

} // namespace

size_t KnownShapes::find(std::string_view shape, uint64_t hash) const {
    const size_t mask = m_slots.size() - 1;
    size_t at = hash & mask;
    while (m_slots[at].used && (m_slots[at].hash != hash || m_slots[at].shape != shape))
        at = (at + 1) & mask;
    return at;
}

bool KnownShapes::contains(std::string_view shape) const {
    return m_slots[find(shape, hashOf(shape))].used;
}

bool KnownShapes::insert(std::string_view shape) {
    const uint64_t hash = hashOf(shape);
    size_t at = find(shape, hash);
    if (m_slots[at].used)
        return false;
    // At most half full, so that probes stay short.
    if (2 * (m_size + 1) > m_slots.size()) {
        grow();
        at = find(shape, hash);
    }
    m_slots[at] = {hash, shape, true};
    ++m_size;
    return true;
}

void KnownShapes::grow() {
    std::vector<Slot> old(m_slots.size() * 2);
    old.swap(m_slots);
    for (const Slot& slot : old) {
        if (slot.used)
            m_slots[find(slot.shape, slot.hash)] = slot;
    }
}

} // namespace zm
