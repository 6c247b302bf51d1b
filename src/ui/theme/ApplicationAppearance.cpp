#include "ui/theme/ApplicationAppearance.h"

#include <QApplication>
#include <QWidget>

namespace harborlite::ApplicationAppearance {

std::optional<Appearance> forcedBy(AppTheme theme)
{
    switch (theme) {
    case AppTheme::light:
        return Appearance::light;
    case AppTheme::dark:
        return Appearance::dark;
    case AppTheme::system:
        break;
    }
    return std::nullopt;
}

void apply(AppTheme theme)
{
    Palette::setApplicationAppearance(forcedBy(theme));
    for (QWidget* window : QApplication::topLevelWidgets()) {
        window->update();
    }
}

} // namespace harborlite::ApplicationAppearance
