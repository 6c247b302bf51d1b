#pragma once

#include "shared/MonitorKind.h"
#include "shared/MonitorReading.h"

#include <QWidget>

#include <vector>

namespace harborlite {

class FittingLabel;
class MonitorSymbol;
class RoleLabel;
class Sparkline;

// One monitor in the tray panel: its symbol in the reading's tint, the title
// over the caption, a small sparkline of the last 24 values when the series
// has two or more, and the headline at the trailing edge, 74 wide, shrinking
// to 0.75 before it is cut. setReading() updates the children in place.
class PanelMonitorRow : public QWidget {
    Q_OBJECT

public:
    static constexpr size_t kSparklineValues = 24;
    static constexpr int kSparklineWidth = 46;
    static constexpr int kSparklineHeight = 18;
    static constexpr int kHeadlineWidth = 74;
    static constexpr int kSymbolWidth = 18;

    explicit PanelMonitorRow(MonitorKind kind, QWidget* parent = nullptr);

    // The values the sparkline draws: the last 24 of the series.
    static std::vector<double> sparklineValues(const std::vector<double>& series);

    MonitorKind kind() const { return kind_; }
    const MonitorReading& reading() const { return reading_; }
    bool isSparklineShown() const;

    void setReading(const MonitorReading& reading);

private:
    MonitorKind kind_;
    MonitorReading reading_;
    MonitorSymbol* symbol_;
    RoleLabel* caption_;
    Sparkline* sparkline_;
    FittingLabel* headline_;
};

} // namespace harborlite
