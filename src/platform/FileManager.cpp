#include "platform/FileManager.h"

#include "platform/OpenUrl.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QFileInfo>
#include <QUrl>

namespace harborlite::platform {

namespace {

void openContainingFolder(const QString& path, const ToolTable& tools)
{
    openUrl(QUrl::fromLocalFile(QFileInfo(path).absolutePath()), tools);
}

} // namespace

void revealInFileManager(const QStringList& paths, const ToolTable& tools)
{
    if (paths.isEmpty()) {
        return;
    }
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        openContainingFolder(paths.first(), tools);
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
    QObject::connect(watcher, &QDBusPendingCallWatcher::finished, watcher, [first, tools](QDBusPendingCallWatcher* w) {
        if (w->isError()) {
            openContainingFolder(first, tools);
        }
        w->deleteLater();
    });
}

} // namespace harborlite::platform
