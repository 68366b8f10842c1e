#include "longdivision/LDPlaygroundMain.h"

namespace zm {

void LDPlaygroundMain::checkComplete() {}

bool LDPlaygroundMain::allOriginalDigitsUsed() const {
    return false;
}

void LDPlaygroundMain::startRemainderMode() {}
void LDPlaygroundMain::startDecimalMode() {}
void LDPlaygroundMain::appendZeroToNumerator() {}
void LDPlaygroundMain::animateDecimalUp() {}

bool LDPlaygroundMain::eligibleForRepeating() const {
    return m_longDivisionExpr && m_longDivisionExpr->isRepeatingDecimal();
}

void LDPlaygroundMain::findPattern() {}
void LDPlaygroundMain::checkRepeating() {}
void LDPlaygroundMain::moveSolo(const std::shared_ptr<ExprViewSoloist>&) {}
void LDPlaygroundMain::clearUpDigits() {}

} // namespace zm
