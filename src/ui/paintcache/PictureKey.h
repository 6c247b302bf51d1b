#pragma once

#include <QColor>
#include <QSize>
#include <QString>
#include <QStringView>

#include <concepts>
#include <cstddef>

namespace harborlite {

// What a kept picture is kept under: what it looks like, how many device
// pixels it has and how many of them make a logical pixel. Two pictures share
// a key only when all three agree, so a picture drawn for one screen's ratio
// never stands in for another's.
struct PictureKey {
    QString look;
    QSize size;
    qreal ratio = 1;

    // The key as one text, for Qt's pixmap cache: the same key gives the same
    // text in every run, and different keys give different texts.
    QString text() const;

    friend bool operator==(const PictureKey&, const PictureKey&) = default;
};

std::size_t qHash(const PictureKey& key, std::size_t seed = 0);

namespace PictureLook {

// Each part of a look as text, written in full: a number is not rounded, a
// colour not valid is told from black, and a text says how long it is, so
// parts never run into one another (a look nested in another included).
QString part(const QColor& color);
QString part(double value);
QString part(QStringView text);
QString part(const QString& text);
QString part(const char* text);

template <typename Value>
requires std::integral<Value> || std::is_enum_v<Value> QString part(Value value)
{
    return QString::number(static_cast<long long>(value));
}

// A look: its kind and every value its pixels depend on.
template <typename... Parts>
QString of(QStringView kind, const Parts&... parts)
{
    QString look = kind.toString();
    ((look += QLatin1Char('|') + part(parts)), ...);
    return look;
}

} // namespace PictureLook

} // namespace harborlite
