#pragma once

#include <QImage>
#include <QLinearGradient>
#include <QPainter>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

namespace harborlite::test {

// A background that is not one colour, so a surface laid twice or out of place shows.
inline QImage gradientBackground(QSize size)
{
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    QPainter painter(&image);
    QLinearGradient gradient(0, 0, size.width(), size.height());
    gradient.setColorAt(0, QColor(220, 240, 230));
    gradient.setColorAt(1, QColor(40, 90, 70));
    painter.fillRect(image.rect(), gradient);
    return image;
}

// How two images of one size differ: the largest difference of one channel,
// and how many pixels differ by more than the rounding of 8-bit layers.
struct ImageDifference {
    int largest = 0;
    int pixelsOverRounding = 0;
};

inline ImageDifference differenceOf(const QImage& a, const QImage& b)
{
    const QImage left = a.convertToFormat(QImage::Format_ARGB32);
    const QImage right = b.convertToFormat(QImage::Format_ARGB32);
    ImageDifference made;
    for (int y = 0; y < left.height(); ++y) {
        const auto* l = reinterpret_cast<const QRgb*>(left.constScanLine(y));
        const auto* r = reinterpret_cast<const QRgb*>(right.constScanLine(y));
        for (int x = 0; x < left.width(); ++x) {
            const int channel = std::max({std::abs(qRed(l[x]) - qRed(r[x])), std::abs(qGreen(l[x]) - qGreen(r[x])),
                                          std::abs(qBlue(l[x]) - qBlue(r[x])), std::abs(qAlpha(l[x]) - qAlpha(r[x]))});
            made.largest = std::max(made.largest, channel);
            made.pixelsOverRounding += channel > 2 ? 1 : 0;
        }
    }
    return made;
}

// Layers laid down at once round differently from layers laid one by one,
// most along the antialiased outline where they are faintest: a few levels
// there, never a surface laid twice or out of place.
inline void expectSameLook(const QImage& a, const QImage& b)
{
    const ImageDifference difference = differenceOf(a, b);
    EXPECT_LE(difference.largest, 12);
    EXPECT_LE(difference.pixelsOverRounding, a.width() * a.height() / 100);
}

} // namespace harborlite::test
