#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

namespace zm {

// The expressions a search has met, by their bytes (see ExprShape). The bytes are not copied: each
// must stay where it is while the set is in use (a search's nodes hold them). An open-addressing
// table of hashes and views, since a search asks it once for every child it makes.
class KnownShapes {
public:
    // Adds `shape`; false when it was known already.
    bool insert(std::string_view shape);
    bool contains(std::string_view shape) const;
    size_t size() const { return m_size; }

private:
    struct Slot {
        uint64_t hash = 0;
        std::string_view shape;
        bool used = false;
    };

    size_t find(std::string_view shape, uint64_t hash) const;
    void grow();

    std::vector<Slot> m_slots = std::vector<Slot>(1024);
    size_t m_size = 0;
};

} // namespace zm
