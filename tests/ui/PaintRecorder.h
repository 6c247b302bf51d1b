#pragma once

#include <QImage>
#include <QList>
#include <QPaintDevice>
#include <QPaintEngine>
#include <QPainter>
#include <QPixmap>

// A paint device of a given device pixel ratio that draws nothing and counts
// what is asked of it: pictures copied one to one onto device pixels,
// pictures scaled on the way, antialiased shapes (paths, polygons, ellipses,
// lines) and plain rectangles. A picture served from a cache shows as copies
// alone; one drawn afresh shows its shapes or its scaling. It also notes which
// pictures were drawn (their cache keys): a picture kept between two paints
// is the very same one both times, one made again is a new one.
class PaintRecorder : public QPaintDevice {
public:
    struct Counts {
        int copies = 0;
        int scaled = 0;
        int shapes = 0;
        int rects = 0;
    };

    PaintRecorder(QSize logicalSize, qreal ratio)
        : size_(logicalSize)
        , ratio_(ratio)
        , engine_(*this)
    {
    }
    ~PaintRecorder() override = default;

    const Counts& counts() const { return counts_; }
    // The cache keys of the pictures drawn, in order.
    const QList<qint64>& pictures() const { return pictures_; }
    void reset()
    {
        counts_ = {};
        pictures_.clear();
    }

    QPaintEngine* paintEngine() const override { return &engine_; }

protected:
    int metric(PaintDeviceMetric metric) const override
    {
        switch (metric) {
        case PdmWidth:
            return size_.width();
        case PdmHeight:
            return size_.height();
        case PdmDevicePixelRatio:
            return int(ratio_);
        case PdmDevicePixelRatioScaled:
            return int(ratio_ * devicePixelRatioFScale());
        case PdmDepth:
            return 32;
        case PdmNumColors:
            return 0;
        case PdmDpiX:
        case PdmDpiY:
        case PdmPhysicalDpiX:
        case PdmPhysicalDpiY:
            return 96;
        default:
            return QPaintDevice::metric(metric);
        }
    }

private:
    class Engine : public QPaintEngine {
    public:
        explicit Engine(PaintRecorder& owner)
            : QPaintEngine(AllFeatures)
            , owner_(owner)
        {
        }

        bool begin(QPaintDevice*) override { return true; }
        bool end() override { return true; }
        void updateState(const QPaintEngineState&) override { }
        Type type() const override { return User; }

        void drawPixmap(const QRectF& r, const QPixmap& pixmap, const QRectF& sr) override
        {
            picture(r, sr.size(), pixmap.cacheKey());
        }
        void drawImage(const QRectF& r, const QImage& image, const QRectF& sr, Qt::ImageConversionFlags) override
        {
            picture(r, sr.size(), image.cacheKey());
        }
        void drawTiledPixmap(const QRectF& r, const QPixmap& pixmap, const QPointF&) override
        {
            picture(QRectF(r.topLeft(), QSizeF(pixmap.size())), pixmap.size(), pixmap.cacheKey());
        }
        void drawPath(const QPainterPath&) override { ++owner_.counts_.shapes; }
        void drawPolygon(const QPointF*, int, PolygonDrawMode) override { ++owner_.counts_.shapes; }
        void drawEllipse(const QRectF&) override { ++owner_.counts_.shapes; }
        void drawLines(const QLineF*, int) override { ++owner_.counts_.shapes; }
        void drawPoints(const QPointF*, int) override { ++owner_.counts_.shapes; }
        void drawRects(const QRectF*, int) override { ++owner_.counts_.rects; }
        void drawRects(const QRect*, int) override { ++owner_.counts_.rects; }

    private:
        void picture(const QRectF& target, const QSizeF& source, qint64 key)
        {
            const QSizeF onDevice = painter()->deviceTransform().mapRect(target).size();
            ++(onDevice == source ? owner_.counts_.copies : owner_.counts_.scaled);
            owner_.pictures_.append(key);
        }

        PaintRecorder& owner_;
    };

    QSize size_;
    qreal ratio_;
    mutable Engine engine_;
    Counts counts_;
    QList<qint64> pictures_;
};
