#include "ui/theme/Symbols.h"

#include "ui/paintcache/PictureCache.h"
#include "ui/theme/PaintedSymbols.h"

#include <QIcon>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

#include <algorithm>
#include <array>
#include <cmath>
#include <utility>

namespace harborlite::Symbols {

namespace {

struct Entry {
    const char* symbol;
    const char* icon;
};

// Sorted by symbol name; every icon is a symbolic icon of the Adwaita theme,
// and none means the symbol is painted (PaintedSymbols) because Adwaita has
// nothing of the same meaning or shape.
constexpr std::array kEntries = std::to_array<Entry>({
    {"arrow.down.circle", nullptr},
    {"arrow.down.circle.fill", nullptr},
    {"arrow.down.doc", "document-save-symbolic"},
    {"arrow.up.arrow.down", "network-transmit-receive-symbolic"},
    {"arrow.up.forward.app", "send-to-symbolic"},
    {"battery.100", "battery-level-100-symbolic"},
    {"battery.100.bolt", "battery-level-100-charged-symbolic"},
    {"battery.75", "battery-level-70-symbolic"},
    {"book", "accessories-dictionary-symbolic"},
    {"chart.pie", "drive-multidisk-symbolic"},
    {"checkmark", "object-select-symbolic"},
    {"checkmark.circle", "emblem-ok-symbolic"},
    {"checkmark.circle.fill", "emblem-default-symbolic"},
    {"checkmark.seal.fill", "emblem-default-symbolic"},
    {"checkmark.shield.fill", nullptr},
    {"chevron.down", nullptr},
    {"chevron.right", nullptr},
    {"chevron.up", nullptr},
    {"circle.lefthalf.filled", nullptr},
    {"clock.arrow.2.circlepath", "emblem-synchronizing-symbolic"},
    {"clock.arrow.circlepath", "document-open-recent-symbolic"},
    {"cpu", "computer-symbolic"},
    {"cube.box", "package-x-generic-symbolic"},
    {"doc", "text-x-generic-symbolic"},
    {"doc.on.doc", "edit-copy-symbolic"},
    {"doc.richtext", "format-text-rich-symbolic"},
    {"doc.text", "x-office-document-symbolic"},
    {"doc.text.magnifyingglass", "system-search-symbolic"},
    {"doc.zipper", "media-zip-symbolic"},
    {"ellipsis.circle", "view-more-horizontal-symbolic"},
    {"envelope", "mail-unread-symbolic"},
    {"envelope.badge", "mail-message-new-symbolic"},
    {"exclamationmark.octagon.fill", "dialog-error-symbolic"},
    {"exclamationmark.shield.fill", nullptr},
    {"exclamationmark.triangle.fill", "dialog-warning-symbolic"},
    {"externaldrive.badge.xmark", "media-eject-symbolic"},
    {"film", "video-x-generic-symbolic"},
    {"flame", nullptr},
    {"folder", "folder-symbolic"},
    {"folder.fill", nullptr},
    {"gearshape.2", "emblem-system-symbolic"},
    {"hammer", "applications-engineering-symbolic"},
    {"hand.raised", "preferences-system-privacy-symbolic"},
    {"hand.raised.fill", "preferences-system-privacy-symbolic"},
    {"info.circle.fill", nullptr},
    {"internaldrive", "drive-harddisk-symbolic"},
    {"iphone.gen3", "phone-apple-iphone-symbolic"},
    {"key.fill", "dialog-password-symbolic"},
    {"list.bullet.rectangle", "view-list-bullet-symbolic"},
    {"lock", "changes-prevent-symbolic"},
    {"lock.fill", "system-lock-screen-symbolic"},
    {"lock.rotation", "changes-allow-symbolic"},
    {"lock.shield.fill", nullptr},
    {"macwindow.on.rectangle", "focus-windows-symbolic"},
    {"magnifyingglass", "edit-find-symbolic"},
    {"memorychip", "media-flash-symbolic"},
    {"mic", "audio-input-microphone-symbolic"},
    {"moon.fill", "weather-clear-night-symbolic"},
    {"music.note", "emblem-music-symbolic"},
    {"network", "network-workgroup-symbolic"},
    {"opticaldiscdrive", "drive-optical-symbolic"},
    {"paperclip", "mail-attachment-symbolic"},
    {"person.2.circle", "system-users-symbolic"},
    {"person.crop.circle", "avatar-default-symbolic"},
    {"photo", "image-x-generic-symbolic"},
    {"photo.stack", "emblem-photos-symbolic"},
    {"play.rectangle.on.rectangle", "emblem-videos-symbolic"},
    {"questionmark.circle.fill", nullptr},
    {"questionmark.diamond", "help-faq-symbolic"},
    {"questionmark.folder", "folder-visiting-symbolic"},
    {"rectangle.3.group", "preferences-desktop-apps-symbolic"},
    {"shield", nullptr},
    {"shield.lefthalf.filled", nullptr},
    {"shippingbox", "package-x-generic-symbolic"},
    {"shippingbox.and.arrow.backward", "system-software-install-symbolic"},
    {"slider.horizontal.3", nullptr},
    {"speedometer", "power-profile-performance-symbolic"},
    {"square.grid.2x2", "view-grid-symbolic"},
    {"square.grid.3x3", "view-app-grid-symbolic"},
    {"sun.max.fill", "weather-clear-symbolic"},
    {"trash", "user-trash-symbolic"},
    {"trash.circle", "user-trash-full-symbolic"},
    {"tray.full", "edit-clear-all-symbolic"},
    {"tv", "tv-symbolic"},
    {"viewfinder", "find-location-symbolic"},
    {"waveform", "audio-x-generic-symbolic"},
    {"wifi.exclamationmark", "network-wireless-offline-symbolic"},
    {"wrench.and.screwdriver", "applications-system-symbolic"},
    {"xmark", "window-close-symbolic"},
    {"xmark.circle.fill", "process-stop-symbolic"},
});

const Entry* find(const QString& symbol)
{
    const QByteArray key = symbol.toUtf8();
    const auto it =
        std::lower_bound(kEntries.begin(), kEntries.end(), key, [](const Entry& entry, const QByteArray& wanted) {
            return QByteArray(entry.symbol) < wanted;
        });
    return it != kEntries.end() && key == it->symbol ? &*it : nullptr;
}

// Drawn when the theme has nothing: a tick, a cross, or a neutral rounded
// square with a dot, in the unit square.
QPainterPath fallbackGlyph(const QString& symbol)
{
    QPainterPath path;
    if (symbol == QLatin1String("checkmark")) {
        path.moveTo(0.16, 0.54);
        path.lineTo(0.40, 0.78);
        path.lineTo(0.86, 0.24);
        return path;
    }
    if (symbol == QLatin1String("xmark")) {
        path.moveTo(0.2, 0.2);
        path.lineTo(0.8, 0.8);
        path.moveTo(0.8, 0.2);
        path.lineTo(0.2, 0.8);
        return path;
    }
    path.addRoundedRect(QRectF(0.12, 0.12, 0.76, 0.76), 0.2, 0.2);
    path.addEllipse(QPointF(0.5, 0.5), 0.08, 0.08);
    return path;
}

} // namespace

void useIconTheme()
{
    const QString system = QStringLiteral("/usr/share/icons");
    QStringList paths = QIcon::themeSearchPaths();
    if (!paths.contains(system)) {
        paths.append(system);
        QIcon::setThemeSearchPaths(paths);
    }
    if (QIcon::themeName() != QLatin1String(kThemeName)) {
        QIcon::setThemeName(QString::fromLatin1(kThemeName));
    }
    QIcon::setFallbackThemeName(QString::fromLatin1(kThemeName));
}

const std::vector<QString>& names()
{
    static const std::vector<QString> all = [] {
        std::vector<QString> made;
        made.reserve(kEntries.size());
        for (const Entry& entry : kEntries) {
            made.push_back(QString::fromLatin1(entry.symbol));
        }
        return made;
    }();
    return all;
}

bool isCatalogued(const QString& symbol)
{
    return find(symbol) != nullptr;
}

bool isPainted(const QString& symbol)
{
    const Entry* entry = find(symbol);
    return entry != nullptr && entry->icon == nullptr;
}

std::optional<QString> themeIconName(const QString& symbol)
{
    const Entry* entry = find(symbol);
    return entry != nullptr && entry->icon != nullptr ? std::optional(QString::fromLatin1(entry->icon)) : std::nullopt;
}

bool resolves(const QString& symbol)
{
    if (isPainted(symbol)) {
        return PaintedSymbols::path(symbol).has_value();
    }
    useIconTheme();
    const std::optional<QString> icon = themeIconName(symbol);
    return icon && QIcon::hasThemeIcon(*icon);
}

QPixmap pixmap(const QString& symbol, qreal pixelSize, const QBrush& brush, qreal devicePixelRatio)
{
    const int side = std::max(1, static_cast<int>(std::ceil(pixelSize * devicePixelRatio)));
    QPixmap made(side, side);
    made.fill(Qt::transparent);
    QPainter painter(&made);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(side / pixelSize, side / pixelSize);
    paint(painter, QRectF(0, 0, pixelSize, pixelSize), symbol, brush);
    painter.end();
    made.setDevicePixelRatio(devicePixelRatio);
    return made;
}

void paint(QPainter& painter, const QRectF& square, const QString& symbol, const QBrush& brush)
{
    if (square.isEmpty()) {
        return;
    }
    // The icon (or glyph) is drawn as a mask first and then filled, so any
    // brush, a gradient too, colours it.
    // Made at the painter's whole scale onto device pixels (the ratio of the
    // device it really draws on, a widget rendered into a picture included),
    // so the mask is copied one to one rather than scaled up.
    const qreal scale = std::max<qreal>(1, std::sqrt(std::abs(painter.deviceTransform().determinant())));
    const QSize pixels(std::max(1, static_cast<int>(std::ceil(square.width() * scale))),
                       std::max(1, static_cast<int>(std::ceil(square.height() * scale))));
    // In one colour a symbol is the same picture wherever it stands: lists
    // draw the same few on every row, and each costs a path or an icon
    // theme lookup to make.
    const bool oneColour = brush.style() == Qt::SolidPattern && brush.transform().isIdentity();
    const PictureKey key =
        oneColour ? PictureKey{PictureLook::of(u"symbol", symbol, brush.color()), pixels, scale} : PictureKey{};
    if (oneColour) {
        QPixmap kept;
        if (PictureCache::find(key, &kept)) {
            painter.drawImage(square, kept.toImage());
            return;
        }
    }
    QImage mask(pixels, QImage::Format_ARGB32_Premultiplied);
    mask.fill(Qt::transparent);
    {
        QPainter maskPainter(&mask);
        maskPainter.setRenderHint(QPainter::Antialiasing);
        useIconTheme();
        const std::optional<QString> icon = themeIconName(symbol);
        const std::optional<QPainterPath> painted = isPainted(symbol) ? PaintedSymbols::path(symbol) : std::nullopt;
        if (painted) {
            maskPainter.scale(pixels.width(), pixels.height());
            maskPainter.fillPath(*painted, Qt::black);
        } else if (icon && QIcon::hasThemeIcon(*icon)) {
            QIcon::fromTheme(*icon).paint(&maskPainter, QRect(QPoint(0, 0), pixels));
        } else {
            maskPainter.scale(pixels.width(), pixels.height());
            maskPainter.setPen(QPen(Qt::black, 0.09, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
            maskPainter.drawPath(fallbackGlyph(symbol));
        }
        maskPainter.setCompositionMode(QPainter::CompositionMode_SourceIn);
        maskPainter.resetTransform();
        maskPainter.scale(pixels.width() / square.width(), pixels.height() / square.height());
        maskPainter.translate(-square.topLeft());
        maskPainter.fillRect(square, brush);
    }
    if (oneColour) {
        PictureCache::keep(key, QPixmap::fromImage(mask));
    }
    painter.drawImage(square, mask);
}

} // namespace harborlite::Symbols
