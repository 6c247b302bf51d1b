#include "ui/components/GlassCompatButton.h"
#include "ui/components/DisabledLayer.h"
#include "ui/components/GlassCompatContainer.h"
#include "ui/theme/Contrast.h"
#include "ui/theme/GlassSurface.h"
#include "ui/theme/Motion.h"

#include <QEnterEvent>
#include <QImage>
#include <QLayout>
#include <QPainter>
#include <QSignalSpy>
#include <QTest>

#include "TransparentRender.h"

#include <gtest/gtest.h>

using namespace harborlite;
using GlassCompatButtonStyle::Fill;

TEST(GlassCompatButton, FillDependsOnKindPressAndHover)
{
    const struct {
        bool prominent;
        bool pressed;
        bool hovered;
        Fill fill;
    } rows[] = {
        {true, false, false, {true, 0.82}},  {true, false, true, {true, 0.90}},    {true, true, false, {true, 0.95}},
        {true, true, true, {true, 0.95}},    {false, false, false, {false, 0.50}}, {false, false, true, {false, 0.70}},
        {false, true, false, {false, 0.85}}, {false, true, true, {false, 0.85}},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(GlassCompatButtonStyle::fill(row.prominent, row.pressed, row.hovered), row.fill)
            << row.prominent << row.pressed << row.hovered;
    }
}

TEST(GlassCompatButton, LabelAndEdgeColoursPerKind)
{
    for (const Appearance appearance : {Appearance::light, Appearance::dark}) {
        EXPECT_EQ(GlassCompatButtonStyle::labelColor(true, appearance), QColor(Qt::white));
        EXPECT_EQ(GlassCompatButtonStyle::labelColor(false, appearance), Palette::ink().resolve(appearance));
        const QColor prominentEdge = GlassCompatButtonStyle::edgeColor(true, appearance);
        EXPECT_EQ(prominentEdge.rgb(), QColor(Qt::black).rgb());
        EXPECT_NEAR(prominentEdge.alphaF(), 0.12, 1e-3);
        EXPECT_EQ(GlassCompatButtonStyle::edgeColor(false, appearance), Palette::surfaceStroke().resolve(appearance));
    }
}

TEST(GlassCompatButton, TheAmberOfWarningsTakesDarkTextThatReadsAtLeastFourAndAHalfToOne)
{
    const struct {
        const AdaptiveColor* tint;
        bool darkLabel;
    } rows[] = {
        {&Palette::warning(), true},
        {&Palette::accent(), false},
        {&Palette::danger(), false},
    };
    for (const Appearance appearance : {Appearance::light, Appearance::dark}) {
        for (const auto& row : rows) {
            const QColor tint = row.tint->resolve(appearance);
            const QColor label = GlassCompatButtonStyle::labelColor(true, tint, appearance);
            EXPECT_EQ(label, row.darkLabel ? Palette::ink().light : QColor(Qt::white)) << tint.name().toStdString();
            EXPECT_EQ(GlassCompatButtonStyle::labelColor(false, tint, appearance), Palette::ink().resolve(appearance));
        }
        // Over the amber at the fill's resting opacity, on the glass veil.
        const QColor amber = Palette::warning().resolve(appearance);
        const qreal fill = GlassCompatButtonStyle::fill(true, false, false).opacity;
        const QColor veil = GlassSurface::material(appearance);
        const QColor under = appearance == Appearance::light ? QColor(Qt::white) : Palette::canvas().dark;
        const auto over = [](const QColor& top, qreal alpha, const QColor& below) {
            return QColor::fromRgbF(top.redF() * alpha + below.redF() * (1 - alpha),
                                    top.greenF() * alpha + below.greenF() * (1 - alpha),
                                    top.blueF() * alpha + below.blueF() * (1 - alpha));
        };
        const QColor drawn = over(amber, fill, over(veil, veil.alphaF(), under));
        EXPECT_GE(Contrast::ratio(GlassCompatButtonStyle::labelColor(true, amber, appearance), drawn), 4.5);
        EXPECT_LT(Contrast::ratio(Qt::white, drawn), 2.5);
    }
}

