#include "ui/cleaning/CategorySummaryCard.h"
#include "support/MarkingTranslator.h"
#include "support/QtPrinters.h"
#include "ui/components/ProgressRing.h"

#include <QEnterEvent>
#include <QTest>

#include <gtest/gtest.h>

using namespace harborlite;
using Trailing = SummaryCardLook::Trailing;

namespace {

CategoryResult result(ScanCategory category, QList<qint64> sizes)
{
    ScanGroup group;
    for (qint64 size : sizes) {
        ScanItem item;
        item.size = size;
        item.isSelected = false;
        group.items.append(item);
    }
    return {category, {group}, QDateTime::currentDateTimeUtc()};
}

} // namespace

// A category's title and blurb are kept untranslated until shown, so that
// they are shown in the language of the moment.
TEST(CategorySummaryCard, TitleAndBlurbAreShownTranslated)
{
    const test::MarkingTranslator translator;
    const SummaryCardLook shown = CategorySummaryCard::look(ScanCategory::trash, std::nullopt, false);
    EXPECT_EQ(shown.title, "[Trash Bins]");
    EXPECT_EQ(shown.statusText, "[Everything sitting in the Trash on every mounted volume.]");
}

TEST(CategorySummaryCard, LookFollowsTheFirstMatchingState)
{
    struct Case {
        const char* name;
        ScanCategory category;
        std::optional<CategoryResult> result;
        bool running;
        QString status;
        PaletteRole tint;
        Trailing trailing;
        QString size;
    };
    const std::vector<Case> cases = {
        {"never scanned",
         ScanCategory::trash,
         std::nullopt,
         false,
         QStringLiteral("Everything sitting in the Trash on every mounted volume."),
         PaletteRole::accent,
         Trailing::nothing,
         {}},
        {"scanning first time",
         ScanCategory::trash,
         std::nullopt,
         true,
         QStringLiteral("Scanning\u2026"),
         PaletteRole::accent,
         Trailing::spinner,
         {}},
        {"scanning over a result",
         ScanCategory::leftovers,
         result(ScanCategory::leftovers, {5}),
         true,
         QStringLiteral("Scanning\u2026"),
         PaletteRole::accent,
         Trailing::spinner,
         {}},
        {"one item", ScanCategory::systemJunk, result(ScanCategory::systemJunk, {2'500'000}), false,
         QStringLiteral("1 item(s) found"), PaletteRole::accent, Trailing::size, QStringLiteral("2.5 MB")},
        {"items of no size", ScanCategory::installers, result(ScanCategory::installers, {0, 0, 0}), false,
         QStringLiteral("3 item(s) found"), PaletteRole::accent, Trailing::size, QStringLiteral("0 KB")},
        {"a thousand items, no grouping", ScanCategory::privacy,
         result(ScanCategory::privacy, QList<qint64>(1000, 1000)), false, QStringLiteral("1000 item(s) found"),
         PaletteRole::accent, Trailing::size, QStringLiteral("1 MB")},
        {"nothing found",
         ScanCategory::privacy,
         result(ScanCategory::privacy, {}),
         false,
         QStringLiteral("Nothing to clean"),
         PaletteRole::accent,
         Trailing::checkmark,
         {}},
        {"no groups at all",
         ScanCategory::downloadedMedia,
         CategoryResult{ScanCategory::downloadedMedia, {}, {}},
         false,
         QStringLiteral("Nothing to clean"),
         PaletteRole::accent,
         Trailing::checkmark,
         {}},
        {"malware clean",
         ScanCategory::malware,
         result(ScanCategory::malware, {}),
         false,
         QStringLiteral("No threats found"),
         PaletteRole::accent,
         Trailing::checkmark,
         {}},
        {"malware threats", ScanCategory::malware, result(ScanCategory::malware, {100, 200}), false,
         QStringLiteral("2 item(s) found"), PaletteRole::danger, Trailing::size, QStringLiteral("300 bytes")},
        {"malware rescanned keeps danger",
         ScanCategory::malware,
         result(ScanCategory::malware, {100}),
         true,
         QStringLiteral("Scanning\u2026"),
         PaletteRole::danger,
         Trailing::spinner,
         {}},
    };
    for (const Case& c : cases) {
        const SummaryCardLook look = CategorySummaryCard::look(c.category, c.result, c.running);
        EXPECT_EQ(look.title, title(c.category)) << c.name;
        EXPECT_EQ(look.symbol, symbol(c.category)) << c.name;
        EXPECT_EQ(look.statusText, c.status) << c.name;
        EXPECT_EQ(look.statusTint, c.tint) << c.name;
        EXPECT_EQ(look.trailing, c.trailing) << c.name;
        EXPECT_EQ(look.sizeText, c.size) << c.name;
    }
}

