#include "app/HarborliteApp.h"
#include "platform/CryptoLibrary.h"
#include "platform/OpenFileLimit.h"
#include "platform/SingleInstance.h"
#include "shared/JsonFileDefaults.h"

#include <QApplication>

#include <cstdio>

int main(int argc, char* argv[])
{
    harborlite::platform::keepCryptoStateAtExit();
    harborlite::platform::raiseOpenFileLimit();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Harborlite"));
    QGuiApplication::setDesktopFileName(QStringLiteral("harborlite"));

    harborlite::platform::SingleInstance instance(harborlite::platform::SingleInstance::defaultSocketPath());
    if (!instance.claim()) {
        // The running copy comes to the front, on whatever display it is.
        std::fputs(qPrintable(QCoreApplication::translate(
                       "main", "Harborlite is already running for this user; its window was brought to the front.\n")),
                   stderr);
        return 0;
    }

    harborlite::JsonFileDefaults defaults(harborlite::JsonFileDefaults::standardFilePath());
    harborlite::HarborliteApp harbor(defaults);
    QObject::connect(&instance, &harborlite::platform::SingleInstance::raiseRequested, &harbor,
                     &harborlite::HarborliteApp::showWindow);
    harbor.showWindow();
    return QApplication::exec();
}
