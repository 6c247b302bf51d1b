#include "model/ScanSession.h"
#include "model/FakeServices.h"
#include "support/QtPrinters.h"

#include <gtest/gtest.h>

#include <memory>

using namespace harborlite;
using harborlite::test::Gate;
using harborlite::test::ScanScript;
using harborlite::test::SignalCount;
using harborlite::test::waitFor;

namespace {

const QString ellipsis = QString(QChar(0x2026));

class ScanSessionTest : public ::testing::Test {
protected:
    ScanScript script;
    std::shared_ptr<test::FakeServices> services = std::make_shared<test::FakeServices>();
    std::shared_ptr<BackgroundRunner> runner = std::make_shared<BackgroundRunner>(8);
    std::unique_ptr<ScanSession> session;
    QList<std::shared_ptr<Gate>> heldGates;

    ~ScanSessionTest() override
    {
        for (const auto& gate : heldGates) {
            gate->open();
        }
        script.releaseAll();
        services->openGates();
        session.reset();
        runner->waitForDone();
        QCoreApplication::sendPostedEvents();
    }

    ModelEngine engine() { return test::scriptedEngine(script, services); }

    ScanSession& makeSession()
    {
        session = std::make_unique<ScanSession>(engine().scanSession(), runner);
        return *session;
    }

    bool idle(ScanCategory category) const { return !session->runningCategories().contains(category); }
    bool hasResult(ScanCategory category) const { return session->result(category).has_value(); }
    QString itemName(ScanCategory category) const
    {
        return session->result(category)->groups.at(0).items.at(0).displayName;
    }
};

} // namespace

TEST_F(ScanSessionTest, AFreshSessionHoldsTheInitialValues)
{
    const ScanSession& fresh = makeSession();

    EXPECT_TRUE(fresh.results().empty());
    EXPECT_TRUE(fresh.progress().empty());
    EXPECT_TRUE(fresh.runningCategories().empty());
    EXPECT_EQ(fresh.smartScanProgress(), 0);
    EXPECT_EQ(fresh.smartScanMessage(), "Ready to scan");
    EXPECT_FALSE(fresh.isSmartScanning());
    EXPECT_FALSE(fresh.lastSmartScan());
    EXPECT_FALSE(fresh.lastReport());
    EXPECT_FALSE(fresh.isCleaning());
    EXPECT_EQ(fresh.cleanupMode(), Remover::Mode::trash);
}

// Scans ---------------------------------------------------------------------

TEST_F(ScanSessionTest, AScanStartedTwiceRunsOnceAndKeepsItsLastProgress)
{
    makeSession();
    script.hold(ScanCategory::trash);
    script.setReports(ScanCategory::trash, {{0.5, "Reading", 10}, {1.0, "Done", 20}});
    SignalCount resultsChanged(session.get(), &ScanSession::resultsChanged);

    session->scan(ScanCategory::trash);
    const ScanProgress starting = session->progress().at(ScanCategory::trash);
    EXPECT_EQ(starting.fraction, 0);
    EXPECT_EQ(starting.message, "Starting" + ellipsis);
    EXPECT_EQ(starting.bytesFound, 0);
    session->scan(ScanCategory::trash);
    EXPECT_TRUE(session->runningCategories().contains(ScanCategory::trash));

    script.release(ScanCategory::trash);
    waitFor([&] { return hasResult(ScanCategory::trash); });

    EXPECT_EQ(script.started(ScanCategory::trash), 1);
    EXPECT_TRUE(idle(ScanCategory::trash));
    EXPECT_EQ(session->progress().at(ScanCategory::trash).message, "Done");
    EXPECT_EQ(session->progress().at(ScanCategory::trash).bytesFound, 20);
    EXPECT_EQ(resultsChanged.count(), 1);
}

