#include "app/HarborliteApp.h"
#include "platform/OpenFileLimit.h"
#include "platform/SingleInstance.h"
#include "shared/JsonFileDefaults.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    harborlite::platform::raiseOpenFileLimit();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Harborlite"));
    QGuiApplication::setDesktopFileName(QStringLiteral("harborlite"));

    harborlite::platform::SingleInstance instance(harborlite::platform::SingleInstance::defaultSocketPath());
    if (!instance.claim()) {
        return 0;
    }

    harborlite::JsonFileDefaults defaults(harborlite::JsonFileDefaults::standardFilePath());
    harborlite::HarborliteApp harbor(defaults);
    QObject::connect(&instance, &harborlite::platform::SingleInstance::raiseRequested, &harbor,
                     &harborlite::HarborliteApp::showWindow);
    harbor.showWindow();
    return QApplication::exec();
}
