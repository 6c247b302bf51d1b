#include "ui/diskmap/StoragePanel.h"

#include "paint/Palette.h"
#include "ui/components/AdaptiveGrid.h"
#include "ui/components/RoleLabel.h"
#include "ui/diskmap/LegendRow.h"
#include "ui/diskmap/StorageBar.h"
#include "ui/theme/TypeStyle.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

namespace harborlite {

namespace P = RuvozEzazPresentation;

StoragePanel::StoragePanel(std::function<void(const QString& folder)> select,
                           RuvozEzazPresentation::FolderExists exists, QWidget* parent)
    : GlassPanel(kCornerRadius, std::nullopt, parent)
    , select_(std::move(select))
    , exists_(std::move(exists))
    , used_(new RoleLabel(QString(), Palette::inkSecondary(), TypeStyle::font(11, QFont::Medium)))
    , bar_(new StorageBar([this](int index) { choose(index); }))
    , legend_(new QWidget)
    , explanation_(new RoleLabel(QString(), Palette::inkTertiary(), TypeStyle::font(10.5, QFont::Normal)))
{
    setObjectName(QStringLiteral("storagePanel"));
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(kPadding, kPadding, kPadding, kPadding);
    column->setSpacing(kSpacing);

    auto* header = new QHBoxLayout;
    header->setSpacing(8);
    auto* title = new RoleLabel(P::panelTitle(), Palette::ink(), TypeStyle::font(13, QFont::DemiBold));
    title->setObjectName(QStringLiteral("storageTitle"));
    header->addWidget(title, 0, Qt::AlignBaseline);
    header->addStretch(1);
    used_->setObjectName(QStringLiteral("storageUsed"));
    header->addWidget(used_, 0, Qt::AlignBaseline);
    column->addLayout(header);

    column->addWidget(bar_);
    legend_->setObjectName(QStringLiteral("storageLegend"));
    new AdaptiveGrid(kLegendMinColumn, kLegendColumnSpacing, kLegendRowSpacing, legend_);
    column->addWidget(legend_);
    explanation_->setObjectName(QStringLiteral("storageExplanation"));
    explanation_->setWordWrap(true);
    column->addWidget(explanation_);
}

void StoragePanel::setStorage(const StorageBreakdown& storage, const QString& root)
{
    used_->setText(P::usedText(storage));
    explanation_->setText(P::explanation(storage));
    QList<P::LegendEntry> entries = P::legend(storage, exists_);
    int selected = -1;
    for (qsizetype i = 0; i < entries.size(); ++i) {
        if (selected < 0 && P::isSelected(entries[i], root)) {
            selected = int(i);
        }
    }
    bar_->setEntries(entries, storage.capacity, selected);
    if (entries != entries_) {
        entries_ = std::move(entries);
        // A row may be the one whose click brought the change: it goes once its handler has returned.
        for (LegendRow* row : rows_) {
            legend_->layout()->removeWidget(row);
            row->hide();
            row->deleteLater();
        }
        rows_.clear();
        for (qsizetype i = 0; i < entries_.size(); ++i) {
            auto* row = new LegendRow(
                entries_[i], false, [this, i] { choose(int(i)); }, legend_);
            legend_->layout()->addWidget(row);
            rows_.append(row);
        }
    }
    for (qsizetype i = 0; i < rows_.size(); ++i) {
        rows_[i]->setSelected(i == selected);
    }
}

void StoragePanel::choose(int index)
{
    if (index < 0 || index >= entries_.size() || !entries_[index].root || !select_) {
        return;
    }
    select_(*entries_[index].root);
}

} // namespace harborlite