TEST_F(ScanSessionTest, TheSmartScanRunsItsEightCategoriesInOrder)
{
    makeSession();
    script.hold(ScanCategory::mailAttachments);
    script.setReports(ScanCategory::mailAttachments, {{0.5, "Half way", 0}});

    session->startSmartScan();
    EXPECT_TRUE(session->isSmartScanning());
    session->startSmartScan();
    waitFor([&] { return session->smartScanMessage() == "Half way"; });
    EXPECT_EQ(session->smartScanProgress(), 0.3125);
    EXPECT_TRUE(hasResult(ScanCategory::trash));
    EXPECT_FALSE(hasResult(ScanCategory::installers));

    script.release(ScanCategory::mailAttachments);
    waitFor([&] { return !session->isSmartScanning(); });

    EXPECT_EQ(session->smartScanProgress(), 1.0);
    EXPECT_EQ(session->smartScanMessage(), "Scan complete");
    EXPECT_TRUE(session->lastSmartScan());
    EXPECT_EQ(session->results().size(), 8u);
    EXPECT_TRUE(session->runningCategories().empty());
    EXPECT_EQ(script.started(ScanCategory::systemJunk), 1);
    EXPECT_EQ(script.started(ScanCategory::largeAndOld), 0);
}

TEST_F(ScanSessionTest, TheSmartScanShowsWhichCategoryItScansUntilItsScannerReports)
{
    makeSession();
    script.hold(ScanCategory::systemJunk);

    session->startSmartScan();

    EXPECT_EQ(session->smartScanMessage(), "Scanning System Junk" + ellipsis);
    EXPECT_TRUE(session->runningCategories().contains(ScanCategory::systemJunk));
    EXPECT_FALSE(session->progress().contains(ScanCategory::systemJunk));
}

TEST_F(ScanSessionTest, StopDuringTheFourthCategoryKeepsWhatWasFoundAndNeverResumes)
{
    makeSession();
    script.hold(ScanCategory::installers);
    script.hold(ScanCategory::downloadedMedia);

    session->startSmartScan();
    waitFor([&] { return session->runningCategories().contains(ScanCategory::installers); });
    session->cancelScan();
    EXPECT_FALSE(session->isSmartScanning());
    EXPECT_EQ(session->smartScanMessage(), "Scan cancelled");
    session->cancelScan();
    script.wakeAll();
    waitFor([&] { return session->lastSmartScan().has_value(); });

    EXPECT_EQ(itemName(ScanCategory::mailAttachments), "whole");
    EXPECT_EQ(itemName(ScanCategory::installers), "partial");
    EXPECT_FALSE(hasResult(ScanCategory::downloadedMedia));
    EXPECT_EQ(session->smartScanProgress(), 1.0);
    EXPECT_EQ(session->smartScanMessage(), "Scan cancelled");
    EXPECT_FALSE(session->isSmartScanning());

    // A scan started afterwards does not wake the stopped smart scan.
    session->scan(ScanCategory::trash);
    waitFor([&] { return idle(ScanCategory::trash); });
    EXPECT_EQ(script.started(ScanCategory::downloadedMedia), 0);
}

TEST_F(ScanSessionTest, StopWhenNothingRunsOnlyResetsTheFlags)
{
    makeSession();
    SignalCount messageChanged(session.get(), &ScanSession::smartScanMessageChanged);
    SignalCount cancelled(session.get(), &ScanSession::scansCancelled);

    session->cancelScan();
    session->cancelScan();

    EXPECT_EQ(session->smartScanMessage(), "Scan cancelled");
    EXPECT_FALSE(session->isSmartScanning());
    EXPECT_TRUE(session->runningCategories().empty());
    EXPECT_EQ(messageChanged.count(), 2);
    EXPECT_EQ(cancelled.count(), 2);
}

TEST_F(ScanSessionTest, AStoppedScanFinishingLateNeverOverwritesItsSuccessor)
{
    makeSession();
    const std::shared_ptr<Gate> stopped = script.hold(ScanCategory::trash);
    heldGates.append(stopped);
    session->scan(ScanCategory::trash);
    script.waitStarted(ScanCategory::trash);
    session->cancelScan();

    // The stopped scan still waits when the new one starts and ends.
    script.hold(ScanCategory::trash);
    session->scan(ScanCategory::trash);
    script.release(ScanCategory::trash);
    waitFor([&] { return hasResult(ScanCategory::trash); });
    stopped->open();
    runner->waitForDone();
    QCoreApplication::sendPostedEvents();

    EXPECT_EQ(script.started(ScanCategory::trash), 2);
    EXPECT_EQ(itemName(ScanCategory::trash), "whole");
    EXPECT_TRUE(idle(ScanCategory::trash));
}

