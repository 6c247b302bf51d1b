#pragma once

#include "paint/Palette.h"

#include <QElapsedTimer>
#include <QImage>
#include <QTimer>
#include <QWidget>

#include <array>

namespace harborlite {

// One of the backdrop's blurred coloured discs.
struct AuroraOrb {
    PaletteRole color;
    qreal baseOpacity;
    qreal diameter;
    QPointF restOffset;
    QPointF driftedOffset;
};

// The main window's backdrop: the canvas colour, four large blurred orbs that
// drift back and forth over 18 s each way, and a vertical wash over them.
// The orbs are dimmed in dark mode; they drift only while the window is
// active and reduce motion is off, and otherwise stand at rest.
//
// Drawing is cheap by construction: the blurred orbs are rendered once per
// appearance at an eighth of the resolution, the composed backdrop is kept in
// the screen's device pixels until the drift moves and copied one to one, and
// the drift repaints about six times a second (an orb moves at most two pixels
// per frame, under a blur of 45).
class AuroraBackground : public QWidget {
    Q_OBJECT

public:
    static constexpr qreal kBlurRadius = 90;
    static constexpr qreal kDriftSeconds = 18;
    static constexpr qreal kDarkDimming = 0.42;
    static constexpr int kFrameMilliseconds = 160;

    explicit AuroraBackground(QWidget* parent = nullptr);

    static const std::array<AuroraOrb, 4>& orbs();
    static qreal opacity(const AuroraOrb& orb, Appearance appearance);
    // The orb's offset from the centre at drift fraction `drift` (0 rest, 1
    // drifted).
    static QPointF offset(const AuroraOrb& orb, qreal drift);
    // The drift fraction `elapsed` seconds after the drift started.
    static qreal driftAt(qreal elapsed);
    static bool motionAllowed(bool windowActive, bool reduceMotion);

    bool isDrifting() const { return frameTimer_.isActive(); }
    qreal drift() const;

    // The backdrop of `size` logical pixels at the given drift, composed in
    // device pixels at `ratio` of them per logical pixel (what paintEvent
    // shows on a screen of that ratio).
    QImage compose(const QSize& size, Appearance appearance, qreal drift, qreal ratio = 1);

protected:
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool event(QEvent* event) override;

private:
    void startDrift();
    const std::array<QImage, 4>& orbImages(Appearance appearance);

    QTimer frameTimer_;
    QElapsedTimer driftClock_;
    std::array<QImage, 4> orbCache_;
    bool hasOrbCache_ = false;
    Appearance orbCacheAppearance_ = Appearance::light;
    QImage composed_;
    QSize composedSize_;
    qreal composedRatio_ = 0;
    Appearance composedAppearance_ = Appearance::light;
    qreal composedDrift_ = -1;
};

} // namespace harborlite
