#pragma once

#include <QString>

#include <array>
#include <optional>

namespace harborlite {

// The user's appearance choice: follow the desktop, or force light or dark.
enum class AppTheme {
    system,
    light,
    dark,
};

namespace AppThemes {

inline constexpr std::array<AppTheme, 3> allCases = {AppTheme::system, AppTheme::light, AppTheme::dark};

} // namespace AppThemes

// The case name; it is also the stored form and the identifier.
QString rawValue(AppTheme theme);
// The theme whose case name equals `raw` exactly; none for anything else.
std::optional<AppTheme> appThemeFromRawValue(const QString& raw);

} // namespace harborlite
