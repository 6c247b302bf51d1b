#include "paint/AppTheme.h"

#include "shared/RawValue.h"

namespace harborlite {

namespace {

// Indexed by the enumeration's value.
constexpr std::array<const char*, 3> kRawValues = {"system", "light", "dark"};

} // namespace

QString rawValue(AppTheme theme)
{
    return QString::fromLatin1(kRawValues.at(static_cast<size_t>(theme)));
}

std::optional<AppTheme> appThemeFromRawValue(const QString& raw)
{
    return caseFromRawValue(AppThemes::allCases, raw);
}

} // namespace harborlite
