#include "ui/components/EmptyStateView.h"
#include "ui/components/GlassCompatButton.h"
#include "ui/components/InnerCard.h"
#include "ui/components/RoleLabel.h"
#include "ui/components/ScreenHeader.h"
#include "ui/components/StatusPill.h"

#include <QLayout>
#include <QTest>

#include "TransparentRender.h"

#include <gtest/gtest.h>

using namespace harborlite;

TEST(StatusPill, SizeHugsTheTextAndTheOptionalSymbol)
{
    EXPECT_EQ(StatusPill::size({40, 15}, false), QSizeF(60, 25));
    EXPECT_EQ(StatusPill::size({40, 15}, true), QSizeF(75, 25));
    EXPECT_EQ(StatusPill::size({40, 8}, true), QSizeF(75, 20));

    StatusPill plain(QStringLiteral("Clean"), Palette::accent());
    StatusPill marked(QStringLiteral("Clean"), Palette::accent(), QStringLiteral("checkmark"));
    EXPECT_EQ(marked.sizeHint().width() - plain.sizeHint().width(), 15);
    EXPECT_EQ(plain.accessibleName(), QStringLiteral("Clean"));
}

TEST(StatusPill, TheCapsuleIsTheTintAtFourteenPercent)
{
    StatusPill pill(QStringLiteral("W"), Palette::warning());
    for (const Appearance appearance : {Appearance::light, Appearance::dark}) {
        Palette::setOwnAppearance(&pill, appearance);
        pill.resize(pill.sizeHint());
        const QImage image = transparentRender(pill);
        const QColor pixel = image.pixelColor(pill.width() - 6, pill.height() / 2);
        EXPECT_NEAR(pixel.alphaF(), 0.14, 0.01);
        const QColor tint = Palette::warning().resolve(appearance);
        EXPECT_NEAR(pixel.redF(), tint.redF(), 0.06);
        EXPECT_NEAR(pixel.greenF(), tint.greenF(), 0.06);
    }
}

TEST(ScreenHeader, TheSymbolIsOptionalAndSitsOnTheBaseline)
{
    EXPECT_DOUBLE_EQ(ScreenHeader::symbolTopOffset(29, 24), 5);
    EXPECT_DOUBLE_EQ(ScreenHeader::symbolTopOffset(20, 24), 0);
    ScreenHeader bare(QStringLiteral("Cleanup"), QStringLiteral("Sub"));
    EXPECT_EQ(bare.symbolView(), nullptr);
    ScreenHeader marked(QStringLiteral("Cleanup"), QStringLiteral("Sub"), QStringLiteral("trash"));
    ASSERT_NE(marked.symbolView(), nullptr);
    marked.resize(600, 100);
    marked.layout()->activate();
    EXPECT_EQ(marked.titleLabel()->x(), marked.symbolView()->width() + ScreenHeader::kSpacing);
    EXPECT_EQ(bare.titleLabel()->text(), QStringLiteral("Cleanup"));
    EXPECT_TRUE(marked.subtitleLabel()->wordWrap());
}

TEST(EmptyStateView, TheButtonNeedsBothATitleAndAnAction)
{
    const auto action = [] {};
    EXPECT_TRUE(EmptyStateView::showsButton(QStringLiteral("Scan"), action));
    EXPECT_FALSE(EmptyStateView::showsButton(QStringLiteral("Scan"), {}));
    EXPECT_FALSE(EmptyStateView::showsButton(std::nullopt, action));
    EXPECT_FALSE(EmptyStateView::showsButton(std::nullopt, {}));

    EmptyStateView titleOnly(QStringLiteral("trash"), QStringLiteral("T"), QStringLiteral("M"), QStringLiteral("Go"));
    EXPECT_EQ(titleOnly.button(), nullptr);

    int calls = 0;
    EmptyStateView full(QStringLiteral("trash"), QStringLiteral("T"), QStringLiteral("M"), QStringLiteral("Go"),
                        [&calls] { ++calls; });
    ASSERT_NE(full.button(), nullptr);
    EXPECT_TRUE(full.button()->isProminent());
    full.resize(800, 600);
    full.layout()->activate();
    QTest::mouseClick(full.button(), Qt::LeftButton, {}, full.button()->rect().center());
    EXPECT_EQ(calls, 1);
}

TEST(EmptyStateView, TheMessageWrapsWithin340AndTheStackIsCentred)
{
    EXPECT_EQ(EmptyStateView::messageWidth(1000), 340);
    EXPECT_EQ(EmptyStateView::messageWidth(200), 200);
    EXPECT_EQ(EmptyStateView::messageWidth(-5), 0);
    EmptyStateView view(QStringLiteral("trash"), QStringLiteral("Nothing here"),
                        QStringLiteral("A long message that certainly needs more than one line when it may be no "
                                       "wider than three hundred and forty pixels."));
    view.resize(1200, 900);
    view.show();
    view.layout()->activate();
    EXPECT_EQ(view.messageLabel()->width(), 340);
    EXPECT_GT(view.messageLabel()->height(), 2 * view.messageLabel()->fontMetrics().height());
    EXPECT_EQ(view.messageLabel()->geometry().center().x(), view.rect().center().x());
    const int middle = view.titleLabel()->geometry().center().y();
    EXPECT_NEAR(middle, view.height() / 2, 80);
}

TEST(InnerCard, PlainAndHighlightedLooks)
{
    EXPECT_EQ(InnerCard::look(false), (InnerCardLook{PaletteRole::innerFill, 1, PaletteRole::hairline, 1}));
    EXPECT_EQ(InnerCard::look(true), (InnerCardLook{PaletteRole::mint, 0.55, PaletteRole::accent, 0.35}));
}

TEST(InnerCard, HighlightingChangesColoursOnlyAndTheBorderStaysInside)
{
    InnerCard card(0, false);
    Palette::setOwnAppearance(&card, Appearance::light);
    auto* content = new QWidget;
    content->setFixedSize(60, 20);
    auto* layout = new QHBoxLayout(&card);
    layout->setContentsMargins(10, 10, 10, 10);
    layout->addWidget(content);
    card.resize(80, 40);
    layout->activate();
    const QRect before = content->geometry();
    const QImage plain = transparentRender(card);
    card.setHighlighted(true);
    layout->activate();
    EXPECT_EQ(content->geometry(), before);
    const QImage highlighted = transparentRender(card);
    // With radius 0 the border's 0.8 line covers the very first column.
    EXPECT_GT(plain.pixelColor(0, 20).alpha(), 150);
    EXPECT_NE(plain.pixelColor(0, 20), highlighted.pixelColor(0, 20));
    EXPECT_NE(plain.pixelColor(40, 5), highlighted.pixelColor(40, 5));
}
