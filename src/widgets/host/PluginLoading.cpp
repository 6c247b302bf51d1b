#include "widgets/host/PluginLoading.h"

#include "widgets/kit/WidgetBundle.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QJsonObject>
#include <QPluginLoader>

namespace harborlite::PluginLoading {

namespace {

QString text(const char* source)
{
    return QCoreApplication::translate("WidgetHost", source);
}

// Every version of the interface shares this name before its "/<version>".
constexpr QLatin1String kInterfaceFamily("org.harborlite.WidgetBundle/");

} // namespace

QString fileName()
{
    return QStringLiteral("HarborliteWidgets.so");
}

QStringList defaultLocations(const QString& programFolder)
{
    const QDir folder(programFolder);
    return {
        folder.filePath(fileName()),
        QDir::cleanPath(
            folder.filePath(QStringLiteral(HARBORLITE_INSTALLED_PLUGIN_FOLDER) + QLatin1Char('/') + fileName())),
    };
}

Loaded load(const QString& path)
{
    Loaded loaded;
    const QFileInfo file(path);
    if (!file.exists()) {
        loaded.error = text("There is no widget plug-in at %1.").arg(path);
        return loaded;
    }
    QPluginLoader loader(file.absoluteFilePath());
    const QString interface = loader.metaData().value(QStringLiteral("IID")).toString();
    if (interface.isEmpty()) {
        loader.load();
        loaded.error = text("%1 is not a widget plug-in: %2").arg(path, loader.errorString());
        return loaded;
    }
    if (interface != QLatin1String(HARBORLITE_WIDGET_BUNDLE_IID)) {
        loaded.error = interface.startsWith(kInterfaceFamily)
            ? text("%1 is a widget plug-in of interface version %2; this host loads version %3.")
                  .arg(path, interface.mid(kInterfaceFamily.size()),
                       QString(QLatin1String(HARBORLITE_WIDGET_BUNDLE_IID)).mid(kInterfaceFamily.size()))
            : text("%1 is not a widget plug-in: it offers %2.").arg(path, interface);
        return loaded;
    }
    QObject* instance = loader.instance();
    loaded.bundle = qobject_cast<WidgetBundle*>(instance);
    if (loaded.bundle == nullptr) {
        loaded.error = text("%1 is not a widget plug-in: %2").arg(path, loader.errorString());
    }
    return loaded;
}

} // namespace harborlite::PluginLoading
