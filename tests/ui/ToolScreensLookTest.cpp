#include "ScreenFixtures.h"
#include "ToolModel.h"
#include "platform/HomeFolder.h"
#include "shared/FileSystem.h"
#include "support/EventWait.h"
#include "support/FixtureTree.h"
#include "ui/applications/ApplicationsView.h"
#include "ui/cleaning/ShredderView.h"

#include <gtest/gtest.h>

using namespace harborlite;

namespace {

// Renders the screen `make` builds, prepared by `prepare`, light and dark, to
// "<name>-light.png" and "<name>-dark.png" in the test binary's "screens" folder.
template <typename View>
QStringList render(const std::function<View*()>& make, const std::function<void(View&)>& prepare, const QString& name,
                   QSize size)
{
    return test::renderScreens([&] { return make(); }, name, size,
                               [&](QWidget& view) {
                                   prepare(static_cast<View&>(view));
                                   test::settleEvents();
                               });
}

InstalledApp app(const QString& name, const QString& id, qint64 size, InstalledApp::Kind kind, bool system = false)
{
    InstalledApp made;
    made.name = name;
    made.bundleID = id;
    made.url = QStringLiteral("/opt/") + name;
    made.version = QStringLiteral("2.4.1");
    made.size = size;
    made.kind = kind;
    made.isSystemScope = system;
    return made;
}

ScanItem item(const QString& path, qint64 size, bool residue = false)
{
    ScanItem made;
    made.url = path;
    made.displayName = path.section(QLatin1Char('/'), -1);
    made.origin = QStringLiteral("~/") + path.section(QLatin1Char('/'), 3, -2);
    made.size = size;
    made.requiresReview = residue;
    made.isSelected = !residue;
    if (residue) {
        made.detail = QStringLiteral("Installed 2 months ago by org.example.notes");
    }
    return made;
}

} // namespace

TEST(ToolScreensLook, ShredderEmptyAndWithTargets)
{
    test::FixtureTree tree;
    platform::Seam<QString>::Override home{platform::homeFolder(), tree.path("home")};
    const QStringList targets = {tree.file("home/Projects/old-drafts/draft-1.docx", 900000),
                                 tree.file("home/Documents/tax-return-2019.pdf", 2400000),
                                 tree.file("home/Downloads/empty.txt", QByteArray())};
    test::ToolModel tools;
    const auto make = [&] { return new ShredderView(tools.tools(), tools.services()); };
    EXPECT_EQ(render<ShredderView>(make, [](ShredderView&) {}, "shredder-empty", {1020, 760}).size(), 2);
    EXPECT_EQ(render<ShredderView>(make,
                                   [&](ShredderView& view) {
                                       view.add({FS::parentPath(targets.at(0)), targets.at(1), targets.at(2)});
                                       test::waitFor([&] { return view.targets().pendingCount() == 0; });
                                   },
                                   "shredder-targets", {1020, 760})
                  .size(),
              2);
}

TEST(ToolScreensLook, ApplicationsListAndPane)
{
    test::ToolModel tools;
    QList<InstalledApp> apps = {
        app("Notes", "/home/me/Applications/Notes-2.4.1-x86_64.AppImage", 3200000, InstalledApp::Kind::appImage),
        app("Paint", "org.example.Paint", 48000000, InstalledApp::Kind::flatpak),
        app("ImageMagick (color depth=q16)", "display-im6.q16", 412000, InstalledApp::Kind::debianPackage, true),
        app("Vim", "vim", 3900000, InstalledApp::Kind::debianPackage, true),
        app("Sketch Pad", "/home/me/AppImages/Sketch Pad 1.0.AppImage", 0, InstalledApp::Kind::appImage),
    };
    tools.setApps(apps);
    tools.setLeftovers(
        "org.example.Paint",
        {item("/home/me/.var/app/org.example.Paint", 352000), item("/home/me/.config/paint.conf", 2000)});
    tools.tools().loadApps();
    test::waitFor([&] { return !tools.tools().isLoadingApps(); });
    const auto make = [&] { return new ApplicationsView(tools.tools(), tools.scans(), tools.services()); };
    EXPECT_EQ(render<ApplicationsView>(make, [](ApplicationsView&) {}, "applications-list", {1100, 760}).size(), 2);
    EXPECT_EQ(render<ApplicationsView>(make,
                                       [&](ApplicationsView& view) {
                                           view.select(apps.at(1));
                                           test::waitFor([&] { return !view.isPlanning(); });
                                       },
                                       "applications-plan", {1100, 760})
                  .size(),
              2);
    EXPECT_EQ(render<ApplicationsView>(make,
                                       [&](ApplicationsView& view) {
                                           view.select(apps.at(3));
                                           test::waitFor([&] { return !view.isPlanning(); });
                                       },
                                       "applications-protected", {1100, 760})
                  .size(),
              2);
}
