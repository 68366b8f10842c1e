#include "model/solver/KnownShapes.h"

#include <functional>

namespace zm {

uint64_t KnownShapes::hashOf(std::string_view shape) {
    return std::hash<std::string_view>()(shape);
}

size_t KnownShapes::find(std::string_view shape, uint64_t hash) const {
    const size_t mask = m_slots.size() - 1;
    size_t at = hash & mask;
    while (m_slots[at].shape && (m_slots[at].hash != hash || *m_slots[at].shape != shape))
        at = (at + 1) & mask;
    return at;
}

bool KnownShapes::contains(std::string_view shape, uint64_t hash) const {
    return m_slots[find(shape, hash)].shape != nullptr;
}

bool KnownShapes::insert(const std::string& shape, uint64_t hash) {
    size_t at = find(shape, hash);
    if (m_slots[at].shape)
        return false;
    // At most half full, so that probes stay short.
    if (2 * (m_size + 1) > m_slots.size()) {
        grow();
        at = find(shape, hash);
    }
    m_slots[at] = {hash, &shape};
    ++m_size;
    return true;
}

void KnownShapes::grow() {
    std::vector<Slot> old(m_slots.size() * 2);
    old.swap(m_slots);
    for (const Slot& slot : old) {
        if (slot.shape)
            m_slots[find(*slot.shape, slot.hash)] = slot;
    }
}

} // namespace zm
