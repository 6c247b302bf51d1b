#include "ui/applications/UninstallPane.h"

#include "ui/applications/AppIconCache.h"
#include "ui/applications/UninstallPresentation.h"
#include "ui/components/GlassPanel.h"
#include "ui/components/InnerCard.h"
#include "ui/components/PrimaryActionBar.h"
#include "ui/components/ProgressRing.h"
#include "ui/components/ReviewText.h"
#include "ui/components/RoleLabel.h"
#include "ui/components/StatusPill.h"
#include "ui/components/SymbolView.h"
#include "ui/results/ItemRow.h"
#include "ui/theme/TypeStyle.h"

#include "shared/Formatting.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QScrollArea>
#include <QVBoxLayout>

namespace harborlite {

namespace {

QHBoxLayout* cardHeader(const QString& title, RoleLabel* total)
{
    auto* row = new QHBoxLayout;
    row->setContentsMargins(0, 0, 0, 0);
    row->addWidget(new RoleLabel(title, Palette::ink(), TypeStyle::sectionTitle()), 0, Qt::AlignVCenter);
    row->addStretch(1);
    row->addWidget(total, 0, Qt::AlignVCenter);
    return row;
}

RoleLabel* totalLabel()
{
    return new RoleLabel(QString(), Palette::accentDeep(), TypeStyle::font(12, QFont::Bold));
}

QVBoxLayout* cardColumn(GlassPanel* card)
{
    auto* column = new QVBoxLayout(card);
    column->setContentsMargins(UninstallPane::kCardPadding, UninstallPane::kCardPadding, UninstallPane::kCardPadding,
                               UninstallPane::kCardPadding);
    column->setSpacing(9);
    return column;
}

void clear(QVBoxLayout* rows)
{
    while (rows->count() > 0) {
        QLayoutItem* item = rows->takeAt(0);
        if (QWidget* widget = item->widget()) {
            widget->hide();
            widget->deleteLater();
        }
        delete item;
    }
}

template <typename T>
QList<T*> widgetsOf(QVBoxLayout* layout)
{
    QList<T*> found;
    for (int i = 0; i < layout->count(); ++i) {
        if (auto* widget = qobject_cast<T*>(layout->itemAt(i)->widget())) {
            found << widget;
        }
    }
    return found;
}

QList<QUuid> idsOf(const QList<ScanItem>& items)
{
    QList<QUuid> ids;
    for (const ScanItem& item : items) {
        ids << item.id;
    }
    return ids;
}

} // namespace

UninstallPane::UninstallPane(const ScreenServices& services, AppIconCache& icons, QWidget* parent)
    : QWidget(parent)
    , services_(services)
    , icons_(icons)
    , icon_(new QLabel)
    , name_(new RoleLabel(QString(), Palette::ink(), TypeStyle::font(19, QFont::Bold)))
    , detail_(new RoleLabel(QString(), Palette::inkSecondary(), TypeStyle::font(11, QFont::Normal)))
    , pills_(new QWidget)
    , planning_(new QWidget)
    , leftoversCard_(new GlassPanel(kCardRadius))
    , leftoversTotal_(totalLabel())
    , leftoversEmpty_(new RoleLabel(QString(), Palette::inkTertiary(), TypeStyle::font(12, QFont::Normal)))
    , leftoversScroll_(new QScrollArea)
    , leftoversRows_(new QVBoxLayout)
    , residueCard_(new GlassPanel(kCardRadius))
    , residueTotal_(totalLabel())
    , residueRows_(new QVBoxLayout)
    , receiptLine_(new RoleLabel(QString(), Palette::inkTertiary(), TypeStyle::font(10.5, QFont::Normal)))
    , barSlot_(new QVBoxLayout)
{
    setObjectName(QStringLiteral("uninstallPane"));
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(kSpacing);

    auto* header = new GlassPanel(kCardRadius);
    header->setObjectName(QStringLiteral("appHeader"));
    auto* headerRow = new QHBoxLayout(header);
    headerRow->setContentsMargins(kCardPadding, kCardPadding, kCardPadding, kCardPadding);
    headerRow->setSpacing(13);
    icon_->setFixedSize(kHeaderIconSide, kHeaderIconSide);
    headerRow->addWidget(icon_, 0, Qt::AlignVCenter);
    auto* texts = new QVBoxLayout;
    texts->setSpacing(3);
    detail_->setElidedOnOneLine(true, Qt::ElideMiddle);
    name_->setElidedOnOneLine(true);
    texts->addWidget(name_);
    texts->addWidget(detail_);
    auto* pillRow = new QHBoxLayout(pills_);
    pillRow->setContentsMargins(0, 0, 0, 0);
    pillRow->setSpacing(7);
    texts->addWidget(pills_);
    headerRow->addLayout(texts, 1);
    column->addWidget(header);

    planning_->setObjectName(QStringLiteral("planningRow"));
    auto* planningRow = new QHBoxLayout(planning_);
    planningRow->setContentsMargins(0, 0, 0, 0);
    planningRow->setSpacing(8);
    auto* spinner = new ProgressRing(0, 2, true);
    spinner->setFixedSize(14, 14);
    planningRow->addWidget(spinner);
    planningRow->addWidget(new RoleLabel(tr("Looking for leftover files") + ReviewText::kEllipsis,
                                         Palette::inkSecondary(), TypeStyle::font(11.5, QFont::Normal)));
    planningRow->addStretch(1);
    column->addWidget(planning_);

    leftoversCard_->setObjectName(QStringLiteral("leftoversCard"));
    QVBoxLayout* leftovers = cardColumn(leftoversCard_);
    leftovers->addLayout(cardHeader(tr("Leftover files"), leftoversTotal_));
    leftovers->addWidget(leftoversEmpty_);
    leftoversScroll_->setFrameShape(QFrame::NoFrame);
    leftoversScroll_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    leftoversScroll_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    leftoversScroll_->setWidgetResizable(true);
    leftoversScroll_->setMaximumHeight(kLeftoversMaxHeight);
    leftoversScroll_->viewport()->setAutoFillBackground(false);
    auto* leftoversHolder = new QWidget;
    auto* holderColumn = new QVBoxLayout(leftoversHolder);
    holderColumn->setContentsMargins(0, 0, 0, 0);
    holderColumn->setSpacing(0);
    leftoversRows_->setSpacing(3);
    holderColumn->addLayout(leftoversRows_);
    holderColumn->addStretch(1);
    leftoversScroll_->setWidget(leftoversHolder);
    leftoversHolder->setAutoFillBackground(false);
    leftovers->addWidget(leftoversScroll_);
    column->addWidget(leftoversCard_);

    residueCard_->setObjectName(QStringLiteral("residueCard"));
    QVBoxLayout* residue = cardColumn(residueCard_);
    residue->addLayout(cardHeader(tr("Installed system-wide"), residueTotal_));
    auto* note = new InnerCard(12);
    auto* noteRow = new QHBoxLayout(note);
    noteRow->setContentsMargins(10, 10, 10, 10);
    noteRow->setSpacing(9);
    noteRow->addWidget(new SymbolView(QStringLiteral("exclamationmark.triangle.fill"), 12, Palette::warning()), 0,
                       Qt::AlignVCenter);
    auto* noteText = new RoleLabel(tr("Read from the installer's receipt. Dragging the app to the Trash leaves these "
                                      "behind, but some may be shared \u2014 nothing is selected for you."),
                                   Palette::inkSecondary(), TypeStyle::font(11, QFont::Normal));
    noteText->setWordWrap(true);
    noteRow->addWidget(noteText, 1);
    residue->addWidget(note);
    residueRows_->setSpacing(3);
    residue->addLayout(residueRows_);
    residue->addWidget(receiptLine_);
    column->addWidget(residueCard_);

    column->addStretch(1);
    barSlot_->setContentsMargins(0, 0, 0, 0);
    column->addLayout(barSlot_);

    connect(&icons_, &AppIconCache::iconLoaded, this, &UninstallPane::refreshIcon);
}

QList<ItemRow*> UninstallPane::leftoverRows() const
{
    return widgetsOf<ItemRow>(leftoversRows_);
}

QList<ItemRow*> UninstallPane::residueRows() const
{
    return widgetsOf<ItemRow>(residueRows_);
}

void UninstallPane::refreshIcon()
{
    if (app_) {
        icon_->setPixmap(icons_.icon(*app_, kHeaderIconSide, devicePixelRatioF()));
    }
}

void UninstallPane::showHeader(const InstalledApp& app, bool isProtected)
{
    const UninstallPresentation::Header header = UninstallPresentation::header(app, isProtected);
    name_->setText(header.name);
    detail_->setText(header.detail);
    detail_->setToolTip(header.detail);
    auto* pillRow = static_cast<QHBoxLayout*>(pills_->layout());
    while (pillRow->count() > 0) {
        QLayoutItem* item = pillRow->takeAt(0);
        if (QWidget* widget = item->widget()) {
            widget->deleteLater();
        }
        delete item;
    }
    for (const UninstallPresentation::Pill& pill : header.pills) {
        pillRow->addWidget(new StatusPill(pill.text, Palette::color(pill.tint), pill.symbol));
    }
    pillRow->addStretch(1);
    refreshIcon();
}

void UninstallPane::showPlan(const UninstallPlan& plan)
{
    leftoversTotal_->setText(Format::byteText(UninstallPresentation::total(plan.leftovers)));
    leftoversEmpty_->setText(UninstallPresentation::noLeftoversText(plan.app));
    leftoversEmpty_->setVisible(plan.leftovers.isEmpty());
    leftoversScroll_->setVisible(!plan.leftovers.isEmpty());
    const auto sync = [this](QVBoxLayout* layout, QList<QUuid>& shown, const QList<ScanItem>& items, bool residue) {
        const QList<QUuid> ids = idsOf(items);
        if (ids == shown) {
            const QList<ItemRow*> rows = widgetsOf<ItemRow>(layout);
            for (qsizetype i = 0; i < rows.size(); ++i) {
                rows.at(i)->setItem(items.at(i));
            }
            return;
        }
        shown = ids;
        clear(layout);
        for (const ScanItem& item : items) {
            auto* row = new ItemRow(
                item,
                [this, id = item.id, residue] {
                    if (residue) {
                        emit residueToggled(id);
                    } else {
                        emit leftoverToggled(id);
                    }
                },
                services_);
            layout->addWidget(row);
        }
    };
    sync(leftoversRows_, leftoverIds_, plan.leftovers, false);
    // A tall list scrolls; a short one takes only its rows' height.
    int rowsHeight = 0;
    for (ItemRow* row : leftoverRows()) {
        rowsHeight += row->sizeHint().height() + leftoversRows_->spacing();
    }
    leftoversScroll_->setFixedHeight(
        std::min(kLeftoversMaxHeight, std::max(0, rowsHeight - leftoversRows_->spacing())));

    residueCard_->setVisible(!plan.installedResidue.isEmpty());
    residueTotal_->setText(Format::byteText(UninstallPresentation::total(plan.installedResidue)));
    sync(residueRows_, residueIds_, plan.installedResidue, true);
    const std::optional<QString> receipts = UninstallPresentation::receiptLine(plan.receipts.size());
    receiptLine_->setVisible(receipts.has_value());
    receiptLine_->setText(receipts.value_or(QString()));
}

void UninstallPane::present(const InstalledApp& app, const std::optional<UninstallPlan>& plan, bool isProtected,
                            bool isPlanning, bool isRemoving)
{
    app_ = app;
    showHeader(app, isProtected);
    const UninstallPresentation::Middle middle = UninstallPresentation::middle(isPlanning, plan.has_value());
    planning_->setVisible(middle == UninstallPresentation::Middle::planning);
    const bool cards = middle == UninstallPresentation::Middle::cards;
    leftoversCard_->setVisible(cards);
    if (cards) {
        showPlan(*plan);
    } else {
        residueCard_->setVisible(false);
    }
    if (!plan) {
        if (bar_) {
            barSlot_->removeWidget(bar_);
            bar_->hide();
            bar_->deleteLater();
            bar_ = nullptr;
        }
        return;
    }
    const UninstallPresentation::Bar look = UninstallPresentation::bar(*plan, isProtected, isRemoving);
    if (!bar_) {
        bar_ = new PrimaryActionBar(look.title, look.detail, tr("Uninstall"), look.isEnabled, look.isBusy,
                                    Palette::danger(), [this] { emit uninstallRequested(); });
        bar_->setObjectName(QStringLiteral("actionBar"));
        // Its surface lines up with the cards; the Applications screen draws
        // its shadow outside the pane.
        bar_->setShadowDrawnOutside(true);
        barSlot_->addWidget(bar_);
    }
    bar_->setTitle(look.title);
    bar_->setDetail(look.detail);
    bar_->setButtonState(look.isEnabled, look.isBusy);
}

} // namespace harborlite
