#include "ui/theme/ApplicationAppearance.h"

#include <QApplication>
#include <QStyle>
#include <QStyleFactory>
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

QPalette qtPalette(Appearance appearance)
{
    const auto role = [appearance](const AdaptiveColor& color) { return color.resolve(appearance); };
    QPalette made;
    made.setColor(QPalette::Window, role(Palette::canvas()));
    made.setColor(QPalette::WindowText, role(Palette::ink()));
    made.setColor(QPalette::Base, role(Palette::card()));
    made.setColor(QPalette::AlternateBase, role(Palette::canvas()));
    made.setColor(QPalette::Text, role(Palette::ink()));
    made.setColor(QPalette::Button, role(Palette::card()));
    made.setColor(QPalette::ButtonText, role(Palette::ink()));
    made.setColor(QPalette::BrightText, Qt::white);
    made.setColor(QPalette::ToolTipBase, role(Palette::card()));
    made.setColor(QPalette::ToolTipText, role(Palette::ink()));
    made.setColor(QPalette::PlaceholderText, role(Palette::inkTertiary()));
    made.setColor(QPalette::Highlight, role(Palette::accent()));
    made.setColor(QPalette::HighlightedText, Qt::white);
    made.setColor(QPalette::Link, role(Palette::accentDeep()));
    made.setColor(QPalette::LinkVisited, role(Palette::accentDeep()));
    made.setColor(QPalette::Light, role(Palette::card()));
    made.setColor(QPalette::Midlight, role(Palette::hairline()));
    made.setColor(QPalette::Mid, role(Palette::hairline()));
    made.setColor(QPalette::Dark, role(Palette::inkTertiary()));
    made.setColor(QPalette::Shadow, Qt::black);
    for (const QPalette::ColorRole text : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText}) {
        made.setColor(QPalette::Disabled, text, role(Palette::inkTertiary()));
    }
    return made;
}

void apply(AppTheme theme)
{
    const std::optional<Appearance> forced = forcedBy(theme);
    Palette::setApplicationAppearance(forced);
    if (qobject_cast<QApplication*>(QCoreApplication::instance()) == nullptr) {
        return;
    }
    if (QApplication::style()->name().compare(QLatin1String("fusion"), Qt::CaseInsensitive) != 0) {
        QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    }
    QApplication::setPalette(forced ? qtPalette(*forced) : QPalette());
    for (QWidget* window : QApplication::topLevelWidgets()) {
        window->update();
    }
}

} // namespace harborlite::ApplicationAppearance
