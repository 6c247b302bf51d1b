#include "ui/cleaning/ProtectionView.h"
#include "engine/scanners/MalwareScanner.h"
#include "support/MarkingTranslator.h"
#include "ui/ScreenFixtures.h"
#include "ui/components/RoleLabel.h"

#include <gtest/gtest.h>

using namespace harborlite;
using namespace harborlite::test;

namespace {

using State = ProtectionPresentation::State;

const ScanCategory malware = ScanCategory::malware;

ReviewState withProgress(ReviewState state, const QString& message)
{
    state.progress[malware] = ScanProgress{0.5, message, 0};
    return state;
}

} // namespace

TEST(ProtectionViewPresentation, StateOrderAndThreatCount)
{
    struct Case {
        const char* name;
        ReviewState state;
        State expected;
        int threats;
        QString title;
        QString scanTitle;
    };
    const CategoryResult threats =
        result(malware,
               {group("Suspicious Launch Items", {item("x", 1)}), group("Known Threats", {item("a", 1), item("b", 1)}),
                group("Known Threats", {item("c", 1), item("d", 1), item("e", 1)})});
    const std::vector<Case> cases = {
        {"no result", reviewState({}), State::notScanned, 0, "Not scanned yet", "Scan Now"},
        {"running wins over threats", reviewState({threats}, {malware}), State::scanning, 2, "Scanning your Mac",
         "Stop Scan"},
        {"running without a result", reviewState({}, {malware}), State::scanning, 0, "Scanning your Mac", "Stop Scan"},
        {"only the first Known Threats group counts", reviewState({threats}), State::threatsFound, 2,
         "2 threat(s) found", "Scan Again"},
        {"one threat has no singular", reviewState({result(malware, {group("Known Threats", {item("a", 1)})})}),
         State::threatsFound, 1, "1 threat(s) found", "Scan Again"},
        {"a result without items is clean", reviewState({result(malware)}), State::clean, 0, "No known threats",
         "Scan Again"},
        {"items outside Known Threats are clean",
         reviewState({result(malware, {group("Suspicious Launch Items", {item("a", 1)})})}), State::clean, 0,
         "No known threats", "Scan Again"},
        {"the title must match exactly", reviewState({result(malware, {group("known threats", {item("a", 1)})})}),
         State::clean, 0, "No known threats", "Scan Again"},
    };
    for (const Case& c : cases) {
        const ProtectionPresentation shown = ProtectionPresentation::of(c.state);
        EXPECT_EQ(shown.state, c.expected) << c.name;
        EXPECT_EQ(shown.threatCount, c.threats) << c.name;
        EXPECT_EQ(shown.statusTitle, c.title) << c.name;
        EXPECT_EQ(shown.scan.title, c.scanTitle) << c.name;
        EXPECT_EQ(shown.scan.tint, c.expected == State::scanning ? PaletteRole::danger : PaletteRole::accent) << c.name;
    }
}

// The threats are the items of the scanner's known-threats group in whatever
// language the scanner named it, never a group of a fixed English title.
TEST(ProtectionViewPresentation, CountsThreatsInAnotherLanguage)
{
    const test::MarkingTranslator translator;
    const QString threats = MalwareScanner::knownThreatsTitle();
    ASSERT_EQ(threats, "[Known Threats]");
    const ProtectionPresentation shown = ProtectionPresentation::of(reviewState(
        {result(malware, {group("Known Threats", {item("x", 1)}), group(threats, {item("a", 1), item("b", 1)})})}));
    EXPECT_EQ(shown.state, State::threatsFound);
    EXPECT_EQ(shown.threatCount, 2);
    EXPECT_EQ(shown.statusTitle, "[2 threat(s) found]");
}

