#include "platform/IconFiles.h"
#include "support/FixtureTree.h"
#include "support/QtPrinters.h"

#include <gtest/gtest.h>

using namespace harborlite;

TEST(IconFiles, ThemesThenLooseIconsAndNothingOutsideThem)
{
    test::FixtureTree tree;
    const QStringList themes = {tree.path("user/icons"), tree.path("system/icons")};
    const QStringList loose = {tree.path("pixmaps")};
    tree.file("system/icons/hicolor/48x48/apps/editor.png", 10);
    const QString scalable = tree.file("system/icons/hicolor/scalable/apps/editor.svg", 10);
    const QString mine = tree.file("user/icons/hicolor/64x64/apps/mine.png", 10);
    tree.file("system/icons/hicolor/128x128/apps/mine.png", 10);
    const QString adwaita = tree.file("system/icons/Adwaita/32x32/apps/themed.png", 10);
    const QString compressed = tree.file("system/icons/hicolor/scalable/apps/zipped.svgz", 10);
    const QString pixmap = tree.file("pixmaps/old.xpm", 10);
    const QString named = tree.file("pixmaps/withext.png", 10);
    tree.folder("system/icons/hicolor/scalable/apps/folder.svg");
    tree.file("secret.png", 10);

    const auto find = [&](const QString& name) { return platform::applicationIconFile(name, themes, loose); };
    EXPECT_EQ(find("editor"), scalable);
    EXPECT_EQ(find("mine"), mine);
    EXPECT_EQ(find("themed"), adwaita);
    EXPECT_EQ(find("zipped"), compressed);
    EXPECT_EQ(find("old"), pixmap);
    EXPECT_EQ(find("withext.png"), named);
    EXPECT_EQ(find(pixmap), pixmap);
    for (const QString& refused :
         {QStringLiteral("folder"), QStringLiteral("missing"), QStringLiteral(""), QStringLiteral("../secret"),
          QStringLiteral("../../secret.png"), QStringLiteral(".hidden"), tree.path("nothing.png")}) {
        EXPECT_EQ(find(refused), std::nullopt) << refused.toStdString();
    }
}
