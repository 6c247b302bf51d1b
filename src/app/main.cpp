#include "platform/OpenFileLimit.h"

#include <QApplication>
#include <QMainWindow>

int main(int argc, char* argv[])
{
    harborlite::platform::raiseOpenFileLimit();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Harborlite"));

    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Harborlite"));
    window.setMinimumSize(1000, 680);
    window.resize(1180, 780);
    window.show();
    return QApplication::exec();
}
