#include "platform/FileManager.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QFileInfo>
#include <QProcess>
#include <QUrl>

namespace harborlite::platform {

namespace {

void openContainingFolder(const QString& path, const QString& opener)
{
    QProcess::startDetached(opener, {QFileInfo(path).absolutePath()});
}

} // namespace

void revealInFileManager(const QStringList& paths, const ToolTable& tools)
{
    if (paths.isEmpty()) {
        return;
    }
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        openContainingFolder(paths.first(), tools.xdgOpen);
        return;
    }
    QStringList uris;
    for (const QString& path : paths) {
        uris << QUrl::fromLocalFile(path).toString();
    }
    QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.FileManager1"), QStringLiteral("/org/freedesktop/FileManager1"),
        QStringLiteral("org.freedesktop.FileManager1"), QStringLiteral("ShowItems"));
    call << uris << QString();
    auto* watcher = new QDBusPendingCallWatcher(bus.asyncCall(call));
    const QString first = paths.first();
    const QString opener = tools.xdgOpen;
    QObject::connect(watcher, &QDBusPendingCallWatcher::finished, watcher, [first, opener](QDBusPendingCallWatcher* w) {
        if (w->isError()) {
            openContainingFolder(first, opener);
        }
        w->deleteLater();
    });
}

} // namespace harborlite::platform
