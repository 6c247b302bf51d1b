#include "widgets/host/PluginLoading.h"
#include "widgets/host/WidgetGallery.h"
#include "widgets/host/WidgetHost.h"
#include "widgets/kit/WidgetBundle.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QFileInfo>
#include <QTextStream>

#include <chrono>

using namespace harborlite;

namespace {

QString text(const char* source)
{
    return QCoreApplication::translate("WidgetHost", source);
}

// The host places windows itself, which only X11 allows: on a Wayland session
// it runs through XWayland unless told otherwise.
void preferX11()
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && !qEnvironmentVariableIsEmpty("DISPLAY")) {
        qputenv("QT_QPA_PLATFORM", "xcb");
    }
}

} // namespace

// Shows the widgets of the Harborlite widget plug-in on the desktop, or with
// --gallery every kind and family in light and dark; --png FOLDER writes the
// gallery's pictures there instead and exits.
int main(int argc, char* argv[])
{
    preferX11();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("harborlite-widget-host"));
    QApplication::setQuitOnLastWindowClosed(false);

    QCommandLineParser parser;
    parser.setApplicationDescription(text("Shows the Harborlite desktop widgets."));
    parser.addHelpOption();
    // Not "--plugin": Qt takes that one for its own generic plug-ins.
    const QCommandLineOption plugin(QStringLiteral("plugin-file"), text("Load the widget plug-in <file>."),
                                    text("file"));
    const QCommandLineOption gallery(QStringLiteral("gallery"), text("Show every widget in every size."));
    const QCommandLineOption png(QStringLiteral("png"), text("Write the gallery's pictures into <folder> and exit."),
                                 text("folder"));
    parser.addOptions({plugin, gallery, png});
    parser.process(app);

    QTextStream errors(stderr);
    QString path = parser.value(plugin);
    if (path.isEmpty()) {
        const QStringList locations = PluginLoading::defaultLocations(QApplication::applicationDirPath());
        path = locations.back();
        for (const QString& location : locations) {
            if (QFileInfo::exists(location)) {
                path = location;
                break;
            }
        }
    }
    const PluginLoading::Loaded loaded = PluginLoading::load(path);
    if (loaded.bundle == nullptr) {
        errors << loaded.error << '\n';
        return 1;
    }

    if (parser.isSet(png)) {
        const QStringList written = WidgetGallery::writePictures(loaded.bundle->widgets(), parser.value(png));
        QTextStream(stdout) << written.join(QLatin1Char('\n')) << '\n';
        return written.isEmpty() ? 1 : 0;
    }

    WidgetHost host(*loaded.bundle, WidgetHost::Setup{});
    QObject::connect(&host, &WidgetHost::quitRequested, &app, &QCoreApplication::quit, Qt::QueuedConnection);
    if (parser.isSet(gallery)) {
        host.showGallery();
    } else {
        host.start();
    }
    const int status = QApplication::exec();
    // The plug-in's code may still run on its workers: let them finish first.
    host.waitForRequests(std::chrono::seconds(5));
    return status;
}
