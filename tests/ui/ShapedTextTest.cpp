#include "ui/theme/ShapedText.h"
#include "ui/theme/TypeStyle.h"

#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

using namespace harborlite;

// Shaped once, a text is drawn with exactly the pixels Qt's drawText gives,
// whatever its alignment, its place or the image under it, and whether or not
// it fits; a text that is not one plain line (or asks to wrap) is drawn by Qt
// itself.
TEST(ShapedText, DrawsWhatDrawTextDraws)
{
    const QString texts[] = {
        QStringLiteral("Caches"),
        QStringLiteral("~/Library/Caches/com.example.builder/Cache.db-wal"),
        QStringLiteral("report \u2026 final.pdf"),
        QStringLiteral("1.2 GB"),
        QStringLiteral("trailing space "),
        QStringLiteral("\u65e5\u672c\u8a9e\u306e\u30d5\u30a1\u30a4\u30eb.txt"),
        QStringLiteral("\u0645\u0644\u0641 notes.txt"),
        QStringLiteral("two\nlines"),
        QStringLiteral("tab\tbed"),
    };
    const QFont fonts[] = {TypeStyle::font(13, QFont::Medium), TypeStyle::font(11.5, QFont::Normal)};
    const int flagSets[] = {
        Qt::AlignLeft | Qt::AlignVCenter, Qt::AlignRight | Qt::AlignVCenter,
        Qt::AlignHCenter | Qt::AlignTop,  Qt::AlignLeft | Qt::AlignBottom | Qt::TextSingleLine,
        Qt::AlignLeft | Qt::TextWordWrap,
    };
    const QRectF rects[] = {QRectF(10, 6, 260, 22), QRectF(12.5, 30.25, 260, 18), QRectF(20, 60, 40, 12)};
    const std::pair<QImage::Format, Qt::LayoutDirection> targets[] = {
        {QImage::Format_RGB32, Qt::LeftToRight},
        {QImage::Format_ARGB32_Premultiplied, Qt::LeftToRight},
        {QImage::Format_RGB32, Qt::RightToLeft},
        {QImage::Format_RGB32, Qt::LayoutDirectionAuto},
    };
    for (const auto& [format, direction] : targets) {
        for (const QString& text : texts) {
            for (const QFont& font : fonts) {
                for (const int flags : flagSets) {
                    SCOPED_TRACE(testing::Message() << text.toStdString() << " " << font.pointSizeF() << " " << flags
                                                    << " format " << int(format) << " direction " << int(direction));
                    const ShapedText shaped(text, font, flags, direction);
                    const auto drawn = [&](bool useShaped) {
                        QImage image(300, 90, format);
                        image.fill(QColor(228, 238, 232));
                        QPainter painter(&image);
                        painter.setLayoutDirection(direction);
                        painter.setPen(QColor(30, 60, 50));
                        for (const QRectF& rect : rects) {
                            if (useShaped) {
                                shaped.draw(painter, rect);
                            } else {
                                painter.setFont(font);
                                painter.drawText(rect, flags, text);
                            }
                        }
                        return image;
                    };
                    EXPECT_EQ(drawn(true), drawn(false));
                }
            }
        }
    }
}
