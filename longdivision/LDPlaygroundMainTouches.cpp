#include "longdivision/LDPlaygroundMain.h"

namespace zm {

void LDPlaygroundMain::touchBegan(core::Point) {}

bool LDPlaygroundMain::touchMoved(core::Point) {
    return false;
}

bool LDPlaygroundMain::touchEnded(core::Point) {
    return true;
}

void LDPlaygroundMain::insertRemainder() {}

} // namespace zm
