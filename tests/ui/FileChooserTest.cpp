#include "platform/HomeFolder.h"
#include "support/FixtureTree.h"
#include "ui/components/FileAndFolderChooser.h"
#include "ui/components/ScreenServices.h"

#include <QCoreApplication>
#include <QDir>
#include <QWidget>

#include <gtest/gtest.h>

#include <memory>

using namespace harborlite;

namespace {

// The one chooser open over `parent`, none when there is not exactly one.
FileAndFolderChooser* openChooser(QWidget& parent)
{
    const QList<FileAndFolderChooser*> open = parent.findChildren<FileAndFolderChooser*>();
    return open.size() == 1 ? open.first() : nullptr;
}

} // namespace

// The files-and-folders chooser opens in the home, never the working folder,
// and next time where the user last chose.
TEST(FileChooser, OpensInTheHomeThenWhereTheUserLastChose)
{
    test::FixtureTree tree;
    const platform::Seam<QString>::Override home(platform::homeFolder(), tree.path("home"));
    const QString file = tree.file("home/Documents/old/report.pdf", 100);
    const QString folder = tree.path("home/Documents/old");
    ASSERT_NE(QDir::currentPath(), tree.path("home"));
    const ScreenServices services = ScreenServices::real();
    QWidget parent;
    QStringList chosen;

    services.chooseFiles(&parent, [&](const QStringList& paths) { chosen = paths; });
    FileAndFolderChooser* chooser = openChooser(parent);
    ASSERT_NE(chooser, nullptr);
    EXPECT_EQ(chooser->directory().absolutePath(), tree.path("home"));
    chooser->setDirectory(folder);
    chooser->selectFile(file);
    chooser->accept();
    EXPECT_EQ(chosen, QStringList{file});
    delete chooser;

    services.chooseFiles(&parent, [&](const QStringList& paths) { chosen = paths; });
    chooser = openChooser(parent);
    ASSERT_NE(chooser, nullptr);
    EXPECT_EQ(chooser->directory().absolutePath(), folder);
    chooser->reject();
    delete chooser;
}
