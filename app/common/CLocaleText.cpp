#include "CLocaleText.h"

#include <locale.h>

#include <array>
#include <cstdio>

namespace kestrova {

namespace {

// The "C" locale object, created once and kept for the whole run.
locale_t cLocale()
{
    static const locale_t locale = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    return locale;
}

// Makes the "C" locale current on this thread for its lifetime, then restores the previous one.
class CLocaleScope {
public:
    CLocaleScope() : previous_(cLocale() ? uselocale(cLocale()) : static_cast<locale_t>(nullptr)) {}
    ~CLocaleScope()
    {
        if (previous_)
            uselocale(previous_);
    }
    CLocaleScope(const CLocaleScope&) = delete;
    CLocaleScope& operator=(const CLocaleScope&) = delete;

private:
    locale_t previous_;
};

}  // namespace

std::string printfGeneral(double value, int significantDigits)
{
    const CLocaleScope scope;
    std::array<char, 64> buffer{};
    const int length = std::snprintf(buffer.data(), buffer.size(), "%.*G", significantDigits, value);
    if (length < 0)
        return {};
    return std::string(buffer.data(), static_cast<std::size_t>(length) < buffer.size()
                                          ? static_cast<std::size_t>(length)
                                          : buffer.size() - 1);
}

}  // namespace kestrova