TEST_F(ScanSessionTest, AStoppedSmartScanEndingLateLeavesTheNewOneRunning)
{
    makeSession();
    heldGates.append(script.hold(ScanCategory::systemJunk));
    session->startSmartScan();
    script.waitStarted(ScanCategory::systemJunk);
    session->cancelScan();
    script.wakeAll();
    runner->waitForDone();

    // The stopped scan's result is queued when the new smart scan starts.
    script.hold(ScanCategory::systemJunk);
    session->startSmartScan();
    QCoreApplication::sendPostedEvents();

    EXPECT_TRUE(session->isSmartScanning());
    EXPECT_EQ(session->smartScanMessage(), "Scanning System Junk" + ellipsis);
    EXPECT_FALSE(hasResult(ScanCategory::systemJunk));
    EXPECT_FALSE(session->lastSmartScan());
    EXPECT_TRUE(session->runningCategories().contains(ScanCategory::systemJunk));
}

// Selection and cleanup -----------------------------------------------------

namespace {

ScanItem item(const QString& url, qint64 size, bool selected)
{
    ScanItem made;
    made.url = url;
    made.displayName = url;
    made.size = size;
    made.isSelected = selected;
    return made;
}

CategoryResult resultWith(ScanCategory category, QList<ScanGroup> groups)
{
    return {category, std::move(groups), QDateTime::currentDateTimeUtc()};
}

} // namespace

class ScanSessionSelectionTest : public ScanSessionTest {
protected:
    // Scanners of the placed categories return the placed result.
    class Fixed : public CategoryScanner {
    public:
        explicit Fixed(CategoryResult result)
            : result_(std::move(result))
        {
        }
        ScanCategory category() const override { return result_.category; }
        CategoryResult scan(const ProgressCallback&, const CancelPredicate&) const override { return result_; }

    private:
        CategoryResult result_;
    };

    void SetUp() override
    {
        ModelEngine made = engine();
        made.scanner = [this](ScanCategory category) -> std::unique_ptr<CategoryScanner> {
            const auto found = fixed.find(category);
            if (found != fixed.end()) {
                return std::make_unique<Fixed>(found->second);
            }
            return script.scanner(category);
        };
        session = std::make_unique<ScanSession>(made.scanSession(), runner);
    }

    // Stores the result in the session through a scan.
    void place(const CategoryResult& result)
    {
        fixed.insert_or_assign(result.category, result);
        session->scan(result.category);
        waitFor([&] { return idle(result.category); });
    }

    std::map<ScanCategory, CategoryResult> fixed;
};

