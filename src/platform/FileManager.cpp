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

void openContainingFolder(const QString& path)
{
    QProcess::startDetached(QStringLiteral("xdg-open"), {QFileInfo(path).absolutePath()});
}

} // namespace

void revealInFileManager(const QStringList& paths)
{
    if (paths.isEmpty()) {
        return;
    }
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        openContainingFolder(paths.first());
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
    QObject::connect(watcher, &QDBusPendingCallWatcher::finished, watcher, [first](QDBusPendingCallWatcher* w) {
        if (w->isError()) {
            openContainingFolder(first);
        }
        w->deleteLater();
    });
}

} // namespace harborlite::platform
