#include "model/AppModelSetup.h"
#include "model/FakeEngine.h"
#include "platform/Clock.h"
#include "platform/HomeFolder.h"
#include "platform/MountTable.h"
#include "platform/XdgDataHome.h"
#include "shared/FileSystem.h"
#include "shared/Formatting.h"
#include "shared/MemoryDefaults.h"
#include "support/FixtureTree.h"
#include "support/Mounts.h"
#include "support/QtPrinters.h"

#include <gtest/gtest.h>

using namespace harborlite;
using harborlite::test::FixtureTree;
using harborlite::test::waitFor;

namespace {

// Lists one cache file of the fixture home as System Junk.
class CacheScanner : public CategoryScanner {
public:
    explicit CacheScanner(QString file)
        : file_(std::move(file))
    {
    }

    ScanCategory category() const override { return ScanCategory::systemJunk; }
    CategoryResult scan(const ProgressCallback&, const CancelPredicate&) const override
    {
        ScanItem item;
        item.url = file_;
        item.displayName = FS::lastPathComponent(file_);
        item.size = FS::size(file_);
        ScanGroup group;
        group.title = "User Caches";
        group.items = {item};
        return {ScanCategory::systemJunk, {group}, platform::now()};
    }

private:
    QString file_;
};

class AppModelCleanupIntegrationTest : public ::testing::Test {
protected:
    FixtureTree tree;
    platform::Seam<QString>::Override home{platform::homeFolder(), tree.path("home")};
    platform::Seam<QString>::Override data{platform::xdgDataHome(), tree.path("home/.local/share")};
    platform::Seam<QList<platform::MountEntry>>::Override mounts{platform::mountTable(), test::mountsAt({"/"})};
    platform::Seam<QDateTime>::Override clock{platform::clock(), QDateTime(QDate(2024, 5, 1), QTime(9, 0), Qt::UTC)};
    MemoryDefaults defaults;
    std::shared_ptr<BackgroundRunner> runner = std::make_shared<BackgroundRunner>(4);

    ~AppModelCleanupIntegrationTest() override
    {
        runner->waitForDone();
        QCoreApplication::sendPostedEvents();
    }

    QString trashFile(const QString& name) const { return tree.path("home/.local/share/Trash/files/" + name); }
};

} // namespace

TEST_F(AppModelCleanupIntegrationTest, CleanedJunkLandsInTheTrashAndCleaningTheTrashEmptiesIt)
{
    const QString cache = tree.file("home/Library/Caches/org.example.app/cache.bin", 40'000);
    tree.file("home/.local/share/Trash/files/kept.txt", 5'000);
    AppModel::Setup setup;
    setup.engine = ModelEngine::real();
    const ModelEngine real = setup.engine;
    setup.engine.scanner = [cache, real](ScanCategory category) -> std::unique_ptr<CategoryScanner> {
        if (category == ScanCategory::systemJunk) {
            return std::make_unique<CacheScanner>(cache);
        }
        return real.scanner(category);
    };
    setup.updateConfiguration = QuorvaneConfiguration("harborlite", QUrl("http://127.0.0.1:9"));
    setup.runner = runner;
    AppModel model(defaults, std::move(setup));

    model.scan(ScanCategory::systemJunk);
    waitFor([&] { return model.runningCategories().empty(); });
    model.clean({ScanCategory::systemJunk});
    waitFor([&] { return !model.isCleaning(); });

    EXPECT_FALSE(FS::exists(cache));
    EXPECT_TRUE(FS::exists(trashFile("cache.bin")));
    ASSERT_TRUE(model.banner());
    EXPECT_EQ(model.banner()->title, "Cleanup complete");
    EXPECT_EQ(model.banner()->message, Format::byteText(model.lastReport()->reclaimed) + " reclaimed from 1 item(s).");
    EXPECT_GT(model.lastReport()->reclaimed, 0);
    EXPECT_FALSE(model.result(ScanCategory::systemJunk));

    // The Trash scan finds both; only the selected one goes, for good.
    model.scan(ScanCategory::trash);
    waitFor([&] { return model.runningCategories().empty(); });
    const std::optional<CategoryResult> found = model.result(ScanCategory::trash);
    ASSERT_TRUE(found);
    ASSERT_EQ(found->itemCount(), 2);
    for (const ScanItem& item : found->groups.at(0).items) {
        if (item.displayName == "kept.txt") {
            model.toggleItem(item, ScanCategory::trash);
        }
    }
    model.clean({ScanCategory::trash});
    waitFor([&] { return !model.isCleaning(); });

    EXPECT_FALSE(FS::exists(trashFile("cache.bin")));
    EXPECT_FALSE(FS::exists(tree.path("home/.local/share/Trash/info/cache.bin.trashinfo")));
    EXPECT_TRUE(FS::exists(trashFile("kept.txt")));
    EXPECT_EQ(model.lastReport()->removed, 1);
    EXPECT_TRUE(model.lastReport()->failures.isEmpty());
    EXPECT_FALSE(model.result(ScanCategory::trash));
}
