#pragma once

#include <QWidget>

class QPainter;

namespace harborlite {

// The square that stands for an update: the accent gradient in a rounded
// square with a white download symbol centred on it.
class UpdateTile : public QWidget {
    Q_OBJECT

public:
    UpdateTile(qreal cornerRadius, qreal side, qreal symbolSize, QWidget* parent = nullptr);

    static void paint(QPainter& painter, const QRectF& square, qreal cornerRadius, qreal symbolSize,
                      const QObject* where);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    qreal cornerRadius_;
    qreal side_;
    qreal symbolSize_;
};

} // namespace harborlite
