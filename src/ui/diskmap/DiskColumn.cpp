#include "ui/diskmap/DiskColumn.h"

#include "paint/Palette.h"
#include "ui/components/ProgressRing.h"
#include "ui/components/RoleLabel.h"
#include "ui/diskmap/DiskRowDelegate.h"
#include "ui/theme/MenuStyle.h"
#include "ui/theme/TypeStyle.h"

#include <QKeyEvent>
#include <QListView>
#include <QMenu>
#include <QScrollBar>
#include <QStackedLayout>
#include <QVBoxLayout>

namespace harborlite {

namespace {

constexpr qreal kSpinnerLine = 2;

// The entry list: rows scroll under a small inset, keys act like clicks.
class EntryList : public QListView {
public:
    explicit EntryList(QWidget* parent)
        : QListView(parent)
    {
        setViewportMargins(DiskColumn::kSideInset, DiskColumn::kVerticalInset, DiskColumn::kSideInset,
                           DiskColumn::kVerticalInset);
    }

protected:
    void keyPressEvent(QKeyEvent* event) override
    {
        const bool acts =
            event->key() == Qt::Key_Space || event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
        if (acts && currentIndex().isValid()) {
            emit clicked(currentIndex());
            event->accept();
            return;
        }
        QListView::keyPressEvent(event);
    }
};

} // namespace

DiskColumn::DiskColumn(DiskColumnsPresentation::NodeRef folder, DiskRowDelegate* delegate, QWidget* parent)
    : QWidget(parent)
    , folder_(std::move(folder))
    , stack_(new QStackedLayout(this))
    , list_(new EntryList(this))
    , entries_(new DiskEntryModel(this))
    , placeholder_(new QWidget(this))
    , spinner_(new ProgressRing(0, kSpinnerLine, true, placeholder_))
    , placeholderLabel_(new RoleLabel(QString(), Palette::inkTertiary(),
                                      TypeStyle::font(kPlaceholderTextPixels, QFont::Normal), placeholder_))
{
    setObjectName(QStringLiteral("diskColumn"));
    setAccessibleName(DiskColumnsPresentation::displayName(folder_->name));

    list_->setObjectName(QStringLiteral("diskEntries"));
    list_->setAccessibleName(accessibleName());
    entries_->setTotal(folder_->size);
    list_->setModel(entries_);
    list_->setItemDelegate(delegate);
    list_->setUniformItemSizes(true);
    list_->setSelectionMode(QAbstractItemView::NoSelection);
    list_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list_->setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    list_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    list_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    list_->setFrameShape(QFrame::NoFrame);
    list_->setAutoFillBackground(false);
    list_->viewport()->setAutoFillBackground(false);
    list_->viewport()->setAttribute(Qt::WA_Hover);
    list_->setMouseTracking(true);
    list_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(list_, &QListView::clicked, this, [this](const QModelIndex& index) {
        if (const DiskNode* entry = entries_->node(index.row())) {
            emit entryClicked(entry);
        }
    });
    connect(list_, &QListView::customContextMenuRequested, this, [this](const QPoint& position) {
        const QModelIndex index = list_->indexAt(position);
        if (QMenu* menu = index.isValid() ? makeContextMenu(index.row()) : nullptr) {
            menu->setAttribute(Qt::WA_DeleteOnClose);
            menu->popup(list_->viewport()->mapToGlobal(position));
        }
    });

    placeholder_->setObjectName(QStringLiteral("diskPlaceholder"));
    auto* column = new QVBoxLayout(placeholder_);
    column->setContentsMargins(0, kPlaceholderTop, 0, 0);
    column->setSpacing(kPlaceholderSpacing);
    column->addStretch(1);
    spinner_->setObjectName(QStringLiteral("diskSpinner"));
    spinner_->setFixedSize(kSpinnerSide, kSpinnerSide);
    column->addWidget(spinner_, 0, Qt::AlignHCenter);
    placeholderLabel_->setObjectName(QStringLiteral("diskPlaceholderTitle"));
    placeholderLabel_->setAlignment(Qt::AlignCenter);
    column->addWidget(placeholderLabel_, 0, Qt::AlignHCenter);
    column->addStretch(1);

    stack_->setContentsMargins(0, 0, 0, 0);
    stack_->addWidget(list_);
    stack_->addWidget(placeholder_);
    setContent(Content::nothingToShow, nullptr);
}

void DiskColumn::setContent(Content content, std::shared_ptr<const DiskEntries> entries)
{
    const bool hasEntries = content == Content::entries;
    if (hasEntries && entries != entries_->entries()) {
        entries_->setEntries(std::move(entries));
    } else if (!hasEntries && entries_->entries()) {
        entries_->setEntries(nullptr);
    }
    content_ = content;
    placeholderLabel_->setText(DiskColumnsPresentation::placeholderTitle(content));
    spinner_->setVisible(DiskColumnsPresentation::placeholderSpins(content));
    stack_->setCurrentWidget(hasEntries ? static_cast<QWidget*>(list_) : placeholder_);
}

void DiskColumn::setSelectedUrl(std::optional<QString> url)
{
    entries_->setSelectedUrl(std::move(url));
}

QString DiskColumn::placeholderText() const
{
    return content_ == Content::entries ? QString() : placeholderLabel_->text();
}

void DiskColumn::scrollListTo(int offset)
{
    list_->doItemsLayout();
    list_->verticalScrollBar()->setValue(offset);
}

bool DiskColumn::isSpinning() const
{
    return content_ != Content::entries && !spinner_->isHidden();
}

QMenu* DiskColumn::makeContextMenu(int row)
{
    const DiskNode* entry = entries_->node(row);
    if (entry == nullptr) {
        return nullptr;
    }
    auto* menu = new QMenu(this);
    MenuStyle::apply(menu);
    const QString path = entry->url;
    connect(menu->addAction(tr("Reveal in Finder")), &QAction::triggered, this,
            [this, path] { emit revealRequested(path); });
    return menu;
}

} // namespace harborlite
