#pragma once

#include <QWidget>

class QScrollArea;
class QVBoxLayout;

namespace harborlite {

// Column sizes of a screen: the category screens use these defaults.
struct ScreenFrameMetrics {
    int maxWidth = 980;
    int spacing = 18;
    int padding = 26;
};

// The common layout of the cleaning and tool screens: one vertical column,
// centred and at most `maxWidth` wide (padding included), with `spacing`
// between its elements and `padding` on all four sides, inside a scroll area
// whose indicators are never shown. An optional bar floats over the content at
// the bottom edge, 18 above it, its surface as wide as the column's content
// (26 in from the screen's sides in a narrow window); the content scrolls
// behind it, and its scroll range ends above it, so the last element can
// always be brought into view. A `PrimaryActionBar`'s shadow is drawn by the
// frame, under the bar and through to the content for the pointer. The fixed
// kind does not scroll (its column is as tall as the screen).
class ScreenFrame : public QWidget {
    Q_OBJECT

public:
    using Metrics = ScreenFrameMetrics;
    enum class Scrolling { scrolls, fixed };

    static constexpr int kBarSidePadding = 26;
    static constexpr int kBarBottomPadding = 18;

    explicit ScreenFrame(Metrics metrics = {}, Scrolling scrolling = Scrolling::scrolls, QWidget* parent = nullptr);

    // Appends to the column; the frame takes ownership.
    void addWidget(QWidget* widget, int stretch = 0);
    // Space that takes the column's extra height; without one (and without a
    // widget added with a stretch) the elements keep to the top.
    void addStretch(int stretch = 1);
    QVBoxLayout* column() const { return column_; }
    QWidget* columnWidget() const { return columnWidget_; }

    // Puts `bar` at the bottom edge, replacing (and deleting) the one there;
    // nullptr removes the bar and its inset.
    void setBottomBar(QWidget* bar);
    QWidget* bottomBar() const { return bar_; }

    // The scroll area; none for the fixed kind.
    QScrollArea* scrollArea() const { return scrollArea_; }
    const Metrics& metrics() const { return metrics_; }

    // Where the bar's surface lies for a frame of `size` and a bar `barHeight`
    // tall: as wide as the column less its padding, 18 above the bottom edge.
    static QRect barRect(const QSize& size, const Metrics& metrics, int barHeight);
    // The room the content keeps below it for the bar: the bar and the 18
    // below it; none without a bar.
    int bottomInset() const;

protected:
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void placeBar();

    Metrics metrics_;
    QScrollArea* scrollArea_ = nullptr;
    QWidget* columnWidget_;
    QVBoxLayout* column_;
    QLayout* centredRow_ = nullptr;
    QWidget* barShadow_;
    QWidget* bar_ = nullptr;
};

} // namespace harborlite
