#pragma once

#include "framework/Source/PixTwoInputFilter.h"

namespace zm {

// Recolours a picture through a colour table that is itself a picture: 512 x 512, eight by eight tiles
// of 64 x 64, tile n (column n mod 8, row n div 8 from the top) holding blue n / 63, red growing across
// it and green down it. A colour reads the two tiles its blue lies between, at its red and green, and
// mixes them. The picture to recolour is the first input, the table the second.
class PixLookupFilter : public PixTwoInputFilter {
public:
    static std::shared_ptr<PixLookupFilter> create();

protected:
    PixLookupFilter();
};

} // namespace zm
