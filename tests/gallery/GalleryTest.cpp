#include "gallery/Gallery.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QImage>

#include <gtest/gtest.h>

namespace {

QStringList warnings;

void collect(QtMsgType type, const QMessageLogContext&, const QString& message)
{
    if (type != QtDebugMsg && type != QtInfoMsg) {
        warnings.append(message);
    }
}

} // namespace

// Renders every component in light and dark to PNG files in the build tree
// for a person to look at, and fails on any warning while doing so.
TEST(Gallery, RendersBothAppearancesWithoutWarnings)
{
    warnings.clear();
    const QtMessageHandler previous = qInstallMessageHandler(collect);
    const QStringList files =
        harborlite::Gallery::renderToFolder(QCoreApplication::applicationDirPath() + QStringLiteral("/gallery"));
    qInstallMessageHandler(previous);
    // The offscreen platform reports once that it cannot pass size hints on.
    warnings.removeIf([](const QString& w) { return w.contains(QLatin1String("propagateSizeHints")); });
    EXPECT_TRUE(warnings.isEmpty()) << warnings.join(QLatin1Char('\n')).toStdString();
    ASSERT_EQ(files.size(), 2);
    for (const QString& file : files) {
        const QImage image(file);
        EXPECT_GE(image.width(), 1180);
        EXPECT_GE(image.height(), 1180);
    }
}
