#include "ui/diskmap/SelectionBar.h"

#include "paint/Palette.h"
#include "ui/components/GlassCompatButton.h"
#include "ui/components/RoleLabel.h"
#include "ui/components/SymbolView.h"
#include "ui/theme/TypeStyle.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

namespace harborlite {

namespace P = RuvozEzazPresentation;

namespace {

constexpr qreal kSymbolSide = 12;

} // namespace

SelectionBar::SelectionBar(std::function<void(const QString& path)> reveal, QWidget* parent)
    : InnerCard(kCornerRadius, false, parent)
    , revealAction_(std::move(reveal))
    , symbolHolder_(new QWidget)
    , name_(new RoleLabel(QString(), Palette::ink(), TypeStyle::font(12, QFont::DemiBold)))
    , location_(new RoleLabel(QString(), Palette::inkTertiary(), TypeStyle::font(10.5, QFont::Normal)))
    , size_(new RoleLabel(QString(), Palette::ink(), TypeStyle::font(13, QFont::Bold)))
    , reveal_(new GlassCompatButton(P::revealTitle(), false, Palette::accent()))
{
    setObjectName(QStringLiteral("selectionBar"));
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(kPadding, kPadding, kPadding, kPadding);
    row->setSpacing(kSpacing);
    symbolHolder_->setFixedSize(int(kSymbolSide), int(kSymbolSide));
    auto* holderLayout = new QHBoxLayout(symbolHolder_);
    holderLayout->setContentsMargins(0, 0, 0, 0);
    row->addWidget(symbolHolder_, 0, Qt::AlignVCenter);

    auto* texts = new QVBoxLayout;
    texts->setSpacing(1);
    name_->setObjectName(QStringLiteral("selectionName"));
    name_->setElidedOnOneLine(true);
    location_->setObjectName(QStringLiteral("selectionLocation"));
    location_->setElidedOnOneLine(true, Qt::ElideMiddle);
    texts->addWidget(name_);
    texts->addWidget(location_);
    row->addLayout(texts, 1);
    size_->setObjectName(QStringLiteral("selectionSize"));
    row->addWidget(size_, 0, Qt::AlignVCenter);
    reveal_->setObjectName(QStringLiteral("revealButton"));
    row->addWidget(reveal_, 0, Qt::AlignVCenter);
    connect(reveal_, &QAbstractButton::clicked, this, [this] {
        if (revealAction_ && !url_.isEmpty()) {
            revealAction_(url_);
        }
    });
}

void SelectionBar::setNode(const DiskNode& node)
{
    url_ = node.url;
    const P::SelectionBarLook look = P::selectionBar(node);
    if (!symbol_ || look.symbol != look_.symbol) {
        delete symbol_;
        symbol_ = new SymbolView(look.symbol, kSymbolSide, Palette::accentDeep(), 1, symbolHolder_);
        symbolHolder_->layout()->addWidget(symbol_);
    }
    look_ = look;
    name_->setText(look.name);
    location_->setText(look.location);
    location_->setToolTip(look.location);
    size_->setText(look.size);
}

} // namespace harborlite
