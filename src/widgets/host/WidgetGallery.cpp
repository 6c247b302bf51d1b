#include "widgets/host/WidgetGallery.h"

#include "ui/components/GlassCompatButton.h"
#include "ui/theme/TypeStyle.h"
#include "widgets/host/CompletionRelay.h"
#include "widgets/host/GalleryTile.h"
#include "widgets/kit/WidgetsLog.h"

#include <QCoreApplication>
#include <QDir>
#include <QEventLoop>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QTimer>
#include <QVBoxLayout>

#include <atomic>

namespace harborlite {

namespace {

QString text(const char* source)
{
    return QCoreApplication::translate("WidgetGallery", source);
}

// A text of the gallery in one of the kit's type styles.
QLabel* label(const QString& content, const QFont& font, const AdaptiveColor& color, Appearance appearance)
{
    auto* made = new QLabel(content);
    made->setFont(font);
    QPalette palette = made->palette();
    palette.setColor(QPalette::WindowText, color.resolve(appearance));
    made->setPalette(palette);
    return made;
}

QString appearanceName(Appearance appearance)
{
    return appearance == Appearance::dark ? text("Dark") : text("Light");
}

} // namespace

QString WidgetGallery::familyName(WidgetFamily family)
{
    switch (family) {
    case WidgetFamily::systemSmall:
        return text("Small");
    case WidgetFamily::systemMedium:
        return text("Medium");
    case WidgetFamily::systemLarge:
        return text("Large");
    case WidgetFamily::systemExtraLarge:
        return text("Extra Large");
    }
    return {};
}

WidgetGallery::WidgetGallery(const std::vector<const Widget*>& widgets, Appearance appearance, bool offersAdding,
                             QWidget* parent)
    : QWidget(parent)
    , appearance_(appearance)
    , relay_(std::make_shared<CompletionRelay>(this))
{
    Palette::setOwnAppearance(this, appearance);
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(28, 24, 28, 28);
    column->setSpacing(6);
    column->addWidget(label(appearanceName(appearance), TypeStyle::screenTitle(), Palette::ink(), appearance));
    for (const Widget* widget : widgets) {
        column->addSpacing(16);
        column->addWidget(label(widget->displayName(), TypeStyle::sectionTitle(), Palette::ink(), appearance));
        column->addWidget(
            label(widget->description(), TypeStyle::font(13, QFont::Normal), Palette::inkSecondary(), appearance));
        column->addSpacing(6);
        auto* row = new QHBoxLayout;
        row->setSpacing(20);
        for (const WidgetFamily family : widget->supportedFamilies()) {
            auto* cell = new QVBoxLayout;
            cell->setSpacing(6);
            auto* tile = new GalleryTile(*widget, family, appearance);
            tiles_.push_back(tile);
            cell->addWidget(tile, 0, Qt::AlignLeft | Qt::AlignTop);
            cell->addWidget(label(familyName(family), TypeStyle::rowDetail(), Palette::inkSecondary(), appearance));
            if (offersAdding) {
                auto* add = new GlassCompatButton(text("Add Widget"), false);
                add->setAccessibleDescription(widget->displayName() + QStringLiteral(", ") + familyName(family));
                const QString kind = widget->kind();
                connect(add, &GlassCompatButton::clicked, this,
                        [this, kind, family] { emit addRequested(kind, family); });
                cell->addWidget(add, 0, Qt::AlignLeft);
            }
            cell->addStretch(1);
            row->addLayout(cell);
        }
        row->addStretch(1);
        column->addLayout(row);
    }
    column->addStretch(1);
    for (std::size_t i = 0; i < tiles_.size(); ++i) {
        requestPreview(i);
    }
}

WidgetGallery::~WidgetGallery()
{
    relay_->close();
}

bool WidgetGallery::isComplete() const
{
    for (const GalleryTile* tile : tiles_) {
        if (!tile->hasPreview()) {
            return false;
        }
    }
    return true;
}

void WidgetGallery::requestPreview(std::size_t index)
{
    GalleryTile* tile = tiles_[index];
    const TimelineProviderContext context{tile->family(), true, displaySize(tile->family())};
    relay_->begin();
    auto answered = std::make_shared<std::atomic_bool>(false);
    tile->widget().getSnapshot(context, [relay = relay_, answered, this, index](WidgetEntry entry) {
        if (answered->exchange(true)) {
            return;
        }
        relay->finish([this, index, entry = std::move(entry)] {
            tiles_[index]->setEntry(entry);
            if (isComplete()) {
                emit completed();
            }
        });
    });
}

void WidgetGallery::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), Palette::canvas().resolve(appearance_));
}

QStringList WidgetGallery::writePictures(const std::vector<const Widget*>& widgets, const QString& folder,
                                         std::chrono::milliseconds patience)
{
    QStringList written;
    if (!QDir().mkpath(folder)) {
        qCWarning(widgetsLog) << "cannot create the picture folder" << folder;
        return written;
    }
    for (const Appearance appearance : {Appearance::light, Appearance::dark}) {
        WidgetGallery gallery(widgets, appearance, false);
        if (!gallery.isComplete()) {
            QEventLoop loop;
            QObject::connect(&gallery, &WidgetGallery::completed, &loop, &QEventLoop::quit);
            QTimer::singleShot(patience, &loop, &QEventLoop::quit);
            loop.exec();
        }
        if (!gallery.isComplete()) {
            qCWarning(widgetsLog) << "some widget previews did not come; the gallery shows them empty";
        }
        gallery.adjustSize();
        const QString suffix = appearance == Appearance::dark ? QStringLiteral("dark") : QStringLiteral("light");
        const auto save = [&](const QImage& image, const QString& name) {
            const QString path = QDir(folder).filePath(name);
            if (image.save(path)) {
                written.append(path);
            } else {
                qCWarning(widgetsLog) << "cannot write" << path;
            }
        };
        save(gallery.grab().toImage(), QStringLiteral("widgets-gallery-%1.png").arg(suffix));
        for (GalleryTile* tile : gallery.tiles()) {
            if (tile->hasPreview()) {
                save(tile->grab().toImage(),
                     QStringLiteral("%1-%2-%3.png").arg(tile->widget().kind(), rawValue(tile->family()), suffix));
            }
        }
    }
    return written;
}

} // namespace harborlite
