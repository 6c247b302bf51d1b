#pragma once

#include <QWidget>

#include <vector>

namespace harborlite {

// The processor-load chart of the Performance screen: the history as a line
// in the accent gradient, 2 wide with round caps and joins, from the left
// edge to the right one (1 touches the top, 0 the bottom; values are drawn as
// they are), over a mint fill fading upwards. Fewer than two values draw
// nothing. 54 high, as wide as it is given.
class CpuHistoryChart : public QWidget {
    Q_OBJECT

public:
    static constexpr int kHeight = 54;
    static constexpr qreal kLineWidth = 2;
    static constexpr qreal kFillOpacity = 0.5;

    explicit CpuHistoryChart(QWidget* parent = nullptr);

    const std::vector<double>& history() const { return history_; }
    void setHistory(std::vector<double> history);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::vector<double> history_;
};

} // namespace harborlite
