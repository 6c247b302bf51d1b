#pragma once

#include <QWidget>

namespace harborlite {

// The brand row at the top of every widget: the ring mark and the wordmark,
// pushed to the leading edge.
class WidgetHeader : public QWidget {
    Q_OBJECT

public:
    static constexpr int kMarkSide = 11;
    static constexpr int kSpacing = 5;
    static constexpr qreal kMarkThickness = 0.26;

    explicit WidgetHeader(QWidget* parent = nullptr);

    static QString wordmark();

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace harborlite
