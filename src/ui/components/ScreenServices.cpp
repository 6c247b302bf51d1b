#include "ui/components/ScreenServices.h"

#include "platform/FileManager.h"
#include "platform/IconFiles.h"
#include "shared/FileSystem.h"
#include "ui/components/FileAndFolderChooser.h"
#include "ui/components/FileIcons.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QImageReader>
#include <QPainter>
#include <QSvgRenderer>

#include <memory>

namespace harborlite {

namespace {

// Icons are small; a larger file is not an icon.
constexpr qint64 kMaxIconBytes = 8 * 1024 * 1024;

QImage loadIcon(const QString& iconName, int side)
{
    const std::optional<QString> file = platform::applicationIconFile(iconName);
    if (!file || side <= 0 || QFileInfo(*file).size() > kMaxIconBytes) {
        return {};
    }
    QImage image(side, side, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    if (file->endsWith(QLatin1String(".svg"), Qt::CaseInsensitive)
        || file->endsWith(QLatin1String(".svgz"), Qt::CaseInsensitive)) {
        QSvgRenderer renderer(*file);
        if (!renderer.isValid()) {
            return {};
        }
        QSizeF size = renderer.defaultSize();
        size.scale(side, side, Qt::KeepAspectRatio);
        QPainter painter(&image);
        renderer.render(&painter,
                        QRectF((side - size.width()) / 2, (side - size.height()) / 2, size.width(), size.height()));
        return image;
    }
    QImageReader reader(*file);
    const QSize original = reader.size();
    if (original.isValid() && (original.width() > 4096 || original.height() > 4096)) {
        return {};
    }
    const QImage loaded = reader.read();
    if (loaded.isNull()) {
        return {};
    }
    const QImage scaled = loaded.scaled(side, side, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    QPainter painter(&image);
    painter.drawImage(QPointF((side - scaled.width()) / 2.0, (side - scaled.height()) / 2.0), scaled);
    return image;
}

} // namespace

ScreenServices ScreenServices::real(platform::ToolTable tools)
{
    auto icons = std::make_shared<FileIcons>();
    // The choosers open where the user last chose something, else in the home.
    auto lastFolder = std::make_shared<QString>();
    return {
        .reveal = [tools = std::move(tools)](const QStringList& paths) { platform::revealInFileManager(paths, tools); },
        .iconForFile = [icons](const QString& path) { return icons->icon(path); },
        .whenIconsArrive =
            [icons](QObject* context, std::function<void(const QStringList&)> arrived) {
                QObject::connect(icons.get(), &FileIcons::arrived, context, std::move(arrived));
            },
        .applicationIcon = loadIcon,
        .chooseFiles =
            [lastFolder](QWidget* parent, std::function<void(const QStringList&)> chosen) {
                const QString start = lastFolder->isEmpty() ? FS::homePath() : *lastFolder;
                FileAndFolderChooser::open(
                    parent, start,
                    [lastFolder, chosen = std::move(chosen)](const QStringList& paths, const QString& shown) {
                        *lastFolder = shown;
                        chosen(paths);
                    });
            },
        // The desktop's own folder dialog where the platform offers one.
        .chooseFolder = [lastFolder](QWidget* parent, const QString& start) -> std::optional<QString> {
            const QString from = lastFolder->isEmpty() ? start : *lastFolder;
            const QString chosen =
                QFileDialog::getExistingDirectory(parent, QString(), from, QFileDialog::ShowDirsOnly);
            if (chosen.isEmpty()) {
                return std::nullopt;
            }
            *lastFolder = chosen;
            return chosen;
        },
    };
}

} // namespace harborlite
