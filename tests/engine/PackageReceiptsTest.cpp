#include "engine/apps/PackageReceipts.h"
#include "platform/Clock.h"
#include "platform/HomeFolder.h"
#include "platform/ToolTable.h"
#include "support/FakeReceiptTool.h"
#include "support/FixtureTree.h"
#include "support/QtPrinters.h"

#include <gtest/gtest.h>

using namespace harborlite;
using harborlite::test::FakeReceiptTool;
using harborlite::test::FixtureTree;

namespace {

PackageReceipt receipt(const QString& id, QStringList paths)
{
    return PackageReceipt{id, QString(), std::nullopt, std::move(paths)};
}

QStringList ids(const QList<PackageReceipt>& receipts)
{
    QStringList result;
    for (const PackageReceipt& r : receipts) {
        result << r.packageID;
    }
    return result;
}

} // namespace

TEST(PackageReceipts, MaximalPathsKeepTopmostOwnedLocationsShortestFirst)
{
    const QStringList listed = {"/Applications",
                                "/Applications/Foo.app",
                                "/Applications/Foo.app/Contents",
                                "/Applications/Foo.app/Contents/Info.plist",
                                "/usr/local/bin",
                                "/usr/local/bin/foo",
                                "/opt/foo",
                                "/opt/foobar/",
                                "/",
                                "",
                                "/opt/foo"};
    EXPECT_EQ(PackageReceipts::maximalPaths(listed),
              (QStringList{"/opt/foo", "/opt/foo", "/opt/foobar", "/usr/local/bin/foo", "/Applications/Foo.app"}));
}

TEST(PackageReceipts, VendorPrefix)
{
    EXPECT_EQ(PackageReceipts::vendorPrefix("com.example.app.helper"), QStringLiteral("com.example"));
    EXPECT_EQ(PackageReceipts::vendorPrefix("com..example.app"), QStringLiteral("com.example"));
    EXPECT_FALSE(PackageReceipts::vendorPrefix("single").has_value());
    EXPECT_FALSE(PackageReceipts::vendorPrefix(".single.").has_value());
}

TEST(PackageReceipts, ThirdPartyReadsInformationAndFileLists)
{
    FakeReceiptTool tool;
    tool.package("com.apple.pkg.Core", "version: 1\n", QByteArray("System\n"));
    tool.package("com.example.foo",
                 "package-id: com.example.foo\nversion:\t2.1 \nvolume: /\nlocation: Applications\n"
                 "install-time: 1700000000.5\nversion: 2.2\n",
                 QByteArray("Foo.app\nFoo.app/Contents\n\nFoo.app/Contents/Info.plist\n"));
    tool.package("org.tools.cli", "location:\ninstall-time: soon\n:volume:/\n",
                 QByteArray("usr/local/bin\nusr/local/bin/cli\n"));
    tool.package("net.broken.files", "version: 9\n", std::nullopt);

    const QList<PackageReceipt> receipts = PackageReceipts::thirdParty(tool.table());
    ASSERT_EQ(ids(receipts), (QStringList{"com.example.foo", "org.tools.cli"}));
    const PackageReceipt& foo = receipts.at(0);
    EXPECT_EQ(foo.version, QStringLiteral("2.2"));
    EXPECT_EQ(foo.installedAt, QDateTime::fromMSecsSinceEpoch(1700000000500, Qt::UTC));
    EXPECT_EQ(foo.paths, QStringList{"/Applications/Foo.app"});
    const PackageReceipt& cli = receipts.at(1);
    EXPECT_EQ(cli.version, QString());
    EXPECT_FALSE(cli.installedAt.has_value());
    EXPECT_EQ(cli.paths, QStringList{"/usr/local/bin/cli"});
    EXPECT_EQ(cli.installedDescription(), QStringLiteral("Installed by org.tools.cli"));

    platform::Seam<QDateTime>::Override now(platform::clock(),
                                            QDateTime::fromMSecsSinceEpoch(1700000000500, Qt::UTC).addDays(2));
    EXPECT_TRUE(foo.installedDescription().startsWith(QStringLiteral("Installed 2 days ago by com.example.foo")))
        << foo.installedDescription().toStdString();
}

TEST(PackageReceipts, AMissingOrFailingToolGivesNothing)
{
    platform::ToolTable table;
    table.pkgutil = QStringLiteral("/nonexistent/pkgutil");
    EXPECT_TRUE(PackageReceipts::thirdParty(table).isEmpty());
    EXPECT_TRUE(PackageReceipts::receipts("/Applications/Foo.app", "com.example.foo", std::nullopt, table).isEmpty());
}

TEST(PackageReceipts, ReceiptsOfAnApplication)
{
    const QList<PackageReceipt> all = {
        receipt("com.example.foo", {"/Applications/Foo.app"}),
        receipt("com.example.helper", {"/Library/Helpers/foo"}),
        receipt("org.other.bar", {"/Applications/Bar.app"}),
        receipt("com.examplex.thing", {"/opt/thing"}),
    };
    EXPECT_EQ(ids(PackageReceipts::receipts("/Applications/Foo.app/", "com.example.foo", all)),
              (QStringList{"com.example.foo", "com.example.helper"}));
    // The vendor prefix of the identifier alone reaches the vendor's packages.
    EXPECT_EQ(ids(PackageReceipts::receipts("/Applications/Other.app", "com.example.other", all)),
              (QStringList{"com.example.foo", "com.example.helper"}));
    EXPECT_TRUE(PackageReceipts::receipts("/Applications/Solo.app", "solo", all).isEmpty());
    const QList<PackageReceipt> single = {receipt("solo", {"/Applications/Solo.app"})};
    EXPECT_EQ(ids(PackageReceipts::receipts("/Applications/Solo.app", "solo", single)), QStringList{"solo"});
}

TEST(PackageReceipts, ResidueLeavesOutTheBundleClaimsMissingAndGuardedLocations)
{
    FixtureTree tree;
    platform::Seam<QString>::Override home(platform::homeFolder(), tree.path("home"));
    const QString app = tree.folder("Applications/Foo.app");
    const QString tool = tree.file("opt/foo/bin/foo", 10);
    const QString shared = tree.file("opt/shared", 10);
    const QString inside = tree.folder("opt/claimedparent/child");
    const QString container = tree.folder("opt/container");
    tree.file("opt/container/claimed-inner", 10);
    const QString twice = tree.file("opt/twice", 10);
    const QString kept = tree.file("opt/kept", 10);

    const PackageReceipt first =
        receipt("com.example.foo",
                {app, app + "/Contents", tool, shared, inside, container, twice, tree.path("opt/gone"), "/usr/bin"});
    const PackageReceipt second = receipt("com.example.extra", {twice, kept});
    const PackageReceipt other =
        receipt("org.other", {shared, tree.path("opt/claimedparent"), tree.path("opt/container/claimed-inner")});
    const QList<PackageReceipts::ResidueItem> items =
        PackageReceipts::residue({first, second}, app, {first, other, second});

    QStringList urls;
    QStringList owners;
    for (const auto& item : items) {
        urls << item.url;
        owners << item.receipt.packageID;
    }
    EXPECT_EQ(urls, (QStringList{tool, twice, kept}));
    EXPECT_EQ(owners, (QStringList{"com.example.foo", "com.example.foo", "com.example.extra"}));
}