TEST_F(ScanSessionTest, SelectionEditsChangeTheStoredResultInPlaceAndSayWhatChanged)
{
    makeSession();
    // A group of five with three selected, an empty group and an unknown one.
    ScanGroup mixed;
    mixed.items = {item("/a", 1, true), item("/b", 2, true), item("/c", 3, true), item("/d", 4, false),
                   item("/e", 5, false)};
    ScanGroup empty;
    script.hold(ScanCategory::systemJunk);
    session->scan(ScanCategory::systemJunk);
    script.release(ScanCategory::systemJunk);
    waitFor([&] { return hasResult(ScanCategory::systemJunk); });
    const ScanGroup scanned = session->result(ScanCategory::systemJunk)->groups.at(0);
    SignalCount resultsChanged(session.get(), &ScanSession::resultsChanged);
    SignalCount willChange(session.get(), &ScanSession::objectWillChange);
    QList<std::pair<ScanCategory, QUuid>> selections;
    QList<std::pair<ScanCategory, QUuid>> expansions;
    QObject::connect(session.get(), &ScanSession::selectionChanged, [&](ScanCategory category, const QUuid& id) {
        selections.append({category, id});
    });
    QObject::connect(session.get(), &ScanSession::expansionChanged, [&](ScanCategory category, const QUuid& id) {
        expansions.append({category, id});
    });
    const auto junk = [](const QUuid& id) { return std::pair{ScanCategory::systemJunk, id}; };

    // Items and groups are found by id only; an unknown item is announced
    // all the same.
    const ScanItem unknown = item("/unknown", 1, true);
    session->toggleItem(scanned.items.at(0), ScanCategory::systemJunk);
    EXPECT_FALSE(session->result(ScanCategory::systemJunk)->groups.at(0).items.at(0).isSelected);
    session->toggleItem(unknown, ScanCategory::systemJunk);
    EXPECT_FALSE(session->result(ScanCategory::systemJunk)->groups.at(0).items.at(0).isSelected);
    EXPECT_EQ(selections, (QList{junk(scanned.items.at(0).id), junk(unknown.id)}));

    session->toggleGroup(scanned, ScanCategory::systemJunk);
    EXPECT_EQ(session->result(ScanCategory::systemJunk)->groups.at(0).selectionState(), ScanGroup::SelectionState::all);
    session->toggleGroup(scanned, ScanCategory::systemJunk);
    EXPECT_EQ(session->result(ScanCategory::systemJunk)->groups.at(0).selectionState(),
              ScanGroup::SelectionState::none);
    session->toggleGroup(mixed, ScanCategory::systemJunk);
    session->setExpanded(true, mixed, ScanCategory::systemJunk);
    EXPECT_EQ(selections.size(), 4);
    EXPECT_EQ(selections.last(), junk(scanned.id));
    EXPECT_TRUE(expansions.isEmpty());

    session->setExpanded(true, scanned, ScanCategory::systemJunk);
    session->setExpanded(true, scanned, ScanCategory::systemJunk);
    EXPECT_TRUE(session->result(ScanCategory::systemJunk)->groups.at(0).isExpanded);
    EXPECT_EQ(expansions, (QList{junk(scanned.id), junk(scanned.id)}));
    EXPECT_EQ(willChange.count(), 6);

    // A category without a result is left alone.
    session->toggleItem(scanned.items.at(0), ScanCategory::trash);
    session->toggleGroup(empty, ScanCategory::trash);
    EXPECT_EQ(willChange.count(), 6);
    EXPECT_EQ(selections.size(), 4);
    EXPECT_FALSE(hasResult(ScanCategory::trash));
    EXPECT_EQ(resultsChanged.count(), 0);
}

TEST_F(ScanSessionTest, AnEditLeavesACopyTakenBeforeItAsItWas)
{
    makeSession();
    session->scan(ScanCategory::trash);
    waitFor([&] { return hasResult(ScanCategory::trash); });
    const std::optional<CategoryResult> before = session->result(ScanCategory::trash);

    session->toggleItem(before->groups.at(0).items.at(0), ScanCategory::trash);
    session->setExpanded(true, before->groups.at(0), ScanCategory::trash);

    EXPECT_TRUE(before->groups.at(0).items.at(0).isSelected);
    EXPECT_FALSE(before->groups.at(0).isExpanded);
    EXPECT_FALSE(session->result(ScanCategory::trash)->groups.at(0).items.at(0).isSelected);
    EXPECT_TRUE(session->result(ScanCategory::trash)->groups.at(0).isExpanded);
}

TEST_F(ScanSessionSelectionTest, TogglingAGroupSelectsAllUnlessAllAreSelected)
{
    ScanGroup mixed;
    mixed.items = {item("/a", 1, true), item("/b", 2, true), item("/c", 3, true), item("/d", 4, false),
                   item("/e", 5, false)};
    ScanGroup empty;
    place(resultWith(ScanCategory::leftovers, {mixed, empty}));
    SignalCount selectionChanged(session.get(), &ScanSession::selectionChanged);

    session->toggleGroup(mixed, ScanCategory::leftovers);
    EXPECT_EQ(session->result(ScanCategory::leftovers)->selectedCount(), 5);
    session->toggleGroup(mixed, ScanCategory::leftovers);
    EXPECT_EQ(session->result(ScanCategory::leftovers)->selectedCount(), 0);
    session->toggleGroup(empty, ScanCategory::leftovers);
    EXPECT_EQ(selectionChanged.count(), 3);
}

