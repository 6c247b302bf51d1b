#pragma once

#include <QWidget>

namespace harborlite {

// The standard divider: a one-pixel line in the hairline colour, across the
// width offered (horizontal) or the height offered (vertical).
class HairlineDivider : public QWidget {
    Q_OBJECT

public:
    explicit HairlineDivider(Qt::Orientation orientation = Qt::Horizontal, QWidget* parent = nullptr);

    Qt::Orientation orientation() const { return orientation_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    Qt::Orientation orientation_;
};

} // namespace harborlite
