#include "viewmodels/AppTheme.h"

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
    for (AppTheme theme : AppThemes::allCases) {
        if (raw == QLatin1String(kRawValues.at(static_cast<size_t>(theme)))) {
            return theme;
        }
    }
    return std::nullopt;
}

} // namespace harborlite
