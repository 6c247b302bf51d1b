#include "support/FixtureTree.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>

#include <gtest/gtest.h>

namespace {

struct HostRun {
    int exitCode = -1;
    QString errors;
    QString output;
};

// Runs the built host with its own home, offscreen.
HostRun runHost(const QStringList& arguments, harborlite::test::FixtureTree& home)
{
    QProcess host;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("HOME"), home.root());
    const QString runtime = home.folder(QStringLiteral("runtime"));
    QFile::setPermissions(runtime, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime);
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    environment.remove(QStringLiteral("XDG_CONFIG_HOME"));
    host.setProcessEnvironment(environment);
    host.start(QStringLiteral(HARBORLITE_WIDGET_HOST), arguments);
    EXPECT_TRUE(host.waitForFinished(120'000));
    return {host.exitStatus() == QProcess::NormalExit ? host.exitCode() : -1,
            QString::fromUtf8(host.readAllStandardError()), QString::fromUtf8(host.readAllStandardOutput())};
}

} // namespace

TEST(HostProgram, RefusesWhatIsNotItsPlugIn)
{
    harborlite::test::FixtureTree tree;
    const QString text = tree.file(QStringLiteral("HarborliteWidgets.so"), QByteArray("not a library\n"));
    const struct {
        QString plugin;
        QString says;
    } rows[] = {
        {tree.path(QStringLiteral("missing.so")), QStringLiteral("There is no widget plug-in at")},
        {text, QStringLiteral("is not a widget plug-in")},
        {QStringLiteral(HARBORLITE_OTHER_VERSION_PLUGIN),
         QStringLiteral("of interface version 0; this host loads version 1")},
    };
    for (const auto& row : rows) {
        const HostRun run = runHost({QStringLiteral("--plugin-file"), row.plugin}, tree);
        EXPECT_NE(run.exitCode, 0) << row.plugin.toStdString();
        EXPECT_TRUE(run.errors.contains(row.says)) << run.errors.toStdString();
        EXPECT_TRUE(run.errors.contains(row.plugin)) << run.errors.toStdString();
    }
}

TEST(HostProgram, WritesTheGalleryInLightAndDark)
{
    harborlite::test::FixtureTree home;
    const QString folder = QCoreApplication::applicationDirPath() + QStringLiteral("/widgets-gallery");
    QDir(folder).removeRecursively();
    const HostRun run = runHost(
        {QStringLiteral("--plugin-file"), QStringLiteral(HARBORLITE_WIDGETS_PLUGIN), QStringLiteral("--png"), folder},
        home);
    ASSERT_EQ(run.exitCode, 0) << run.errors.toStdString();
    for (const char* appearance : {"light", "dark"}) {
        const QImage page(QStringLiteral("%1/widgets-gallery-%2.png").arg(folder, QLatin1String(appearance)));
        EXPECT_GT(page.width(), 900) << appearance;
        EXPECT_GT(page.height(), 700) << appearance;
        const struct {
            const char* kind;
            const char* family;
            QSize size;
        } tiles[] = {
            {"HarborliteSystemMonitor", "systemSmall", {170, 170}},
            {"HarborliteSystemMonitor", "systemMedium", {364, 170}},
            {"HarborliteSystemMonitor", "systemLarge", {364, 382}},
            {"HarborliteStorage", "systemSmall", {170, 170}},
            {"HarborliteStorage", "systemMedium", {364, 170}},
        };
        for (const auto& tile : tiles) {
            const QImage image(
                QStringLiteral("%1/%2-%3-%4.png")
                    .arg(folder, QLatin1String(tile.kind), QLatin1String(tile.family), QLatin1String(appearance)));
            EXPECT_EQ(image.size(), tile.size) << tile.kind << " " << tile.family << " " << appearance;
        }
    }
    // Nothing of the user's was written: the gallery places no widget.
    EXPECT_FALSE(QFile::exists(home.path(QStringLiteral(".config/harborlite-widget-host/placements.json"))));
}
