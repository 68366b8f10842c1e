#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace zm {

// The expressions a search has met, by their bytes (see ExprShape). The bytes are not copied: each
// string added must stay where it is while the set is in use (a search's nodes hold them). An
// open-addressing table of hashes and pointers, since a search asks it for every child it makes;
// a caller that asks about the same bytes twice computes their hash once.
class KnownShapes {
public:
    static uint64_t hashOf(std::string_view shape);

    // Adds `shape`; false when it was known already.
    bool insert(const std::string& shape, uint64_t hash);
    bool insert(const std::string& shape) { return insert(shape, hashOf(shape)); }
    bool contains(std::string_view shape, uint64_t hash) const;
    bool contains(std::string_view shape) const { return contains(shape, hashOf(shape)); }
    size_t size() const { return m_size; }

private:
    struct Slot {
        uint64_t hash = 0;
        // Null for a free slot.
        const std::string* shape = nullptr;
    };

    size_t find(std::string_view shape, uint64_t hash) const;
    void grow();

    std::vector<Slot> m_slots = std::vector<Slot>(1024);
    size_t m_size = 0;
};

} // namespace zm
