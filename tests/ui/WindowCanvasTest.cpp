#include "ui/theme/ApplicationAppearance.h"
#include "ui/theme/WindowCanvas.h"

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

TEST(ApplicationAppearance, ForcingSetsQtsPaletteUnderFusionAndSystemRestoresIt)
{
    ApplicationAppearance::apply(AppTheme::dark);
    EXPECT_EQ(QApplication::style()->name().toLower(), QStringLiteral("fusion"));
    EXPECT_EQ(QApplication::palette().color(QPalette::Window), Palette::canvas().dark);
    EXPECT_EQ(QApplication::palette().color(QPalette::Text), Palette::ink().dark);
    EXPECT_EQ(QApplication::palette().color(QPalette::Highlight), Palette::accent().dark);

    ApplicationAppearance::apply(AppTheme::light);
    EXPECT_EQ(QApplication::palette().color(QPalette::Window), Palette::canvas().light);

    ApplicationAppearance::apply(AppTheme::system);
    EXPECT_FALSE(Palette::applicationAppearance().has_value());
    EXPECT_NE(QApplication::palette().color(QPalette::Window), Palette::canvas().light);
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
