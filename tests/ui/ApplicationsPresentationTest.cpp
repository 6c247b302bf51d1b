#include "ui/applications/ApplicationsPresentation.h"
#include "platform/HomeFolder.h"
#include "support/QtPrinters.h"
#include "ui/applications/UninstallPresentation.h"

#include <gtest/gtest.h>

#include <limits>

using namespace harborlite;
using ApplicationsPresentation::SortOrder;

namespace {

InstalledApp app(const QString& name, const QString& id, qint64 size = 0, std::optional<qint64> usedAt = std::nullopt)
{
    InstalledApp made;
    made.name = name;
    made.bundleID = id;
    made.url = QStringLiteral("/Applications/") + name + QStringLiteral(".app");
    made.version = QStringLiteral("1.0");
    made.size = size;
    if (usedAt) {
        made.lastUsed = QDateTime::fromSecsSinceEpoch(*usedAt, Qt::UTC);
    }
    return made;
}

QStringList names(const QList<InstalledApp>& apps)
{
    QStringList result;
    for (const InstalledApp& a : apps) {
        result << a.name;
    }
    return result;
}

ScanItem item(qint64 size, bool selected)
{
    ScanItem made;
    made.size = size;
    made.isSelected = selected;
    return made;
}

} // namespace

TEST(ApplicationsPresentation, SortOrdersByRawValue)
{
    EXPECT_EQ(ApplicationsPresentation::rawValue(SortOrder::name), QStringLiteral("Name"));
    EXPECT_EQ(ApplicationsPresentation::rawValue(SortOrder::size), QStringLiteral("Size"));
    EXPECT_EQ(ApplicationsPresentation::rawValue(SortOrder::lastUsed), QStringLiteral("Last used"));
    EXPECT_EQ(ApplicationsPresentation::rawValue(SortOrder::lastUsed).size(), 9);
    for (const SortOrder order : ApplicationsPresentation::allSortOrders) {
        EXPECT_EQ(ApplicationsPresentation::sortOrderFromRawValue(ApplicationsPresentation::rawValue(order)), order);
    }
    for (const char* bad : {"name", "Last Used", "LastUsed", " Size", ""}) {
        EXPECT_EQ(ApplicationsPresentation::sortOrderFromRawValue(QString::fromUtf8(bad)), std::nullopt) << bad;
    }
}

