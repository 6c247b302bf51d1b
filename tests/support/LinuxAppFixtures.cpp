#include "support/LinuxAppFixtures.h"

#include <QFile>

#include <gtest/gtest.h>

namespace harborlite::test {

QByteArray desktopEntry(const QString& name, const QString& exec, const QString& icon, const QByteArray& extraLines)
{
    QByteArray entry = "[Desktop Entry]\nType=Application\nName=" + name.toUtf8() + "\nExec=" + exec.toUtf8() + "\n";
    if (!icon.isEmpty()) {
        entry += "Icon=" + icon.toUtf8() + "\n";
    }
    return entry + extraLines;
}

QByteArray metainfo(const QStringList& versions)
{
    QByteArray xml = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<component type=\"desktop-application\">\n"
                     "  <id>example</id>\n  <releases>\n";
    for (const QString& version : versions) {
        xml += "    <release version=\"" + version.toUtf8() + "\"/>\n";
    }
    return xml + "  </releases>\n</component>\n";
}

QString flatpakApp(FixtureTree& tree, const QString& installation, const QString& id, const FlatpakFixture& app)
{
    const QString folder = installation + QStringLiteral("/app/") + id;
    const QString deployment = folder + QStringLiteral("/x86_64/stable/0123abcd");
    tree.file(deployment + QStringLiteral("/metadata"), "[Application]\nname=" + id.toUtf8() + "\n");
    tree.file(deployment + QStringLiteral("/files/bin/app"), app.deployedBytes);
    if (app.exportsDesktopEntry) {
        tree.file(deployment + QStringLiteral("/export/share/applications/") + id + QStringLiteral(".desktop"),
                  desktopEntry(app.name, QStringLiteral("/usr/bin/flatpak run ") + id, app.icon));
    }
    if (!app.icon.isEmpty()) {
        tree.file(deployment + QStringLiteral("/export/share/icons/hicolor/scalable/apps/") + app.icon
                      + QStringLiteral(".svg"),
                  "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"16\" height=\"16\"/>");
    }
    if (!app.metainfo.isEmpty()) {
        tree.file(deployment + QStringLiteral("/files/share/metainfo/") + id + QStringLiteral(".metainfo.xml"),
                  app.metainfo);
    }
    tree.symlink(folder + QStringLiteral("/current"), QStringLiteral("x86_64/stable"));
    tree.symlink(folder + QStringLiteral("/x86_64/stable/active"), QStringLiteral("0123abcd"));
    return tree.path(folder);
}

void dpkgPackage(FixtureTree& tree, const QString& database, const QByteArray& paragraph, const QString& listName,
                 const QStringList& files)
{
    QFile status(tree.path(database + QStringLiteral("/status")));
    tree.folder(database + QStringLiteral("/info"));
    if (!status.open(QIODevice::WriteOnly | QIODevice::Append) || status.write(paragraph + "\n") < 0) {
        ADD_FAILURE() << "cannot write the status file";
    }
    QByteArray list;
    for (const QString& file : files) {
        list += file.toUtf8() + "\n";
    }
    tree.file(database + QStringLiteral("/info/") + listName + QStringLiteral(".list"), list);
}

} // namespace harborlite::test
