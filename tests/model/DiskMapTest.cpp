#include "model/DiskMap.h"
#include "model/FakeEngine.h"
#include "support/QtPrinters.h"

#include <gtest/gtest.h>

#include <atomic>
#include <memory>

using namespace harborlite;
using harborlite::test::Gate;
using harborlite::test::waitFor;

namespace {

class DiskMapTest : public ::testing::Test {
protected:
    // A build that reports each of the root's names, then waits at the gate
    // and returns a node per name measured before the stop.
    void SetUp() override
    {
        ModelEngine engine = test::quietEngine();
        engine.buildDiskTree = [this](const QString& root, const ModelEngine::TreeProgress& progress,
                                      const ModelEngine::CancelTest& isCancelled) {
            ++builds;
            DiskNode tree{QUuid::createUuid(), root, root, 0, true, {}};
            const QStringList names{"a", "b", "c", "d"};
            for (int i = 0; i < names.size() && !isCancelled(); ++i) {
                progress(i / 4.0, names[i]);
                if (i == 2) {
                    gate.pass(isCancelled);
                    if (isCancelled()) {
                        break;
                    }
                }
                tree.children.push_back({QUuid::createUuid(), root + "/" + names[i], names[i], 10, true, {}});
                tree.size += 10;
            }
            return tree;
        };
        engine.listDirectory = [this](const QString& folder, const ModelEngine::CancelTest&) {
            ++listings;
            listingGate.pass();
            return std::vector<DiskNode>{{QUuid::createUuid(), folder + "/x", "x", 5, false, {}}};
        };
        map = std::make_unique<DiskMap>(engine.diskMap(), runner);
    }

    // The builds use the gates, so they end before the gates go.
    ~DiskMapTest() override
    {
        gate.open();
        listingGate.open();
        map.reset();
        runner->waitForDone();
        QCoreApplication::sendPostedEvents();
    }

    Gate gate;
    Gate listingGate;
    std::atomic<int> builds{0};
    std::atomic<int> listings{0};
    std::shared_ptr<BackgroundRunner> runner = std::make_shared<BackgroundRunner>(8);
    std::unique_ptr<DiskMap> map;
};

} // namespace

TEST_F(DiskMapTest, AFreshMapHoldsNothing)
{
    EXPECT_FALSE(map->diskTree());
    EXPECT_FALSE(map->isBuildingTree());
    EXPECT_TRUE(map->expandedChildren().empty());
    EXPECT_TRUE(map->expandingDirectories().empty());
    EXPECT_EQ(map->treeProgress(), DiskMap::TreeProgress{});
}

TEST_F(DiskMapTest, ABuildPublishesItsProgressAndItsTree)
{
    map->buildDiskTree("/root");
    map->buildDiskTree("/other");
    EXPECT_TRUE(map->isBuildingTree());
    waitFor([&] { return map->treeProgress().name == "c"; });
    EXPECT_EQ(map->treeProgress().fraction, 0.5);
    gate.open();
    waitFor([&] { return !map->isBuildingTree(); });

    EXPECT_EQ(builds, 1);
    ASSERT_TRUE(map->diskTree());
    EXPECT_EQ(map->diskTree()->url, "/root");
    EXPECT_EQ(map->diskTree()->children.size(), 4u);
}

TEST_F(DiskMapTest, AfterAStopOnlyTheNewerBuildIsPublished)
{
    map->buildDiskTree("/first");
    waitFor([&] { return map->treeProgress().name == "c"; });
    map->stopBuild();
    EXPECT_FALSE(map->isBuildingTree());
    map->buildDiskTree("/second");
    gate.open();
    waitFor([&] { return !map->isBuildingTree(); });
    runner->waitForDone();
    QCoreApplication::sendPostedEvents();

    ASSERT_TRUE(map->diskTree());
    EXPECT_EQ(map->diskTree()->url, "/second");
}

// A stopped build holds part of the folder only: the map keeps the one it had
// before, or none.
TEST_F(DiskMapTest, AStoppedBuildKeepsThePreviousMapOrNone)
{
    Gate held;
    ModelEngine engine = test::quietEngine();
    engine.buildDiskTree = [&held](const QString& root, const ModelEngine::TreeProgress& progress,
                                   const ModelEngine::CancelTest& isCancelled) {
        progress(0, root);
        if (root != "/whole") {
            held.pass(isCancelled);
        }
        return DiskNode{
            QUuid::createUuid(), root, root, 10, true, {{QUuid::createUuid(), root + "/a", "a", 10, true, {}}}};
    };
    DiskMap stopped(engine.diskMap(), runner);
    const auto stopBuilding = [&](const QString& root) {
        stopped.buildDiskTree(root);
        waitFor([&] { return stopped.treeProgress().name == root; });
        stopped.stopBuild();
        held.wake();
        runner->waitForDone();
        QCoreApplication::sendPostedEvents();
        EXPECT_FALSE(stopped.isBuildingTree());
    };

    stopBuilding("/first");
    EXPECT_FALSE(stopped.diskTree());

    stopped.buildDiskTree("/whole");
    waitFor([&] { return stopped.diskTree().has_value(); });
    stopBuilding("/partial");
    ASSERT_TRUE(stopped.diskTree());
    EXPECT_EQ(stopped.diskTree()->url, "/whole");
    held.open();
}

TEST_F(DiskMapTest, ADirectoryIsListedOnceOnDemand)
{
    const DiskNode folder{QUuid::createUuid(), "/root/a", "a", 10, true, {}};
    const DiskNode file{QUuid::createUuid(), "/root/f", "f", 10, false, {}};
    DiskNode parent = folder;
    parent.children = {file};

    EXPECT_FALSE(map->children(folder));
    map->expandChildren(file);
    map->expandChildren(parent);
    map->expandChildren(folder);
    map->expandChildren(folder);
    EXPECT_TRUE(map->expandingDirectories().contains("/root/a"));
    listingGate.open();
    waitFor([&] { return map->expandingDirectories().empty(); });
    map->expandChildren(folder);
    runner->waitForDone();

    EXPECT_EQ(listings, 1);
    ASSERT_TRUE(map->children(folder));
    EXPECT_EQ(map->children(folder)->at(0).name, "x");
    EXPECT_EQ(map->children(parent)->at(0).name, "f");

    gate.open();
    map->buildDiskTree("/root");
    EXPECT_TRUE(map->expandedChildren().empty());
}