TEST(ApplicationsPresentation, FilterByNameOrIdentifierThenStableOrder)
{
    const QList<InstalledApp> apps = {
        app("Alpha", "com.example.alpha", 500, 100), app("Beta Tool", "org.beta", 0, std::nullopt),
        app("Gamma", "com.example.gamma", 500, 300), app("Delta", "net.delta", 900, std::nullopt),
        app("Epsilon", "com.example.eps", 0, 300),
    };
    struct Case {
        const char* query;
        SortOrder sort;
        QStringList expected;
    };
    const Case cases[] = {
        {"", SortOrder::name, {"Alpha", "Beta Tool", "Gamma", "Delta", "Epsilon"}},
        {"ALPHA", SortOrder::name, {"Alpha"}},
        {"example.g", SortOrder::name, {"Gamma"}},
        {" ", SortOrder::name, {"Beta Tool"}},
        {"zzz", SortOrder::name, {}},
        // Equal sizes keep the catalogue's order; unmeasured ones come last.
        {"", SortOrder::size, {"Delta", "Alpha", "Gamma", "Beta Tool", "Epsilon"}},
        // Equal dates keep the catalogue's order; no date comes last, in name order.
        {"", SortOrder::lastUsed, {"Gamma", "Epsilon", "Alpha", "Beta Tool", "Delta"}},
        {"com.example", SortOrder::size, {"Alpha", "Gamma", "Epsilon"}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(names(ApplicationsPresentation::filtered(apps, QString::fromUtf8(c.query), c.sort)), c.expected)
            << c.query;
    }
}

TEST(ApplicationsPresentation, SubtitleAndRowSize)
{
    EXPECT_EQ(ApplicationsPresentation::subtitle(0), QStringLiteral("0 installed"));
    EXPECT_EQ(ApplicationsPresentation::subtitle(1), QStringLiteral("1 installed"));
    EXPECT_EQ(ApplicationsPresentation::subtitle(1500), QStringLiteral("1500 installed"));
    EXPECT_EQ(ApplicationsPresentation::rowSize(0), QStringLiteral("\u2014"));
    EXPECT_EQ(ApplicationsPresentation::rowSize(-5), QStringLiteral("\u2014"));
    EXPECT_EQ(ApplicationsPresentation::rowSize(1500000), QStringLiteral("1.5 MB"));
}

TEST(ApplicationsPresentation, ProtectedApplications)
{
    InstalledApp plain = app("Tool", "org.tool");
    EXPECT_FALSE(ApplicationsPresentation::isProtected(plain));
    InstalledApp apple = plain;
    apple.isAppleSoftware = true;
    EXPECT_TRUE(ApplicationsPresentation::isProtected(apple));
    InstalledApp system = plain;
    system.url = QStringLiteral("/System/Applications/Tool.app");
    EXPECT_TRUE(ApplicationsPresentation::isProtected(system));
    InstalledApp packaged = plain;
    packaged.kind = InstalledApp::Kind::debianPackage;
    packaged.url = QStringLiteral("/usr/share/applications/vim.desktop");
    EXPECT_TRUE(ApplicationsPresentation::isProtected(packaged));
    InstalledApp flatpak = plain;
    flatpak.kind = InstalledApp::Kind::flatpak;
    flatpak.isSystemScope = true;
    EXPECT_FALSE(ApplicationsPresentation::isProtected(flatpak));
}

TEST(UninstallPresentation, HeaderPillsInOrder)
{
    InstalledApp a = app("Tool", "org.tool", 0);
    a.version = QStringLiteral("2.1");
    UninstallPresentation::Header header = UninstallPresentation::header(a, false);
    EXPECT_EQ(header.detail, QStringLiteral("Version 2.1 \u00B7 org.tool"));
    ASSERT_EQ(header.pills.size(), 1);
    EXPECT_EQ(header.pills.at(0), (UninstallPresentation::Pill{"0 KB", PaletteRole::accentDeep, std::nullopt}));
    a.isSystemScope = true;
    header = UninstallPresentation::header(a, true);
    ASSERT_EQ(header.pills.size(), 3);
    EXPECT_EQ(header.pills.at(1), (UninstallPresentation::Pill{"System-wide", PaletteRole::info, "lock"}));
    EXPECT_EQ(header.pills.at(2), (UninstallPresentation::Pill{"Protected", PaletteRole::warning, "shield"}));
}

TEST(UninstallPresentation, AnAppImagesPathIsShownFromTheHome)
{
    const platform::Seam<QString>::Override home(platform::homeFolder(), QStringLiteral("/home/ada"));
    const struct {
        InstalledApp::Kind kind;
        const char* id;
        const char* shown;
    } rows[] = {
        {InstalledApp::Kind::appImage, "/home/ada/Applications/Foo.AppImage", "~/Applications/Foo.AppImage"},
        {InstalledApp::Kind::appImage, "/home/adam/Foo.AppImage", "/home/adam/Foo.AppImage"},
        {InstalledApp::Kind::appImage, "/opt/Foo.AppImage", "/opt/Foo.AppImage"},
        {InstalledApp::Kind::flatpak, "org.example.Paint", "org.example.Paint"},
    };
    for (const auto& row : rows) {
        InstalledApp a = app("Foo", QString::fromUtf8(row.id));
        a.kind = row.kind;
        a.version = QStringLiteral("1.2");
        EXPECT_EQ(UninstallPresentation::header(a, false).detail,
                  QStringLiteral("Version 1.2 \u00B7 ") + QString::fromUtf8(row.shown));
    }
}

TEST(UninstallPresentation, BarFollowsTheSelection)
{
    UninstallPlan plan;
    plan.app = app("Tool", "org.tool", 1000000);
    plan.leftovers = {item(200000, true), item(300000, false)};
    plan.installedResidue = {item(50000, true), item(70000, false)};
    EXPECT_EQ(UninstallPresentation::removalTotal(plan), 1250000);
    EXPECT_EQ(UninstallPresentation::selectedSupportCount(plan), 1);
    UninstallPresentation::Bar bar = UninstallPresentation::bar(plan, false, false);
    EXPECT_EQ(bar.title, QStringLiteral("Removes 1.3 MB"));
    EXPECT_EQ(bar.detail, QStringLiteral("The app and 1 support item(s)."));
    EXPECT_TRUE(bar.isEnabled);
    EXPECT_FALSE(bar.isBusy);
    bar = UninstallPresentation::bar(plan, true, true);
    EXPECT_EQ(bar.detail, QStringLiteral("This is Apple system software and cannot be removed here."));
    EXPECT_FALSE(bar.isEnabled);
    EXPECT_TRUE(bar.isBusy);

    UninstallPlan empty;
    EXPECT_EQ(UninstallPresentation::bar(empty, false, false).title, QStringLiteral("Removes 0 KB"));
    EXPECT_EQ(UninstallPresentation::bar(empty, false, false).detail, QStringLiteral("The app and 0 support item(s)."));
    empty.app.size = std::numeric_limits<qint64>::max();
    empty.leftovers = {item(std::numeric_limits<qint64>::max(), true)};
    EXPECT_EQ(UninstallPresentation::removalTotal(empty), std::numeric_limits<qint64>::max());
    EXPECT_EQ(UninstallPresentation::total(empty.leftovers), std::numeric_limits<qint64>::max());
}

TEST(UninstallPresentation, MiddleAndReceiptLine)
{
    EXPECT_EQ(UninstallPresentation::middle(true, false), UninstallPresentation::Middle::planning);
    EXPECT_EQ(UninstallPresentation::middle(true, true), UninstallPresentation::Middle::planning);
    EXPECT_EQ(UninstallPresentation::middle(false, true), UninstallPresentation::Middle::cards);
    EXPECT_EQ(UninstallPresentation::middle(false, false), UninstallPresentation::Middle::nothing);
    EXPECT_EQ(UninstallPresentation::receiptLine(0), std::nullopt);
    EXPECT_EQ(
        UninstallPresentation::receiptLine(1),
        QStringLiteral("Removing these also forgets 1 installer receipt, which needs an administrator password."));
    EXPECT_EQ(
        UninstallPresentation::receiptLine(2),
        QStringLiteral("Removing these also forgets 2 installer receipts, which needs an administrator password."));
}

TEST(UninstallPresentation, Banners)
{
    CleanupReport report;
    report.reclaimed = 1500000;
    report.removed = 3;
    EXPECT_EQ(UninstallPresentation::banner("Tool", report),
              (UninstallPresentation::Banner{"Tool removed", "1.5 MB reclaimed from 3 item(s).", false}));
    report.failures = {{"/a", "x"}, {"/b", "y"}};
    EXPECT_EQ(UninstallPresentation::banner("Tool", report),
              (UninstallPresentation::Banner{"Removed with skips",
                                             "1.5 MB reclaimed from 3 item(s). 2 item(s) were protected.", true}));
    EXPECT_EQ(UninstallPresentation::banner("Tool", CleanupReport{}).message,
              QStringLiteral("0 KB reclaimed from 0 item(s)."));
}