TEST(ProtectionViewPresentation, PanelTextsPerState)
{
    struct Case {
        ReviewState state;
        QString symbol;
        QString message;
        PaletteRole tint;
    };
    const std::vector<Case> cases = {
        {reviewState({}, {malware}), "shield.lefthalf.filled",
         "Checking launch agents, daemons, application support folders and installed apps.", PaletteRole::info},
        {reviewState({result(malware, {group("Known Threats", {item("a", 1)})})}), "exclamationmark.shield.fill",
         "Each item below matches a documented adware family. Review the names, then remove them.",
         PaletteRole::danger},
        {reviewState({}), "shield",
         "Harborlite checks against a list of documented adware and browser-hijacker families, and flags launch "
         "items that behave like persistence.",
         PaletteRole::inkTertiary},
        {reviewState({result(malware)}), "checkmark.shield.fill",
         "Nothing on this Mac matched the signature list. Suspicious launch items, if any, are listed below for "
         "review.",
         PaletteRole::accent},
    };
    for (const Case& c : cases) {
        const ProtectionPresentation shown = ProtectionPresentation::of(c.state);
        EXPECT_EQ(shown.statusSymbol, c.symbol);
        EXPECT_EQ(shown.statusMessage, c.message);
        EXPECT_EQ(shown.statusTint, c.tint);
    }
}

TEST(ProtectionViewPresentation, ProgressLineSectionAndBar)
{
    const QString detail = QStringLiteral("Removed items go to the Trash unless you changed the mode in Cleanup.");
    const CategoryResult launchItems =
        result(malware, {group("Known Threats", {}), group("Suspicious Launch Items", {item("a", 1), item("b", 1)})});
    struct Case {
        const char* name;
        ReviewState state;
        std::optional<QString> progressLine;
        bool showsSection;
        std::optional<ActionBarLook> bar;
    };
    ReviewState cleaning = reviewState({result(malware, {group("Known Threats", {item("a", 1, true)})})});
    cleaning.isCleaning = true;
    const std::vector<Case> cases = {
        {"not scanned", reviewState({}), std::nullopt, false, std::nullopt},
        {"running without a progress entry", reviewState({}, {malware}), QStringLiteral("Scanning\u2026"), false,
         std::nullopt},
        {"running with the model's message", withProgress(reviewState({}, {malware}), "Checking agents"),
         QStringLiteral("Checking agents"), false, std::nullopt},
        {"an empty result: section, no bar", reviewState({result(malware)}), std::nullopt, true, std::nullopt},
        {"items outside Known Threats are offered", reviewState({launchItems}), std::nullopt, true,
         ActionBarLook{"0 item(s) selected", detail, "Remove", false, false, PaletteRole::danger}},
        {"a rescan keeps the earlier result usable",
         withProgress(reviewState({result(malware, {group("Known Threats", {item("a", 1, true)})})}, {malware}),
                      "Starting\u2026"),
         QStringLiteral("Starting\u2026"), true,
         ActionBarLook{"1 item(s) selected", detail, "Remove", true, false, PaletteRole::danger}},
        {"busy while the model cleans", cleaning, std::nullopt, true,
         ActionBarLook{"1 item(s) selected", detail, "Remove", true, true, PaletteRole::danger}},
    };
    for (const Case& c : cases) {
        const ProtectionPresentation shown = ProtectionPresentation::of(c.state);
        EXPECT_EQ(shown.progressLine, c.progressLine) << c.name;
        EXPECT_EQ(shown.showsSection, c.showsSection) << c.name;
        EXPECT_EQ(shown.actionBar, c.bar) << c.name;
    }
}

