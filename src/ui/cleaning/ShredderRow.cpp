#include "ui/cleaning/ShredderRow.h"

#include "shared/Formatting.h"
#include "ui/components/PlainSymbolButton.h"
#include "ui/components/RoleLabel.h"
#include "ui/theme/TypeStyle.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace harborlite {

ShredderRow::ShredderRow(const ScanItem& item, std::function<void()> remove, const ScreenServices& services,
                         QWidget* parent)
    : InnerCard(kCornerRadius, false, parent)
    , item_(item)
    , size_(new RoleLabel(Format::byteText(item.size), Palette::inkSecondary(), TypeStyle::font(11, QFont::Medium)))
    , remove_(new PlainSymbolButton(QStringLiteral("xmark.circle.fill"), 12, Palette::inkTertiary()))
{
    setObjectName(QStringLiteral("shredderRow"));
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(10, 6, 10, 6);
    row->setSpacing(9);

    auto* icon = new QLabel;
    const auto showIcon = [icon, iconForFile = services.iconForFile, path = item.url] {
        const QIcon fileIcon = iconForFile ? iconForFile(path) : QIcon();
        icon->setPixmap(fileIcon.pixmap(kIconSide, kIconSide));
    };
    showIcon();
    // The first icon may be a placeholder until the file's kind is known.
    if (services.whenIconsArrive) {
        services.whenIconsArrive(icon, [showIcon](const QStringList&) { showIcon(); });
    }
    icon->setFixedSize(kIconSide, kIconSide);
    row->addWidget(icon);

    auto* texts = new QVBoxLayout;
    texts->setContentsMargins(0, 0, 0, 0);
    texts->setSpacing(0);
    auto* name = new RoleLabel(item.displayName, Palette::ink(), TypeStyle::rowTitle());
    name->setElidedOnOneLine(true);
    auto* origin = new RoleLabel(item.origin.value_or(QString()), Palette::inkTertiary(), TypeStyle::rowDetail());
    origin->setElidedOnOneLine(true, Qt::ElideMiddle);
    origin->setToolTip(item.origin.value_or(QString()));
    texts->addWidget(name);
    texts->addWidget(origin);
    row->addLayout(texts, 1);
    row->addSpacing(8);
    row->addWidget(size_);
    remove_->setObjectName(QStringLiteral("removeTargetButton"));
    remove_->setAccessibleName(tr("Remove %1 from the list").arg(item.displayName));
    row->addWidget(remove_);
    connect(remove_, &QAbstractButton::clicked, this, [remove = std::move(remove)] { remove(); });
}

} // namespace harborlite