TEST(CategorySummaryCard, NeverScannedShowsEachCategorysDescription)
{
    const std::vector<std::pair<ScanCategory, QString>> blurbs = {
        {ScanCategory::systemJunk, QStringLiteral("Caches, logs, broken preferences and developer leftovers.")},
        {ScanCategory::trash, QStringLiteral("Everything sitting in the Trash on every mounted volume.")},
        {ScanCategory::mailAttachments, QStringLiteral("Local copies of attachments Mail can download again.")},
        {ScanCategory::largeAndOld, QStringLiteral("Files over 50 MB you have not opened in a long time.")},
        {ScanCategory::privacy, QStringLiteral("Browsing history, cookies and recent-item lists.")},
        {ScanCategory::leftovers, QStringLiteral("Support files from applications that are no longer installed.")},
        {ScanCategory::malware, QStringLiteral("Known adware, browser hijackers and unwanted launch agents.")},
        {ScanCategory::duplicates, QStringLiteral("Files whose contents are byte for byte identical.")},
        {ScanCategory::installers,
         QStringLiteral("Disk images and installer packages for software already installed.")},
        {ScanCategory::downloadedMedia,
         QStringLiteral("Podcast, TV and Music downloads, and photo caches that rebuild.")},
        {ScanCategory::deviceBackups, QStringLiteral("iPhone and iPad backups and their software updates.")},
    };
    ASSERT_EQ(blurbs.size(), ScanCategories::allCases.size());
    for (const auto& [category, text] : blurbs) {
        EXPECT_EQ(CategorySummaryCard::look(category, std::nullopt, false).statusText, text)
            << rawValue(category).toStdString();
    }
}

TEST(CategorySummaryCard, ClickRunsTheActionOnceAndHoverHighlights)
{
    int clicks = 0;
    CategorySummaryCard card(ScanCategory::trash, std::nullopt, false, [&] { ++clicks; });
    card.resize(300, card.sizeHint().height());
    card.show();
    QTest::mouseClick(&card, Qt::LeftButton);
    EXPECT_EQ(clicks, 1);

    EXPECT_FALSE(card.isHovering());
    QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
    QCoreApplication::sendEvent(&card, &enter);
    EXPECT_TRUE(card.isHovering());
    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(&card, &leave);
    EXPECT_FALSE(card.isHovering());
}

TEST(CategorySummaryCard, SpinnerShowsOnlyWhileRunningAndHoverSurvivesUpdates)
{
    CategorySummaryCard card(ScanCategory::malware, std::nullopt, false, {});
    card.resize(300, card.sizeHint().height());
    card.show();
    auto* spinner = card.findChild<ProgressRing*>(QStringLiteral("cardSpinner"));
    ASSERT_NE(spinner, nullptr);
    EXPECT_FALSE(spinner->isVisible());

    QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
    QCoreApplication::sendEvent(&card, &enter);
    card.setState(std::nullopt, true);
    EXPECT_TRUE(spinner->isVisible());
    EXPECT_TRUE(spinner->isIndeterminate());
    EXPECT_TRUE(card.isHovering());
    EXPECT_EQ(spinner->geometry().right(), card.width() - CategorySummaryCard::kPadding - 1);

    card.setState(result(ScanCategory::malware, {}), false);
    EXPECT_FALSE(spinner->isVisible());
    EXPECT_EQ(card.currentLook().statusText, QStringLiteral("No threats found"));
    EXPECT_TRUE(card.isHovering());
}

TEST(CategorySummaryCard, ALongTitleWrapsAndTheCardGrowsRatherThanCutIt)
{
    CategorySummaryCard card(ScanCategory::installers, result(ScanCategory::installers, {12'400'000}), false, [] {});
    // Three columns in the widest grid leave a card about 274 wide.
    EXPECT_EQ(card.titleLines(274), 2);
    EXPECT_EQ(card.titleLines(420), 1);
    EXPECT_GT(card.heightForWidth(274), card.heightForWidth(420));
    EXPECT_EQ(card.heightForWidth(420), card.sizeHint().height());
    EXPECT_TRUE(card.hasHeightForWidth());
    // A short title never wraps at the narrowest column the grid allows.
    CategorySummaryCard trash(ScanCategory::trash, result(ScanCategory::trash, {12'400'000}), false, [] {});
    EXPECT_EQ(trash.titleLines(250), 1);
}
