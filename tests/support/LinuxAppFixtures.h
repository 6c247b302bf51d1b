#pragma once

#include "support/FixtureTree.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

// Installed applications in their Linux forms, written into a fixture tree as
// the real tools leave them.
namespace harborlite::test {

// A desktop entry of the given name, Exec line and icon.
QByteArray desktopEntry(const QString& name, const QString& exec, const QString& icon = {},
                        const QByteArray& extraLines = {});

// A metainfo file listing releases of the given versions, newest first.
QByteArray metainfo(const QStringList& versions);

struct FlatpakFixture {
    QString name;
    QString icon;
    // Written as <id>.metainfo.xml when not empty.
    QByteArray metainfo;
    qint64 deployedBytes = 4096;
    bool exportsDesktopEntry = true;

    static FlatpakFixture named(const QString& name, const QString& icon = {}, const QByteArray& metainfo = {})
    {
        FlatpakFixture made;
        made.name = name;
        made.icon = icon;
        made.metainfo = metainfo;
        return made;
    }
};

// <installation>/app/<id>/current -> x86_64/stable, .../stable/active -> <commit>,
// the deployment with files/, metadata and its exported desktop entry and
// icon; returns the application's folder <installation>/app/<id>.
QString flatpakApp(FixtureTree& tree, const QString& installation, const QString& id, const FlatpakFixture& app);

// A package in the dpkg database folder `database`: its paragraph appended to
// "status" and its file list "info/<listName>.list" naming `files` (absolute
// paths of the machine).
void dpkgPackage(FixtureTree& tree, const QString& database, const QByteArray& paragraph, const QString& listName,
                 const QStringList& files);

} // namespace harborlite::test
