#include "longdivision/LDPlaygroundMain.h"

namespace zm {

void LDPlaygroundMain::failAnimation() {}
void LDPlaygroundMain::insertSegmentsUpToNumSegment(uint32_t, bool, bool) {}
void LDPlaygroundMain::dropDigitForNumSegment(uint32_t) {}
void LDPlaygroundMain::animateCorrectGhost() {}
void LDPlaygroundMain::stopGhostAnimation() {}
void LDPlaygroundMain::checkGhostOverlap() {}

} // namespace zm
