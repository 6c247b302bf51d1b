#pragma once

#include <QWidget>

namespace harborlite {

class SummaryStat;

// The summary of a category screen's results, three tiles 12 apart sharing the
// row: "Found" (magnifying glass, accent), "Selected" (check circle, accent
// deep) and the screen's free-space title (drive, accent bright) showing the
// free space plus the selection.
class SummaryRow : public QWidget {
    Q_OBJECT

public:
    static constexpr int kSpacing = 12;

    struct Values {
        QString found;
        QString selected;
        QString freeAfter;

        bool operator==(const Values&) const = default;
    };

    // The three byte texts ("0 KB" for nothing): `found`, `selected`, and
    // `diskFree` + `selected`.
    static Values values(qint64 found, qint64 selected, qint64 diskFree);

    explicit SummaryRow(const QString& freeTitle, QWidget* parent = nullptr);

    void setValues(qint64 found, qint64 selected, qint64 diskFree);
    Values shown() const;

    SummaryStat* foundStat() const { return found_; }
    SummaryStat* selectedStat() const { return selected_; }
    SummaryStat* freeStat() const { return free_; }

private:
    SummaryStat* found_;
    SummaryStat* selected_;
    SummaryStat* free_;
};

} // namespace harborlite
