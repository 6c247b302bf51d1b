#include "model/ModelEngine.h"
#include "engine/system/ProcessService.h"
#include "platform/Clock.h"
#include "platform/HomeFolder.h"
#include "support/FixtureTree.h"
#include "support/QtPrinters.h"

#include <QProcess>

#include <gtest/gtest.h>

#include <algorithm>
#include <unistd.h>

using namespace harborlite;
using harborlite::test::FixtureTree;

namespace {

QStringList names(const std::vector<DiskNode>& nodes)
{
    QStringList result;
    for (const DiskNode& node : nodes) {
        result.append(node.name);
    }
    return result;
}

class ModelEngineTest : public ::testing::Test {
protected:
    FixtureTree tree;
    platform::Seam<QString>::Override home{platform::homeFolder(), tree.path("home")};
    ModelEngine engine = ModelEngine::real();
    ModelEngine::CancelTest never = [] { return false; };

    void SetUp() override
    {
        tree.file("root/big.bin", 40'000);
        tree.file("root/folder/inner.bin", 20'000);
        tree.file("root/.hidden", 9'000);
        tree.file("root/empty");
        tree.symlink("root/link", tree.path("root/big.bin"));
    }
};

} // namespace

TEST_F(ModelEngineTest, AListingKeepsHiddenEntriesAndLeavesOutLinksAndEmptyFiles)
{
    const std::vector<DiskNode> nodes = engine.listDirectory(tree.path("root"), never);

    EXPECT_EQ(names(nodes), QStringList({"big.bin", "folder", ".hidden"}));
    EXPECT_FALSE(nodes.at(0).isDirectory);
    EXPECT_TRUE(nodes.at(1).isDirectory);
    EXPECT_GE(nodes.at(1).size, 20'000);
    EXPECT_TRUE(nodes.at(1).children.empty());
    EXPECT_NE(nodes.at(0).id, nodes.at(1).id);
}

TEST_F(ModelEngineTest, TheMapOfAFolderIsItsEntriesLargestFirstWithProgressPerEntry)
{
    QList<std::pair<double, QString>> progress;
    const DiskNode root = engine.buildDiskTree(
        tree.path("root"),
        [&](double fraction, const QString& name) {
            progress.append({fraction, name});
        },
        never);

    EXPECT_EQ(root.name, "root");
    EXPECT_TRUE(root.isDirectory);
    EXPECT_EQ(names(root.children), QStringList({"big.bin", "folder", ".hidden"}));
    qint64 total = 0;
    for (const DiskNode& child : root.children) {
        total += child.size;
    }
    EXPECT_EQ(root.size, total);
    ASSERT_EQ(progress.size(), 6);
    EXPECT_EQ(progress.first(), std::make_pair(0.0, QString(".hidden")));
    EXPECT_EQ(progress.last(), std::make_pair(1.0, QString("root")));
}

TEST_F(ModelEngineTest, AnUnreadableRootGivesAnEmptyMapAndAStoppedBuildKeepsNothingMore)
{
    const DiskNode missing = engine.buildDiskTree(
        tree.path("nowhere"), [](double, const QString&) {}, never);
    EXPECT_EQ(missing.size, 0);
    EXPECT_TRUE(missing.children.empty());

    const DiskNode stopped = engine.buildDiskTree(
        tree.path("root"), [](double, const QString&) {}, [] { return true; });
    EXPECT_TRUE(stopped.children.empty());
}

TEST_F(ModelEngineTest, EveryCategoryGetsAScannerOfItsOwn)
{
    for (ScanCategory category : ScanCategories::allCases) {
        EXPECT_EQ(engine.scanner(category)->category(), category) << rawValue(category).toStdString();
    }
}

TEST_F(ModelEngineTest, QuitReachesOnlyAnApplicationThatIsStillTheProcessSampled)
{
    QProcess sleeper;
    sleeper.start(QStringLiteral("/bin/sleep"), {QStringLiteral("30")});
    ASSERT_TRUE(sleeper.waitForStarted());
    const qint32 pid = qint32(sleeper.processId());
    const ProcessService service(
        [pid](const QList<int>&) {
            return QList<ProcessService::Application>{{pid, {}, {}}};
        },
        [] { return 0.1; });
    const QList<RunningProcess> processes = service.topProcesses(100000);
    const auto found =
        std::find_if(processes.begin(), processes.end(), [&](const RunningProcess& p) { return p.pid == pid; });
    ASSERT_NE(found, processes.end());
    const RunningProcess sampled = *found;
    ASSERT_TRUE(sampled.isApplication);

    RunningProcess plain = sampled;
    plain.isApplication = false;
    RunningProcess recycled = sampled;
    recycled.startTime += 1;
    RunningProcess init = sampled;
    init.pid = 1;
    RunningProcess self = sampled;
    self.pid = qint32(::getpid());
    for (const RunningProcess& refused : {plain, recycled, init, self}) {
        EXPECT_FALSE(engine.quit(refused, true)) << refused.pid;
    }
    EXPECT_FALSE(sleeper.waitForFinished(200));

    EXPECT_TRUE(engine.quit(sampled, false));
    EXPECT_TRUE(sleeper.waitForFinished(5000));
    EXPECT_FALSE(engine.quit(sampled, true));
}
