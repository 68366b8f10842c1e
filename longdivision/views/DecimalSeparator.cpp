#include "longdivision/views/DecimalSeparator.h"

#include <clocale>
#include <langinfo.h>
#include <locale.h>

namespace zm {

namespace {

std::optional<std::string>& overridden() {
    static std::optional<std::string> separator;
    return separator;
}

} // namespace

std::optional<std::string> decimalSeparatorOfLocale(const std::string& name) {
    // A locale object of its own: the process's global locale, which the C library's formatting
    // follows, stays as it is.
    const locale_t locale = newlocale(LC_NUMERIC_MASK, name.c_str(), locale_t(0));
    if (locale == locale_t(0))
        return std::nullopt;
    std::string radix = nl_langinfo_l(RADIXCHAR, locale);
    freelocale(locale);
    return radix.empty() ? "." : radix;
}

std::string userDecimalSeparator() {
    if (overridden())
        return *overridden();
    static const std::string fromEnvironment = decimalSeparatorOfLocale("").value_or(".");
    return fromEnvironment;
}

void setUserDecimalSeparator(std::optional<std::string> separator) {
    overridden() = std::move(separator);
}

} // namespace zm
