#pragma once

namespace zm {

// Asked by a cell of the problem-set lists to delete what the cell at `row` shows.
class DeleteMe {
public:
    virtual ~DeleteMe() = default;
    virtual void deleteMeAtIndex(unsigned row) = 0;
};

} // namespace zm
