#pragma once

#include "engine/models/RunningProcess.h"
#include "shared/MonitorKind.h"
#include "shared/MonitorReading.h"
#include "ui/monitor/RaisedGlass.h"

#include <QWidget>

#include <vector>

class QVBoxLayout;

namespace harborlite {

class FittingLabel;
class MonitorSymbol;
class ProcessDot;
class RingGauge;
class RoleLabel;
class Sparkline;

// The dashboard's large view of one monitor on a raised glass card: a header
// with the symbol, the title and "Unavailable" when the reading is, then a
// ring with its label beside the value, caption and sparkline, or for the
// processes monitor the five heaviest processes. setValues() updates the
// children in place; process rows are added or removed only when their number
// changes, and otherwise show the new processes in place.
class MonitorCard : public QWidget {
    Q_OBJECT

public:
    static constexpr int kProcessRows = 5;
    static constexpr qreal kCornerRadius = 20;
    static constexpr qreal kShadowRadius = 14;
    static constexpr qreal kShadowOpacity = 0.08;

    // The room the card keeps around its surface for its shadow.
    static QMargins shadowMargins();

    MonitorCard(MonitorKind kind, QWidget* parent = nullptr);

    // The text in the ring's middle: the percent of the fraction (cpu, memory,
    // battery), the disk's used share (storage), the incoming amount without a
    // rate (network), the reclaimable amount or "—" (junk).
    static QString ringLabel(MonitorKind kind, const MonitorInputs& inputs, const MonitorReading& reading);

    MonitorKind kind() const { return kind_; }
    const MonitorReading& reading() const { return reading_; }

    void setValues(const MonitorInputs& inputs, const std::vector<RunningProcess>& processes);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    struct ProcessRow {
        ProcessDot* dot;
        RoleLabel* name;
        RoleLabel* cpu;
        RoleLabel* memory;
    };

    void buildValueBlock(QVBoxLayout* column);
    void buildProcessList(QVBoxLayout* column);
    void showProcesses(const std::vector<RunningProcess>& processes);
    void addProcessRow();

    MonitorKind kind_;
    MonitorReading reading_;
    RaisedGlass surface_;
    MonitorSymbol* symbol_ = nullptr;
    RoleLabel* unavailable_ = nullptr;
    RingGauge* ring_ = nullptr;
    RoleLabel* ringLabel_ = nullptr;
    FittingLabel* headline_ = nullptr;
    RoleLabel* caption_ = nullptr;
    Sparkline* sparkline_ = nullptr;
    QWidget* sparklineSpace_ = nullptr;
    RoleLabel* sampling_ = nullptr;
    QVBoxLayout* rowsLayout_ = nullptr;
    std::vector<QWidget*> rowWidgets_;
    std::vector<ProcessRow> rows_;
};

} // namespace harborlite
