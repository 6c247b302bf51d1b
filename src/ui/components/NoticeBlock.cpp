#include "ui/components/NoticeBlock.h"

#include "ui/components/RoleLabel.h"
#include "ui/components/SymbolView.h"
#include "ui/theme/TypeStyle.h"

#include <QHBoxLayout>

namespace harborlite {

NoticeBlock::NoticeBlock(const QString& symbol, PaletteRole tint, const QString& text, QWidget* parent)
    : InnerCard(kCornerRadius, false, parent)
    , symbol_(symbol)
    , tint_(tint)
    , text_(new RoleLabel(text, Palette::inkSecondary(), TypeStyle::font(kTextSize, QFont::Normal)))
{
    setObjectName(QStringLiteral("noticeBlock"));
    text_->setWordWrap(true);
    text_->setObjectName(QStringLiteral("noticeText"));
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(kPadding, kPadding, kPadding, kPadding);
    row->setSpacing(kSpacing);
    row->addWidget(new SymbolView(symbol, kSymbolSide, Palette::color(tint)), 0, Qt::AlignVCenter);
    row->addWidget(text_, 1, Qt::AlignVCenter);
}

void NoticeBlock::setText(const QString& text)
{
    text_->setText(text);
}

QString NoticeBlock::text() const
{
    return text_->text();
}

} // namespace harborlite
