#include "ui/shell/FullDiskAccessCard.h"

#include "ui/components/GlassCompatButton.h"
#include "ui/components/RoleLabel.h"

#include <QCoreApplication>
#include <QTest>

#include <gtest/gtest.h>

using namespace harborlite;

namespace {

struct Recorder {
    int rechecks = 0;
    int settingsOpened = 0;
    QList<QStringList> revealed;

    FullDiskAccessCard::Desktop desktop()
    {
        return {[this] { ++settingsOpened; }, [this](const QStringList& paths) { revealed.append(paths); }};
    }
};

} // namespace

TEST(FullDiskAccessCard, EachButtonDoesItsOneThing)
{
    Recorder recorder;
    FullDiskAccessCard card([&] { ++recorder.rechecks; }, recorder.desktop());
    card.resize(800, card.heightForWidth(800) > 0 ? card.heightForWidth(800) : 160);
    card.show();

    QTest::mouseClick(card.openSettingsButton(), Qt::LeftButton);
    EXPECT_EQ(recorder.settingsOpened, 1);
    EXPECT_TRUE(recorder.revealed.isEmpty());
    EXPECT_EQ(recorder.rechecks, 0);

    QTest::mouseClick(card.revealButton(), Qt::LeftButton);
    EXPECT_EQ(recorder.revealed, (QList<QStringList>{{QCoreApplication::applicationFilePath()}}));

    QTest::mouseClick(card.checkAgainButton(), Qt::LeftButton);
    QTest::mouseClick(card.checkAgainButton(), Qt::LeftButton);
    EXPECT_EQ(recorder.rechecks, 2);
    EXPECT_EQ(recorder.settingsOpened, 1);
}

TEST(FullDiskAccessCard, WithNothingToOpenTheSettingsTheButtonIsLeftOut)
{
    Recorder recorder;
    FullDiskAccessCard::Desktop desktop = recorder.desktop();
    desktop.openSettings = {};
    FullDiskAccessCard card([] {}, std::move(desktop));
    card.resize(800, card.heightForWidth(800));
    card.show();
    QCoreApplication::processEvents();
    EXPECT_FALSE(card.openSettingsButton()->isVisible());
    EXPECT_TRUE(card.revealButton()->isVisible());
    EXPECT_TRUE(card.checkAgainButton()->isVisible());
    // The remaining buttons lead the row.
    EXPECT_LT(card.revealButton()->x(), card.checkAgainButton()->x());
    EXPECT_LE(card.revealButton()->x(), card.titleLabel()->x() + 2);
}

TEST(FullDiskAccessCard, ExplanationWrapsInANarrowCardAndIsNeverCut)
{
    Recorder recorder;
    FullDiskAccessCard card([] {}, recorder.desktop());
    EXPECT_EQ(card.titleLabel()->text(), QStringLiteral("Grant Full Disk Access to scan everything"));
    EXPECT_EQ(card.explanationLabel()->text(),
              QStringLiteral("macOS hides the Trash, Mail, Safari and app containers from apps without it. "
                             "Harborlite will keep working, but those areas will look empty."));
    EXPECT_EQ(card.openSettingsButton()->text(), QStringLiteral("Open System Settings"));
    EXPECT_EQ(card.revealButton()->text(), QStringLiteral("Reveal Harborlite"));
    EXPECT_EQ(card.checkAgainButton()->text(), QStringLiteral("Check Again"));

    const int narrow = card.minimumSizeHint().width();
    ASSERT_TRUE(card.hasHeightForWidth());
    card.resize(narrow, card.heightForWidth(narrow));
    card.show();
    QCoreApplication::processEvents();
    const RoleLabel* text = card.explanationLabel();
    const int line = text->fontMetrics().height();
    EXPECT_GE(text->height(), 2 * line);
    EXPECT_GE(text->height(), text->heightForWidth(text->width()));
    // The three buttons share one line.
    EXPECT_EQ(card.openSettingsButton()->y(), card.checkAgainButton()->y());
    EXPECT_LE(card.checkAgainButton()->geometry().right(), card.width());
}