TEST_F(ScanSessionSelectionTest, TotalsCountEveryItemSelectedOrNot)
{
    ScanGroup group;
    group.items = {item("/a", 100, false), item("/b", 50, true)};
    place(resultWith(ScanCategory::duplicates, {group}));

    EXPECT_EQ(session->totalJunk(), 0);
    EXPECT_EQ(session->reclaimable(), 150);

    place(resultWith(ScanCategory::trash, {group}));
    EXPECT_EQ(session->totalJunk(), 150);
    EXPECT_EQ(session->reclaimable(), 300);
}

TEST_F(ScanSessionSelectionTest, CleanRemovesTheSelectionAndReportsWithABanner)
{
    struct Case {
        CleanupReport report;
        QString title;
        QString message;
    };
    const std::vector<Case> cases{
        {{2'500'000, 2, {}, 0.1}, "Cleanup complete", "2.5 MB reclaimed from 2 item(s)."},
        {{0, 2, {{"/x", "Protected"}}, 0.1},
         "Cleanup finished with skips",
         "0 KB reclaimed from 2 item(s). 1 item(s) were protected and left alone."},
        {{-5, 0, {}, 0.1}, "Cleanup complete", "0 KB reclaimed from 0 item(s)."},
    };
    ScanGroup first;
    first.items = {item("/junk/a", 10, true), item("/junk/b", 20, false), item("/junk/c", 30, true)};
    ScanGroup second;
    second.items = {item("/trash/d", 40, false)};
    const test::BannerLog<ScanSession> banners(session.get());
    for (const Case& c : cases) {
        place(resultWith(ScanCategory::systemJunk, {first}));
        place(resultWith(ScanCategory::trash, {second}));
        place(resultWith(ScanCategory::largeAndOld, {second}));
        services->report = c.report;
        session->setCleanupMode(Remover::Mode::permanent);

        session->clean({ScanCategory::systemJunk, ScanCategory::trash});
        EXPECT_TRUE(session->isCleaning());
        session->setCleanupMode(Remover::Mode::shred);
        waitFor([&] { return !session->isCleaning(); });

        EXPECT_EQ(services->removedLocations, QStringList({"/junk/a", "/junk/c"}));
        EXPECT_FALSE(services->removedUserSelected);
        EXPECT_EQ(services->removedMode, Remover::Mode::permanent);
        ASSERT_FALSE(banners.banners().isEmpty());
        EXPECT_EQ(banners.banners().last().title, c.title);
        EXPECT_EQ(banners.banners().last().message, c.message);
        EXPECT_FALSE(banners.banners().last().isError);
        EXPECT_EQ(session->lastReport()->removed, c.report.removed);
        EXPECT_FALSE(hasResult(ScanCategory::systemJunk));
        EXPECT_FALSE(hasResult(ScanCategory::trash));
        EXPECT_TRUE(hasResult(ScanCategory::largeAndOld));
    }
}

TEST_F(ScanSessionSelectionTest, CleanWithNothingSelectedOrWhileCleaningIsIgnored)
{
    ScanGroup unselected;
    unselected.items = {item("/a", 10, false)};
    place(resultWith(ScanCategory::trash, {unselected}));
    SignalCount willChange(session.get(), &ScanSession::objectWillChange);
    const test::BannerLog<ScanSession> banners(session.get());

    session->clean({ScanCategory::trash, ScanCategory::systemJunk});
    EXPECT_EQ(willChange.count(), 0);
    EXPECT_TRUE(banners.banners().isEmpty());

    ScanGroup selected;
    selected.items = {item("/b", 10, true)};
    place(resultWith(ScanCategory::largeAndOld, {selected}));
    services->removeGate = std::make_shared<Gate>();
    session->clean({ScanCategory::trash, ScanCategory::largeAndOld});
    session->clean({ScanCategory::largeAndOld});
    services->removeGate->open();
    waitFor([&] { return !session->isCleaning(); });

    EXPECT_TRUE(services->removedUserSelected);
    EXPECT_EQ(services->removedLocations, QStringList({"/b"}));
    EXPECT_FALSE(hasResult(ScanCategory::trash));
}
