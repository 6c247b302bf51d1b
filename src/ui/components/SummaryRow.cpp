#include "ui/components/SummaryRow.h"

#include "shared/Formatting.h"
#include "ui/components/SummaryStat.h"

#include <QHBoxLayout>

#include <limits>

namespace harborlite {

namespace {

// Free space and selection are both far below the limit in practice; a sum
// that would overflow is held at the largest count instead of wrapping.
qint64 saturatingSum(qint64 a, qint64 b)
{
    qint64 sum = 0;
    if (__builtin_add_overflow(a, b, &sum)) {
        return b > 0 ? std::numeric_limits<qint64>::max() : std::numeric_limits<qint64>::min();
    }
    return sum;
}

} // namespace

SummaryRow::Values SummaryRow::values(qint64 found, qint64 selected, qint64 diskFree)
{
    return {Format::byteText(found), Format::byteText(selected), Format::byteText(saturatingSum(diskFree, selected))};
}

SummaryRow::SummaryRow(const QString& freeTitle, QWidget* parent)
    : QWidget(parent)
    , found_(new SummaryStat(tr("Found"), QString(), QStringLiteral("magnifyingglass"), PaletteRole::accent))
    , selected_(new SummaryStat(tr("Selected"), QString(), QStringLiteral("checkmark.circle"), PaletteRole::accentDeep))
    , free_(new SummaryStat(freeTitle, QString(), QStringLiteral("internaldrive"), PaletteRole::accentBright))
{
    setObjectName(QStringLiteral("summaryRow"));
    found_->setObjectName(QStringLiteral("foundStat"));
    selected_->setObjectName(QStringLiteral("selectedStat"));
    free_->setObjectName(QStringLiteral("freeStat"));
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(kSpacing);
    row->addWidget(found_, 1);
    row->addWidget(selected_, 1);
    row->addWidget(free_, 1);
    setValues(0, 0, 0);
}

void SummaryRow::setValues(qint64 found, qint64 selected, qint64 diskFree)
{
    const Values texts = values(found, selected, diskFree);
    found_->setValue(texts.found);
    selected_->setValue(texts.selected);
    free_->setValue(texts.freeAfter);
}

SummaryRow::Values SummaryRow::shown() const
{
    return {found_->value(), selected_->value(), free_->value()};
}

} // namespace harborlite
