#pragma once

#include "shared/MonitorKind.h"
#include "shared/MonitorReading.h"

#include <QWidget>

namespace harborlite {

class MonitorSymbol;
class RoleLabel;
class Sparkline;

// The compact view of one monitor in the window's top bar: symbol, title in
// capitals, the short value and, when allowed, a small sparkline of the last
// 30 values. It has no background of its own. The tool tip reads
// "Title: headline — caption".
class MonitorChip : public QWidget {
    Q_OBJECT

public:
    static constexpr int kSparklineValues = 30;
    static constexpr int kSparklineWidth = 44;
    static constexpr int kSparklineHeight = 20;

    MonitorChip(MonitorKind kind, bool showsSparkline, QWidget* parent = nullptr);

    static QString helpText(MonitorKind kind, const MonitorReading& reading);
    // The values the small sparkline draws: the last 30 of the series.
    static std::vector<double> sparklineValues(const std::vector<double>& series);

    MonitorKind kind() const { return kind_; }
    bool showsSparkline() const { return showsSparkline_; }
    const MonitorReading& reading() const { return reading_; }
    // Whether the sparkline is part of the chip now.
    bool isSparklineShown() const;

    void setReading(const MonitorReading& reading);

private:
    MonitorKind kind_;
    bool showsSparkline_;
    MonitorReading reading_;
    MonitorSymbol* symbol_;
    RoleLabel* value_;
    Sparkline* sparkline_;
};

} // namespace harborlite
