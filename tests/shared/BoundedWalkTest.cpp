#include "shared/BoundedWalk.h"
#include "shared/SharedLog.h"
#include "support/FixtureTree.h"
#include "support/OrdinaryUser.h"

#include <QFile>
#include <QStringList>

#include <gtest/gtest.h>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace harborlite;
using harborlite::test::FixtureTree;
using Step = FS::BoundedWalk::Step;

namespace {

// What a walk met, one line per event: "enter <path>", "entry <name> <type>", "leave <name>".
QStringList events(const QString& root, FS::BoundedWalk::Options options, const char* passOver = nullptr)
{
    QStringList seen;
    FS::BoundedWalk::Visitor visitor;
    visitor.enter = [&](const FS::BoundedWalk::Folder& folder) {
        seen << "enter " + QString::fromUtf8(folder.path.data(), qsizetype(folder.path.size())).mid(root.size()) + " "
                + QString::number(folder.depth);
        return Step::go;
    };
    visitor.entry = [&](const FS::BoundedWalk::Folder&, const FS::BoundedWalk::Entry& entry) {
        const QString name = QString::fromUtf8(entry.name.data(), qsizetype(entry.name.size()));
        seen << "entry " + name + (entry.type == DT_DIR ? " dir" : entry.type == DT_LNK ? " link" : " file");
        return passOver && name == QLatin1String(passOver) ? Step::skip : Step::go;
    };
    visitor.leave = [&](int, const std::string& name) {
        seen << "leave " + QString::fromStdString(name);
        return true;
    };
    EXPECT_EQ(FS::BoundedWalk::run(AT_FDCWD, QFile::encodeName(root).toStdString(), visitor, options),
              FS::BoundedWalk::Outcome::completed);
    return seen;
}

QtMessageHandler previousHandler = nullptr;
QStringList* warnings = nullptr;

void recordWarning(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (type == QtWarningMsg && warnings != nullptr && QLatin1String(context.category) == "harborlite.shared") {
        warnings->append(message);
    }
}

} // namespace

// A folder's contents come right after it and before its next sibling: the
// order a recursive listing in name order gives, however the disk lists them.
TEST(BoundedWalk, ShowsEachEntryThenWhatLiesBelowItInNameOrder)
{
    FixtureTree tree;
    tree.file("r/b/y", 10);
    tree.file("r/b/x", 10);
    tree.file("r/a", 10);
    tree.file("r/c/deep/z", 10);
    tree.file("r/.hidden/h", 10);
    tree.file("r/skipped/s", 10);
    tree.symlink("r/link", tree.path("r/b"));
    const QString root = tree.path("r");

    EXPECT_EQ(events(root, {.nameOrder = true, .skipHidden = true}, "skipped"),
              (QStringList{"enter  0", "entry a file", "entry b dir", "enter /b 1", "entry x file", "entry y file",
                           "leave b", "entry c dir", "enter /c 1", "entry deep dir", "enter /c/deep 2", "entry z file",
                           "leave deep", "leave c", "entry link link", "entry skipped dir", "leave " + root}));
    const QStringList all = events(root, {.nameOrder = true, .skipHidden = false});
    EXPECT_TRUE(all.contains("entry .hidden dir"));
    EXPECT_TRUE(all.contains("entry h file"));
}

TEST(BoundedWalk, AFolderSkippedOnEntryIsNeitherListedNorLeft)
{
    FixtureTree tree;
    tree.file("r/keep/k", 10);
    tree.file("r/drop/d", 10);
    QStringList seen;
    FS::BoundedWalk::Visitor visitor;
    visitor.enter = [&](const FS::BoundedWalk::Folder& folder) {
        return std::string_view(folder.path).ends_with("drop") ? Step::skip : Step::go;
    };
    visitor.entry = [&](const FS::BoundedWalk::Folder&, const FS::BoundedWalk::Entry& entry) {
        seen << QString::fromUtf8(entry.name.data(), qsizetype(entry.name.size()));
        return Step::go;
    };
    visitor.leave = [&](int, const std::string& name) {
        seen << "leave " + QString::fromStdString(name);
        return true;
    };
    FS::BoundedWalk::run(AT_FDCWD, QFile::encodeName(tree.path("r")).toStdString(), visitor, {.nameOrder = true});
    EXPECT_EQ(seen, (QStringList{"drop", "keep", "k", "leave keep", "leave " + tree.path("r")}));
}

// A walk that passes over a folder says so, naming it.
TEST(BoundedWalk, AFolderThatCannotBeOpenedIsReportedAndPassedOver)
{
    test::asOrdinaryUser([] {
        FixtureTree tree;
        tree.file("r/closed/c", 10);
        tree.file("r/open/o", 10);
        ASSERT_EQ(::chmod(QFile::encodeName(tree.path("r/closed")).constData(), 0), 0);
        QStringList seen;
        warnings = &seen;
        previousHandler = qInstallMessageHandler(recordWarning);
        const QStringList met = events(tree.path("r"), {.nameOrder = true});
        qInstallMessageHandler(previousHandler);
        warnings = nullptr;
        ::chmod(QFile::encodeName(tree.path("r/closed")).constData(), 0755);

        EXPECT_TRUE(met.contains("entry o file"));
        EXPECT_FALSE(met.contains("entry c file"));
        ASSERT_EQ(seen.size(), 1);
        EXPECT_TRUE(seen[0].contains(tree.path("r/closed"))) << seen[0].toStdString();
    });
}