TEST(ProtectionView, NotScannedScanningThreatsRemoveCycle)
{
    ScreenModel fake;
    AppModel& model = fake.model();
    ProtectionView view(model.scanSession(), model.monitorFeed(), fake.services());
    EXPECT_EQ(view.statusTitle()->text(), "Not scanned yet");
    EXPECT_EQ(shownScan(*view.scanButton()), (ScanButtonLook{"Scan Now", PaletteRole::accent, false}));
    EXPECT_TRUE(view.progressLine()->isHidden());
    EXPECT_TRUE(view.section()->isHidden());
    EXPECT_FALSE(shownBar(view));

    fake.script().hold(ScanCategory::malware);
    fake.script().setReports(ScanCategory::malware, {ScanProgress{0.2, "Checking launch agents", 0}});
    view.scanButton()->click();
    waitFor([&] { return model.progress().at(ScanCategory::malware).message == "Checking launch agents"; });
    settle();
    EXPECT_EQ(view.statusTitle()->text(), "Scanning your Mac");
    EXPECT_EQ(shownScan(*view.scanButton()), (ScanButtonLook{"Stop Scan", PaletteRole::danger, true}));
    EXPECT_FALSE(view.progressLine()->isHidden());
    EXPECT_EQ(view.progressLine()->text(), "Checking launch agents");

    fake.setGroups(ScanCategory::malware,
                   {group("Known Threats", {item("agent.plist", 10, true)}),
                    group("Suspicious Launch Items", {item("helper", 10)})});
    fake.script().release(ScanCategory::malware);
    waitFor([&] { return model.runningCategories().empty(); });
    settle();
    EXPECT_EQ(view.statusTitle()->text(), "1 threat(s) found");
    EXPECT_EQ(shownScan(*view.scanButton()).title, "Scan Again");
    EXPECT_TRUE(view.progressLine()->isHidden());
    EXPECT_FALSE(view.section()->isHidden());
    const QString detail = QStringLiteral("Removed items go to the Trash unless you changed the mode in Cleanup.");
    EXPECT_EQ(shownBar(view),
              (ActionBarLook{"1 item(s) selected", detail, "Remove", true, false, PaletteRole::danger}));

    fake.holdRemovals();
    ASSERT_TRUE(pressBar(view));
    settle();
    EXPECT_TRUE(shownBar(view)->isBusy);
    fake.releaseRemovals();
    fake.waitCleaned();
    ASSERT_EQ(fake.removals().size(), 1);
    EXPECT_EQ(fake.removals()[0].locations, QStringList{"/fixture/agent.plist"});
    EXPECT_EQ(view.statusTitle()->text(), "Not scanned yet");
    EXPECT_TRUE(view.section()->isHidden());
    EXPECT_FALSE(shownBar(view));
}

TEST(ProtectionView, ThePressDecidesFromTheModelAtThatMoment)
{
    ScreenModel fake;
    AppModel& model = fake.model();
    ProtectionView view(model.scanSession(), model.monitorFeed(), fake.services());
    fake.script().hold(ScanCategory::malware);
    model.scan(ScanCategory::malware);
    // Pressed before the screen has redrawn: the running scan is stopped.
    view.scanButton()->click();
    EXPECT_TRUE(model.runningCategories().empty());
    fake.script().wakeAll();
    waitFor([&] { return model.result(ScanCategory::malware).has_value(); });
    settle();
    EXPECT_EQ(shownScan(*view.scanButton()).title, "Scan Again");
    view.scanButton()->click();
    EXPECT_TRUE(model.runningCategories().contains(ScanCategory::malware));
}

TEST(ProtectionViewLook, RendersEachState)
{
    ScreenModel fake;
    const auto make = [&] { return new ProtectionView(fake.scans(), fake.feed(), fake.services()); };
    EXPECT_EQ(renderScreens(make, "protection-empty").size(), 2);
    fake.script().hold(ScanCategory::malware);
    fake.model().scan(ScanCategory::malware);
    settle();
    EXPECT_EQ(renderScreens(make, "protection-scanning").size(), 2);
    fake.setGroups(ScanCategory::malware,
                   {group("Known Threats", {item("com.adware.agent.plist", 4096, true)}),
                    group("Suspicious Launch Items", {item("updater.desktop", 512)})});
    fake.script().release(ScanCategory::malware);
    waitFor([&] { return fake.model().runningCategories().empty(); });
    settle();
    EXPECT_EQ(renderScreens(make, "protection-populated").size(), 2);
}
