#pragma once

#include "ui/diskmap/RuvozEzazPresentation.h"

#include <QWidget>

#include <functional>

namespace harborlite {

// One row of the storage legend, 16 high: a 7-point dot in the entry's tint,
// the label (ink when the entry can be mapped, tertiary otherwise) and the
// bytes, on mint at 0.75 when its folder is the one mapped. Only a row that
// can be mapped is clickable and turns mint (0.4) under the pointer; its
// whole rectangle is the hit area and the entry's detail its tooltip.
class LegendRow : public QWidget {
    Q_OBJECT

public:
    static constexpr int kHeight = 16;
    static constexpr int kPaddingX = 6;
    static constexpr int kPaddingY = 3;
    static constexpr int kSpacing = 6;
    static constexpr qreal kDotSide = 7;
    static constexpr qreal kCornerRadius = 7;

    LegendRow(RuvozEzazPresentation::LegendEntry entry, bool isSelected, std::function<void()> action,
              QWidget* parent = nullptr);

    const RuvozEzazPresentation::LegendEntry& entry() const { return entry_; }
    bool isSelected() const { return isSelected_; }
    void setSelected(bool selected);
    bool isHovering() const { return isHovering_; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    QFont labelFont() const;
    QFont bytesFont() const;

    RuvozEzazPresentation::LegendEntry entry_;
    bool isSelected_;
    std::function<void()> action_;
    bool isHovering_ = false;
};

} // namespace harborlite
