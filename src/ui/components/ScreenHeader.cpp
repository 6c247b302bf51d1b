#include "ui/components/ScreenHeader.h"

#include "ui/components/RoleLabel.h"
#include "ui/components/SymbolView.h"
#include "ui/theme/TypeStyle.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace harborlite {

ScreenHeader::ScreenHeader(const QString& title, const QString& subtitle, std::optional<QString> symbol,
                           QWidget* parent)
    : QWidget(parent)
    , title_(new RoleLabel(title, Palette::ink(), TypeStyle::screenTitle()))
    , subtitle_(new RoleLabel(subtitle, Palette::inkSecondary(), TypeStyle::font(13, QFont::Normal)))
{
    setAccessibleName(title);
    subtitle_->setWordWrap(true);
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(kSpacing);
    if (symbol) {
        symbol_ = new SymbolView(*symbol, kSymbolSide, std::nullopt);
        const qreal ascent = QFontMetricsF(title_->font()).ascent();
        auto* column = new QVBoxLayout;
        column->setContentsMargins(0, static_cast<int>(std::lround(symbolTopOffset(ascent, kSymbolSide))), 0, 0);
        column->addWidget(symbol_);
        column->addStretch(1);
        row->addLayout(column);
    }
    auto* texts = new QVBoxLayout;
    texts->setContentsMargins(0, 0, 0, 0);
    texts->setSpacing(kLineSpacing);
    texts->addWidget(title_);
    texts->addWidget(subtitle_);
    row->addLayout(texts, 1);
}

qreal ScreenHeader::symbolTopOffset(qreal titleAscent, qreal symbolSide)
{
    return std::max<qreal>(0, titleAscent - symbolSide);
}

} // namespace harborlite
