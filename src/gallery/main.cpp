#include "gallery/Gallery.h"

#include <QApplication>
#include <QTextStream>
#include <QWidget>

#include <memory>

// Shows every component of the design system in light and dark; with
// "--png FOLDER" writes the two pictures there instead and exits.
int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("harborlite-gallery"));
    const QStringList arguments = QApplication::arguments();
    const qsizetype png = arguments.indexOf(QStringLiteral("--png"));
    if (png >= 0 && png + 1 < arguments.size()) {
        const QStringList written = harborlite::Gallery::renderToFolder(arguments.at(png + 1));
        QTextStream(stdout) << written.join(QLatin1Char('\n')) << '\n';
        return written.isEmpty() ? 1 : 0;
    }
    std::unique_ptr<QWidget> light(harborlite::Gallery::build(harborlite::Appearance::light));
    std::unique_ptr<QWidget> dark(harborlite::Gallery::build(harborlite::Appearance::dark));
    for (QWidget* window : {light.get(), dark.get()}) {
        window->resize(1180, 1180);
        window->show();
    }
    return QApplication::exec();
}
