#include "ui/components/SummaryStat.h"

#include "ui/components/RoleLabel.h"
#include "ui/paintcache/SurfaceCache.h"
#include "ui/theme/GlassSurface.h"
#include "ui/theme/Shapes.h"
#include "ui/theme/Symbols.h"
#include "ui/theme/TypeStyle.h"

#include <QHBoxLayout>
#include <QPainter>
#include <QVBoxLayout>

namespace harborlite {

namespace {

// The symbol on its tinted disc.
class StatDisc : public QWidget {
public:
    StatDisc(const QString& symbol, PaletteRole tint)
        : symbol_(symbol)
        , tint_(tint)
    {
        setFixedSize(SummaryStat::kDiscSide, SummaryStat::kDiscSide);
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        const QColor tint = Palette::resolve(tint_, this);
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        // From cached pixels: a filled circle this small still goes to the
        // raster engine's thread pool, and the discs repaint with every scroll.
        SurfaceCache::disc(painter, QRectF(rect()), Shapes::faded(tint, SummaryStat::kDiscOpacity));
        const qreal side = SummaryStat::kSymbolSide;
        Symbols::paint(painter, QRectF((width() - side) / 2, (height() - side) / 2, side, side), symbol_, tint);
    }

private:
    QString symbol_;
    PaletteRole tint_;
};

} // namespace

SummaryStat::SummaryStat(const QString& title, const QString& value, const QString& symbol, PaletteRole tint,
                         QWidget* parent)
    : QWidget(parent)
    , symbol_(symbol)
    , tint_(tint)
    , title_(new RoleLabel(title, Palette::inkSecondary(), TypeStyle::font(11, QFont::Medium)))
    , value_(new RoleLabel(value, Palette::ink(), TypeStyle::font(17, QFont::Bold)))
{
    setObjectName(QStringLiteral("summaryStat"));
    setAccessibleName(title);
    title_->setObjectName(QStringLiteral("summaryStatTitle"));
    value_->setObjectName(QStringLiteral("summaryStatValue"));
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(kPadding, kPadding, kPadding, kPadding);
    row->setSpacing(kSpacing);
    row->addWidget(new StatDisc(symbol, tint), 0, Qt::AlignVCenter);
    auto* texts = new QVBoxLayout;
    texts->setContentsMargins(0, 0, 0, 0);
    texts->setSpacing(1);
    texts->addWidget(title_);
    texts->addWidget(value_);
    row->addLayout(texts);
    row->addStretch(1);
}

QString SummaryStat::title() const
{
    return title_->text();
}

QString SummaryStat::value() const
{
    return value_->text();
}

void SummaryStat::setValue(const QString& value)
{
    value_->setText(value);
}

void SummaryStat::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    GlassSurface::paint(painter, QRectF(rect()), kCornerRadius, Palette::appearance(this));
}

} // namespace harborlite