TEST(GlassCompatButton, ClicksCallOnceAndNotWhenDisabled)
{
    GlassCompatButton button(QStringLiteral("Clean"), true);
    button.resize(button.sizeHint());
    QSignalSpy clicks(&button, &QAbstractButton::clicked);
    QTest::mouseClick(&button, Qt::LeftButton, {}, button.rect().center());
    EXPECT_EQ(clicks.count(), 1);
    button.setEnabled(false);
    QTest::mouseClick(&button, Qt::LeftButton, {}, button.rect().center());
    EXPECT_EQ(clicks.count(), 1);
    EXPECT_EQ(button.accessibleName().isEmpty() ? button.text() : button.accessibleName(), QStringLiteral("Clean"));
    EXPECT_EQ(button.focusPolicy(), Qt::StrongFocus);
}

TEST(GlassCompatButton, HoverChangesTheFillAndDisablingOnlyDims)
{
    Motion::setReduceMotion(true);
    GlassCompatButton button(QStringLiteral("Scan"), true);
    button.resize(button.sizeHint());
    Palette::setOwnAppearance(&button, Appearance::light);
    const QImage rest = transparentRender(button);
    QEnterEvent enter(QPointF(4, 4), QPointF(4, 4), QPointF(4, 4));
    QCoreApplication::sendEvent(&button, &enter);
    EXPECT_TRUE(button.isHovering());
    EXPECT_EQ(button.currentFill(), (Fill{true, 0.90}));
    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(&button, &leave);
    EXPECT_FALSE(button.isHovering());

    button.setEnabled(false);
    const QImage dimmed = transparentRender(button);
    // A point of the capsule's fill left of the label.
    const QPoint probe(GlassCompatButton::kFocusMargin + 8, rest.height() / 2);
    EXPECT_NEAR(dimmed.pixelColor(probe).alphaF(), rest.pixelColor(probe).alphaF() * 0.45, 0.02);
    Motion::setReduceMotion(std::nullopt);
}

TEST(DisabledLayer, AControlIsDimmedAsOneLayerAtAnyRatio)
{
    for (const qreal ratio : {1.0, 2.0}) {
        QImage image((QSizeF(40, 20) * ratio).toSize(), QImage::Format_ARGB32_Premultiplied);
        image.setDevicePixelRatio(ratio);
        image.fill(Qt::transparent);
        {
            QPainter painter(&image);
            // Two opaque layers over each other, the second reaching the far corner.
            DisabledLayer::paint(painter, QSize(40, 20), ratio, [](QPainter& onto) {
                onto.fillRect(QRectF(0, 0, 30, 20), Qt::black);
                onto.fillRect(QRectF(10, 0, 30, 20), Qt::black);
            });
            // The painter is left as it was given.
            EXPECT_EQ(painter.opacity(), 1) << ratio;
        }
        for (const QPointF point : {QPointF(5, 10), QPointF(20, 10), QPointF(39.5, 19.5)}) {
            const QPoint pixel(int(point.x() * ratio), int(point.y() * ratio));
            EXPECT_NEAR(image.pixelColor(pixel).alphaF(), GlassCompatButtonStyle::kDisabledOpacity, 0.01)
                << ratio << " at " << point.x() << "," << point.y();
        }
    }
}

TEST(GlassCompatButton, TheLabelKeepsItsMinimumWidthWithAndWithoutSpinner)
{
    GlassCompatButton button(QStringLiteral("Go"), true);
    button.setMinimumLabelWidth(110);
    EXPECT_DOUBLE_EQ(button.labelWidth(), 110);
    const QSize plain = button.sizeHint();
    button.setShowsSpinner(true);
    EXPECT_DOUBLE_EQ(button.labelWidth(), 110);
    EXPECT_EQ(button.sizeHint(), plain);
    EXPECT_EQ(plain.width(), 110 + 32 + 4);
}

TEST(GlassCompatContainer, StacksCentredChildrenWithItsSpacing)
{
    GlassCompatContainer container(0);
    auto* first = new QWidget;
    first->setFixedSize(40, 10);
    auto* second = new QWidget;
    second->setFixedSize(80, 10);
    container.addWidget(first);
    container.addWidget(second);
    container.resize(200, 20);
    container.layout()->activate();
    EXPECT_EQ(first->geometry(), QRect(80, 0, 40, 10));
    EXPECT_EQ(second->geometry(), QRect(60, 10, 80, 10));
}
