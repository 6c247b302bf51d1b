#include "support/EventWait.h"
#include "support/FixtureTree.h"

#include "ui/components/FileIcons.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QSignalSpy>

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>

#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace harborlite;

namespace {

QByteArray pngOf(int side)
{
    QImage image(side, side, QImage::Format_ARGB32);
    image.fill(Qt::red);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

TEST(FileIcons, KindsComeFromTheEntryAndItsNameNeverFromFollowingIt)
{
    test::FixtureTree tree;
    const QString picture = tree.file(QStringLiteral("icons/viewer.png"), pngOf(256));
    tree.folder(QStringLiteral("Photos"));
    tree.folder(QStringLiteral("Editor.app"));
    tree.file(QStringLiteral("notes.txt"), QByteArray("hello"));
    // A name says the kind; the bytes are never looked at.
    tree.file(QStringLiteral("report.pdf"), QByteArray("plain words"));
    tree.file(QStringLiteral("editor.desktop"),
              QByteArray("[Desktop Entry]\nName=Editor\nIcon=accessories-text-editor\n"));
    tree.file(QStringLiteral("actions.desktop"),
              QByteArray("[Desktop Action new]\nIcon=wrong\n[Desktop Entry]\nIcon=utilities-terminal\n"));
    tree.file(QStringLiteral("plain.desktop"), QByteArray("[Desktop Entry]\nName=No icon\n"));
    tree.file(QStringLiteral("viewer.desktop"), "[Desktop Entry]\nIcon=" + picture.toUtf8() + "\n");
    tree.file(QStringLiteral("huge-icon.desktop"),
              "[Desktop Entry]\nIcon=" + tree.sparseFile(QStringLiteral("icons/huge.png"), 8 << 20).toUtf8() + "\n");
    tree.symlink(QStringLiteral("link.desktop"), tree.path(QStringLiteral("editor.desktop")));
    // A pipe under a desktop entry's name is neither read nor waited on.
    ASSERT_EQ(::mkfifo(tree.path(QStringLiteral("pipe.desktop")).toUtf8().constData(), 0600), 0);

    struct Case {
        const char* name;
        QString key;
        bool image;
    };
    const QString entry = QStringLiteral("application/x-desktop");
    const Case cases[] = {
        {"Photos", QStringLiteral("inode/directory"), false},
        {"Editor.app", QStringLiteral("application/x-bundle"), false},
        {"notes.txt", QStringLiteral("text/plain"), false},
        {"report.pdf", QStringLiteral("application/pdf"), false},
        {"editor.desktop", QStringLiteral("application:accessories-text-editor"), false},
        {"actions.desktop", QStringLiteral("application:utilities-terminal"), false},
        {"plain.desktop", entry, false},
        {"viewer.desktop", QStringLiteral("application:") + picture, true},
        {"huge-icon.desktop", QStringLiteral("application:") + tree.path(QStringLiteral("icons/huge.png")), false},
        {"link.desktop", QStringLiteral("inode/symlink"), false},
        {"pipe.desktop", entry, false},
        {"missing.zip", QStringLiteral("application/zip"), false},
    };
    for (const Case& c : cases) {
        const FileIcons::Kind kind = FileIcons::kindOf(tree.path(QString::fromUtf8(c.name)));
        EXPECT_EQ(kind.key, c.key) << c.name;
        EXPECT_EQ(!kind.image.isNull(), c.image) << c.name;
        if (c.image) {
            // Kept at the size rows draw it at, not as the file holds it.
            EXPECT_LE(std::max(kind.image.width(), kind.image.height()), 32) << c.name;
        }
    }
}

TEST(FileIcons, APathDrawsThePlaceholderUntilItsKindArrivesAndKindsShareOneIcon)
{
    test::FixtureTree tree;
    const QString first = tree.folder(QStringLiteral("One"));
    const QString second = tree.folder(QStringLiteral("Two"));
    const QString text = tree.file(QStringLiteral("notes.txt"), QByteArray("hello"));
    FileIcons icons;
    QSignalSpy arrived(&icons, &FileIcons::arrived);

    for (const QString& path : {first, second, text}) {
        EXPECT_EQ(icons.icon(path).cacheKey(), icons.placeholder().cacheKey());
    }
    // Asking again while the kind is being looked up asks nothing more.
    EXPECT_EQ(icons.icon(first).cacheKey(), icons.placeholder().cacheKey());
    test::waitFor([&] { return icons.isKnown(first) && icons.isKnown(second) && icons.isKnown(text); });
    EXPECT_GE(arrived.count(), 1);

    const QIcon folder = icons.icon(first);
    EXPECT_FALSE(folder.isNull());
    EXPECT_EQ(icons.icon(second).cacheKey(), folder.cacheKey());
    EXPECT_NE(icons.icon(text).cacheKey(), folder.cacheKey());
}

// A path that holds another entry than its kind was told from is looked at
// again: it draws the placeholder until the new kind arrives, then that
// kind's icon.
TEST(FileIcons, APathHoldingAnotherEntryIsLookedAtAgain)
{
    struct Case {
        const char* name;
        bool wasFolder;
    };
    const Case cases[] = {
        {"a file replaced by a folder", false},
        {"a folder replaced by a file", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        test::FixtureTree tree;
        const QString folder = tree.folder(QStringLiteral("Photos"));
        const QString text = tree.file(QStringLiteral("notes.txt"), QByteArray("hello"));
        const QString changing = c.wasFolder ? tree.folder(QStringLiteral("entry.txt"))
                                             : tree.file(QStringLiteral("entry.txt"), QByteArray("hello"));
        FileIcons icons;
        for (const QString& path : {folder, text, changing}) {
            icons.icon(path);
        }
        test::waitFor([&] { return icons.isKnown(folder) && icons.isKnown(text) && icons.isKnown(changing); });
        const qint64 folderIcon = icons.icon(folder).cacheKey();
        const qint64 textIcon = icons.icon(text).cacheKey();
        ASSERT_NE(folderIcon, textIcon);
        EXPECT_EQ(icons.icon(changing).cacheKey(), c.wasFolder ? folderIcon : textIcon);

        ASSERT_TRUE(c.wasFolder ? QDir().rmdir(changing) : QFile::remove(changing));
        if (c.wasFolder) {
            tree.file(QStringLiteral("entry.txt"), QByteArray("hello"));
        } else {
            tree.folder(QStringLiteral("entry.txt"));
        }
        // The kept icon is drawn while the thread looks at the path again;
        // each ask looks again once the last look is done.
        EXPECT_EQ(icons.icon(changing).cacheKey(), c.wasFolder ? folderIcon : textIcon);
        test::waitFor([&] { return icons.icon(changing).cacheKey() == (c.wasFolder ? textIcon : folderIcon); });
        EXPECT_EQ(icons.icon(folder).cacheKey(), folderIcon);
        EXPECT_EQ(icons.icon(text).cacheKey(), textIcon);
    }
}

// However many paths are asked for, the kinds of the last kKeptPaths are
// kept and the earlier ones forgotten; a forgotten path asked again is
// looked up again.
TEST(FileIcons, KeepsTheKindsOfTheLastPathsAskedForOnly)
{
    test::FixtureTree tree;
    constexpr qsizetype kPaths = FileIcons::kKeptPaths + 100;
    QStringList paths;
    for (qsizetype i = 0; i < kPaths; ++i) {
        paths.append(tree.file(QStringLiteral("files/file-%1.txt").arg(i), QByteArray()));
    }
    FileIcons icons;
    QSignalSpy arrived(&icons, &FileIcons::arrived);
    for (const QString& path : std::as_const(paths)) {
        icons.icon(path);
    }
    qsizetype arrivedPaths = 0;
    test::waitFor([&] {
        while (!arrived.isEmpty()) {
            arrivedPaths += arrived.takeFirst().at(0).toStringList().size();
        }
        return arrivedPaths == kPaths;
    });
    const auto known =
        std::count_if(paths.cbegin(), paths.cend(), [&](const QString& path) { return icons.isKnown(path); });
    EXPECT_EQ(known, FileIcons::kKeptPaths);
    EXPECT_FALSE(icons.isKnown(paths.first()));
    EXPECT_TRUE(icons.isKnown(paths.last()));

    EXPECT_EQ(icons.icon(paths.first()).cacheKey(), icons.placeholder().cacheKey());
    test::waitFor([&] { return icons.isKnown(paths.first()); });
    // It takes the place of the one asked for least recently.
    EXPECT_FALSE(icons.isKnown(paths.at(kPaths - FileIcons::kKeptPaths)));
}

// The lookups of desktop entries under a folder, counted by the entries'
// openings and closings: a lookup opens the entry it looks at.
class EntryLookups {
public:
    explicit EntryLookups(const QString& folder)
        : watch_(::inotify_init1(IN_NONBLOCK | IN_CLOEXEC))
    {
        EXPECT_GE(watch_, 0);
        EXPECT_GE(::inotify_add_watch(watch_, QFile::encodeName(folder).constData(), IN_OPEN | IN_CLOSE_NOWRITE), 0);
    }
    ~EntryLookups() { ::close(watch_); }
    EntryLookups(const EntryLookups&) = delete;
    EntryLookups& operator=(const EntryLookups&) = delete;

    struct Counts {
        int begun = 0;
        int ended = 0;
    };

    // The lookups seen since the last call.
    Counts taken()
    {
        Counts counts;
        alignas(inotify_event) char buffer[64 * 1024];
        for (;;) {
            const ssize_t length = ::read(watch_, buffer, sizeof buffer);
            if (length <= 0) {
                EXPECT_TRUE(length < 0 && errno == EAGAIN) << "the events were not read: " << errno;
                return counts;
            }
            for (ssize_t at = 0; at < length;) {
                const auto* event = reinterpret_cast<const inotify_event*>(buffer + at);
                EXPECT_EQ(event->mask & IN_Q_OVERFLOW, 0u) << "events were lost";
                counts.begun += (event->mask & IN_OPEN) != 0 ? 1 : 0;
                counts.ended += (event->mask & IN_CLOSE_NOWRITE) != 0 ? 1 : 0;
                at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
            }
        }
    }

private:
    int watch_;
};

// Going while the thread looks paths up waits for the batch under way and
// drops the paths it has not reached: when the object is gone no lookup is
// still open, most paths were never looked at, and nothing is looked up later.
TEST(FileIcons, GoingWhileLookingUpWaitsForTheBatchAndDropsTheRest)
{
    test::FixtureTree tree;
    // Far more paths than the thread looks at while they are asked for.
    constexpr int kPaths = 3000;
    QStringList paths;
    for (int i = 0; i < kPaths; ++i) {
        paths.append(
            tree.file(QStringLiteral("entries/entry-%1.desktop").arg(i), QByteArray("[Desktop Entry]\nIcon=folder\n")));
    }
    EntryLookups lookups(tree.path(QStringLiteral("entries")));
    {
        FileIcons icons;
        for (const QString& path : std::as_const(paths)) {
            icons.icon(path);
        }
    }
    const EntryLookups::Counts whileThere = lookups.taken();
    EXPECT_EQ(whileThere.ended, whileThere.begun);
    EXPECT_LT(whileThere.begun, kPaths);

    // Whatever the thread still sent is dropped with the object.
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
    const EntryLookups::Counts afterwards = lookups.taken();
    EXPECT_EQ(afterwards.begun, 0);
    EXPECT_EQ(afterwards.ended, 0);
}

} // namespace
