#pragma once

#include "shared/MonitorKind.h"
#include "shared/MonitorReading.h"
#include "ui/monitor/RaisedGlass.h"

#include <QWidget>

#include <vector>

class QHBoxLayout;
class QScrollArea;

namespace harborlite {

class GlassCompatButton;
class MonitorChip;
class RoleLabel;

// The strip of monitor chips at the top of the window's detail column: one
// chip per chosen kind (never processes) with hairline dividers between them,
// scrolling sideways without a scroll bar when they do not fit, and a settings
// button that asks for the Widgets screen. Chips are made anew only when the
// chosen kinds change; setInputs() updates them in place.
class TopStatsBar : public QWidget {
    Q_OBJECT

public:
    static constexpr qreal kCornerRadius = 16;
    static constexpr int kDividerHeight = 22;

    explicit TopStatsBar(QWidget* parent = nullptr);

    // The chosen kinds the bar shows: every entry but processes, in order.
    static std::vector<MonitorKind> shownKinds(const std::vector<MonitorKind>& chosen);

    const std::vector<MonitorKind>& kinds() const { return kinds_; }
    const std::vector<MonitorChip*>& chips() const { return chips_; }
    GlassCompatButton* settingsButton() const { return settingsButton_; }

    void setChosenKinds(const std::vector<MonitorKind>& chosen);
    void setInputs(const MonitorInputs& inputs);

signals:
    // The settings button was pressed: show the Widgets screen.
    void settingsRequested();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void rebuildChips();

    RaisedGlass surface_;
    std::vector<MonitorKind> kinds_;
    MonitorInputs inputs_;
    QScrollArea* scrollArea_;
    QWidget* strip_;
    QHBoxLayout* stripLayout_;
    RoleLabel* emptyText_;
    std::vector<QWidget*> stripItems_;
    std::vector<MonitorChip*> chips_;
    GlassCompatButton* settingsButton_;
};

} // namespace harborlite
