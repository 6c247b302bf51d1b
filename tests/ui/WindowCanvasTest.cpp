#include "ui/theme/WindowCanvas.h"
#include "ui/theme/ApplicationAppearance.h"
#include "ui/theme/TypeStyle.h"

#include <QApplication>
#include <QStyle>

#include <gtest/gtest.h>

using namespace harborlite;

TEST(WindowCanvas, StylesItsWindowAfterEachUpdate)
{
    QWidget window;
    auto* canvas = new WindowCanvas(AppTheme::dark, &window);
    EXPECT_FALSE(Palette::ownAppearance(&window).has_value()); // not yet: the step is queued
    QCoreApplication::processEvents();
    EXPECT_EQ(Palette::ownAppearance(&window), Appearance::dark);
    EXPECT_EQ(window.palette().color(QPalette::Window), Palette::canvasNSColor().dark);

    canvas->setTheme(AppTheme::system);
    QCoreApplication::processEvents();
    EXPECT_FALSE(Palette::ownAppearance(&window).has_value());

    canvas->setTheme(AppTheme::light);
    QCoreApplication::processEvents();
    EXPECT_EQ(Palette::ownAppearance(&window), Appearance::light);
    EXPECT_EQ(window.palette().color(QPalette::Window), Palette::canvasNSColor().light);
}

TEST(WindowCanvas, OutsideAWindowItDoesNothing)
{
    WindowCanvas lone(AppTheme::dark);
    QCoreApplication::processEvents();
    EXPECT_FALSE(Palette::ownAppearance(&lone).has_value());
    WindowCanvas::style(nullptr, AppTheme::dark);
}

TEST(ApplicationAppearance, EveryThemeSetsTheSystemsPaletteAndTypeUnderFusion)
{
    ApplicationAppearance::apply(AppTheme::dark);
    EXPECT_EQ(QApplication::style()->name().toLower(), QStringLiteral("fusion"));
    EXPECT_EQ(QApplication::palette().color(QPalette::Window), Palette::canvas().dark);
    EXPECT_EQ(QApplication::palette().color(QPalette::Text), Palette::ink().dark);
    EXPECT_EQ(QApplication::palette().color(QPalette::Highlight), Palette::accent().dark);

    ApplicationAppearance::apply(AppTheme::light);
    EXPECT_EQ(QApplication::palette().color(QPalette::Window), Palette::canvas().light);

    // System takes the desktop's appearance (light here) in the system's own
    // colours and type, never the stock palette's.
    ApplicationAppearance::apply(AppTheme::system);
    EXPECT_FALSE(Palette::applicationAppearance().has_value());
    EXPECT_EQ(ApplicationAppearance::desktopAppearance(), Appearance::light);
    EXPECT_EQ(QApplication::palette().color(QPalette::Window), Palette::canvas().light);
    EXPECT_EQ(QApplication::palette().color(QPalette::Highlight), Palette::accent().light);
    EXPECT_EQ(QApplication::font().family(), TypeStyle::family());
    EXPECT_EQ(QApplication::font(), TypeStyle::font(13, QFont::Normal));
}

TEST(ApplicationAppearance, SystemDrawsTheDesktopsAppearanceInTheSystemsColours)
{
    const struct {
        AppTheme theme;
        Appearance desktop;
        Appearance drawn;
    } rows[] = {
        {AppTheme::system, Appearance::light, Appearance::light},
        {AppTheme::system, Appearance::dark, Appearance::dark},
        {AppTheme::light, Appearance::dark, Appearance::light},
        {AppTheme::dark, Appearance::light, Appearance::dark},
    };
    for (const auto& row : rows) {
        const QPalette made = ApplicationAppearance::paletteFor(row.theme, row.desktop);
        EXPECT_EQ(made, ApplicationAppearance::qtPalette(row.drawn)) << rawValue(row.theme).toStdString();
        EXPECT_EQ(made.color(QPalette::Highlight), Palette::accent().resolve(row.drawn));
    }
}

TEST(ApplicationAppearance, SystemFollowsTheDesktopsPalette)
{
    QWidget widget;
    ApplicationAppearance::apply(AppTheme::system);
    // The desktop turns dark: with no forced appearance, the widgets follow.
    QApplication::setPalette(ApplicationAppearance::qtPalette(Appearance::dark));
    EXPECT_EQ(Palette::appearance(&widget), Appearance::dark);
    QApplication::setPalette(ApplicationAppearance::qtPalette(Appearance::light));
    EXPECT_EQ(Palette::appearance(&widget), Appearance::light);
    ApplicationAppearance::apply(AppTheme::dark);
    QApplication::setPalette(ApplicationAppearance::qtPalette(Appearance::light));
    EXPECT_EQ(Palette::appearance(&widget), Appearance::dark);
    ApplicationAppearance::apply(AppTheme::system);
}
