#include "ui/results/RowPainting.h"

#include "ui/components/GlassCompatButton.h"
#include "ui/components/StatusPill.h"
#include "ui/components/TriStateToggle.h"
#include "ui/paintcache/PictureKey.h"
#include "ui/paintcache/SurfaceCache.h"
#include "ui/theme/Shapes.h"
#include "ui/theme/Symbols.h"
#include "ui/theme/TypeStyle.h"

#include <QPainter>

namespace harborlite::RowPainting {

namespace {

QFont buttonFont()
{
    return TypeStyle::font(12, QFont::DemiBold);
}

} // namespace

TriStateToggle::State toggleState(ScanGroup::SelectionState state)
{
    switch (state) {
    case ScanGroup::SelectionState::partial:
        return TriStateToggle::State::partial;
    case ScanGroup::SelectionState::all:
        return TriStateToggle::State::all;
    case ScanGroup::SelectionState::none:
        break;
    }
    return TriStateToggle::State::none;
}

void paintBox(QPainter& painter, const QRectF& square, ScanGroup::SelectionState state, Appearance appearance,
              bool focused)
{
    const TriStateToggle::Look chosen = TriStateToggle::look(toggleState(state));
    const QColor fill = Palette::color(chosen.fill).resolve(appearance);
    const QColor edge = TriStateToggle::edgeColor(toggleState(state), appearance);
    const QColor focus = focused ? Palette::accentDeep().resolve(appearance) : QColor();
    // Every row draws one of a few boxes: each is drawn once and copied.
    const QString key =
        QStringLiteral("box-%1-%2-%3-%4").arg(fill.rgba()).arg(edge.rgba()).arg(focus.rgba()).arg(int(chosen.mark));
    SurfaceCache::draw(
        painter, square, TriStateToggle::kCornerRadius, key, [&](QPainter& onto, const QRectF& box, qreal radius) {
            onto.save();
            onto.setRenderHint(QPainter::Antialiasing);
            onto.fillPath(Shapes::roundedRect(box, radius), fill);
            Shapes::strokeInside(onto, box, radius, edge, TriStateToggle::kEdgeWidth);
            if (focus.isValid()) {
                Shapes::strokeInside(onto, box, radius, focus, 2);
            }
            const QPointF centre = box.center();
            switch (chosen.mark) {
            case TriStateToggle::Mark::bar:
                onto.fillPath(Shapes::roundedRect(QRectF(centre.x() - TriStateToggle::kBarWidth / 2,
                                                         centre.y() - TriStateToggle::kBarHeight / 2,
                                                         TriStateToggle::kBarWidth, TriStateToggle::kBarHeight),
                                                  1),
                              Qt::white);
                break;
            case TriStateToggle::Mark::checkmark: {
                const qreal side = TriStateToggle::kCheckmarkSide;
                Symbols::paint(onto, QRectF(centre.x() - side / 2, centre.y() - side / 2, side, side),
                               QStringLiteral("checkmark"), Qt::white);
                break;
            }
            case TriStateToggle::Mark::none:
                break;
            }
            onto.restore();
        });
}

QSizeF pillSize(const QString& text, bool hasSymbol)
{
    const QFontMetricsF metrics(TypeStyle::pill());
    return StatusPill::size({metrics.horizontalAdvance(text), metrics.height()}, hasSymbol);
}

void paintPill(QPainter& painter, const QRectF& rect, const QString& text, const QColor& tint,
               const std::optional<QString>& symbol)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillPath(Shapes::capsule(rect), Shapes::faded(tint, StatusPill::kFillOpacity));
    qreal x = rect.left() + StatusPill::kHorizontalPadding;
    if (symbol) {
        const qreal side = StatusPill::kSymbolSide;
        Symbols::paint(painter, QRectF(x, rect.center().y() - side / 2, side, side), *symbol, tint);
        x += side + StatusPill::kSpacing;
    }
    painter.setFont(TypeStyle::pill());
    painter.setPen(tint);
    painter.drawText(QRectF(x, rect.top(), rect.right() - x, rect.height()), Qt::AlignLeft | Qt::AlignVCenter, text);
    painter.restore();
}

QSizeF buttonSize(const QString& title)
{
    const QFontMetricsF metrics(buttonFont());
    return {metrics.horizontalAdvance(title) + 2 * GlassCompatButtonStyle::kHorizontalPadding,
            metrics.height() + 2 * GlassCompatButtonStyle::kVerticalPadding};
}

void paintPlainButton(QPainter& painter, const QRectF& rect, const QString& title, Appearance appearance, bool hovered,
                      bool focused)
{
    const GlassCompatButtonStyle::Fill fill = GlassCompatButtonStyle::fill(false, false, hovered);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    const QPainterPath shape = Shapes::capsule(rect);
    painter.fillPath(shape, Shapes::faded(Palette::card().resolve(appearance), fill.opacity));
    Shapes::strokeInside(painter, rect, rect.height() / 2, GlassCompatButtonStyle::edgeColor(false, appearance),
                         GlassCompatButtonStyle::kEdgeWidth);
    if (focused) {
        Shapes::strokeInside(painter, rect.adjusted(-2, -2, 2, 2), rect.height() / 2 + 2,
                             Palette::accent().resolve(appearance), 1.5);
    }
    painter.setFont(buttonFont());
    painter.setPen(GlassCompatButtonStyle::labelColor(false, appearance));
    painter.drawText(rect, Qt::AlignCenter, title);
    painter.restore();
}

} // namespace harborlite::RowPainting
