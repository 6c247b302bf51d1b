#include <QCoreApplication>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QSettings>
#include <QSvgRenderer>

#include <gtest/gtest.h>

namespace {

// The build stages the launcher files under <build>/share, beside tests/.
QString staged(const QString& relative)
{
    return QCoreApplication::applicationDirPath() + QStringLiteral("/../share/") + relative;
}

} // namespace

TEST(LauncherFiles, DesktopEntryNamesTheBuiltProgramAndItsIcon)
{
    const QString path = staged(QStringLiteral("applications/harborlite.desktop"));
    ASSERT_TRUE(QFile::exists(path)) << path.toStdString();
    QSettings entry(path, QSettings::IniFormat);
    entry.beginGroup(QStringLiteral("Desktop Entry"));
    EXPECT_EQ(entry.value(QStringLiteral("Type")).toString(), QStringLiteral("Application"));
    EXPECT_EQ(entry.value(QStringLiteral("Name")).toString(), QStringLiteral("Harborlite"));
    EXPECT_EQ(entry.value(QStringLiteral("Icon")).toString(), QStringLiteral("harborlite"));
    const QString program = entry.value(QStringLiteral("Exec")).toString();
    EXPECT_TRUE(program.endsWith(QStringLiteral("/src/app/harborlite"))) << program.toStdString();
    EXPECT_TRUE(QFile::exists(program));
}

TEST(LauncherFiles, IconDrawsTheMarkOnTheGreenTile)
{
    QSvgRenderer renderer(staged(QStringLiteral("icons/hicolor/scalable/apps/harborlite.svg")));
    ASSERT_TRUE(renderer.isValid());
    QImage image(256, 256, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    {
        QPainter painter(&image);
        renderer.render(&painter);
    }
    image.save(QCoreApplication::applicationDirPath() + QStringLiteral("/harborlite-icon.png"));
    EXPECT_EQ(qAlpha(image.pixel(1, 1)), 0);
    const QColor tile = image.pixelColor(128, 20);
    EXPECT_GT(tile.green(), tile.red() + 60);
    // The ring's left side is white; its centre is the tile.
    const QColor ring = image.pixelColor(128 - 55, 128);
    EXPECT_GT(ring.red(), 240);
    EXPECT_GT(ring.blue(), 240);
    EXPECT_LT(image.pixelColor(128, 128).red(), 120);
}
