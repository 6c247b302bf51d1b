#pragma once

#include <QString>
#include <QWidget>

namespace harborlite {

// The storage widget's free amount: the number in large figures and its unit
// beside it, smaller and in the deep accent, both on the number's baseline.
class FreeAmountRow : public QWidget {
    Q_OBJECT

public:
    static constexpr int kSpacing = 5;

    FreeAmountRow(const QString& number, const QString& unit, qreal numberPixels, qreal unitPixels,
                  QWidget* parent = nullptr);

    const QString& number() const { return number_; }
    const QString& unit() const { return unit_; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QFont numberFont() const;
    QFont unitFont() const;

    QString number_;
    QString unit_;
    qreal numberPixels_;
    qreal unitPixels_;
};

} // namespace harborlite
