#pragma once

#include <QString>
#include <QWidget>

namespace harborlite {

// The sidebar's card with the fill level of the disk that holds the home
// folder: "Storage" and the used percentage, a bar, and "<free> free of <total>".
class StorageFooter : public QWidget {
    Q_OBJECT

public:
    static constexpr qreal kCornerRadius = 14;
    static constexpr int kPadding = 12;
    static constexpr qreal kBarHeight = 5;
    static constexpr qreal kShortestFill = 4;

    struct Figures {
        double fraction = 0;
        QString percentText;
        QString freeText;
        QString totalText;

        QString caption() const;
        bool operator==(const Figures&) const = default;
    };

    // The figures of a disk with `free` of `total` bytes available.
    static Figures figures(qint64 free, qint64 total);
    // The fill bar's width on a track `trackWidth` wide.
    static qreal fillWidth(qreal trackWidth, double fraction);

    explicit StorageFooter(QWidget* parent = nullptr);

    void setDisk(qint64 free, qint64 total);
    const Figures& shown() const { return figures_; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    Figures figures_;
};

} // namespace harborlite
