#include "ui/paintcache/PictureKey.h"

#include <QHash>
#include <QLocale>

namespace harborlite {

QString PictureKey::text() const
{
    return QStringLiteral("harborlite|") + look + QLatin1Char('|') + QString::number(size.width()) + QLatin1Char('x')
        + QString::number(size.height()) + QLatin1Char('@') + PictureLook::part(ratio);
}

std::size_t qHash(const PictureKey& key, std::size_t seed)
{
    return qHashMulti(seed, key.look, key.size.width(), key.size.height(), key.ratio);
}

namespace PictureLook {

QString part(const QColor& color)
{
    return color.isValid() ? QString::number(color.rgba64(), 16) : QStringLiteral("none");
}

QString part(double value)
{
    return QString::number(value, 'g', QLocale::FloatingPointShortest);
}

QString part(QStringView text)
{
    return QString::number(text.size()) + QLatin1Char(':') + text.toString();
}

QString part(const QString& text)
{
    return part(QStringView(text));
}

QString part(const char* text)
{
    return part(QString::fromUtf8(text));
}

} // namespace PictureLook

} // namespace harborlite
