#include "ui/theme/ApplicationAppearance.h"

#include <QGuiApplication>
#include <QPalette>
#include <QWidget>

#include <gtest/gtest.h>

using namespace harborlite;

TEST(ApplicationAppearance, TheThemeDecidesWhatTheWindowsDraw)
{
    QGuiApplication::setPalette(QPalette(QColor(0xef, 0xef, 0xef)));
    QWidget window;
    QWidget* child = new QWidget(&window);

    const struct {
        AppTheme theme;
        std::optional<Appearance> forced;
        Appearance drawn;
    } rows[] = {
        {AppTheme::dark, Appearance::dark, Appearance::dark},
        {AppTheme::light, Appearance::light, Appearance::light},
        {AppTheme::system, std::nullopt, Palette::systemAppearance()},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(rawValue(row.theme).toStdString());
        EXPECT_EQ(ApplicationAppearance::forcedBy(row.theme), row.forced);
        ApplicationAppearance::apply(row.theme);
        EXPECT_EQ(Palette::applicationAppearance(), row.forced);
        EXPECT_EQ(Palette::appearance(child), row.drawn);
    }
    QGuiApplication::setPalette(QPalette());
}
