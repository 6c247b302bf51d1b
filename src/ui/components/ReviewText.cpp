#include "ui/components/ReviewText.h"

#include "shared/Formatting.h"

namespace harborlite::ReviewText {

QString count(qint64 value)
{
    return QString::number(value);
}

QString percent(double fraction)
{
    const QString text = Format::percent(fraction);
    return text.isEmpty() ? QStringLiteral("0%") : text;
}

QString selectedTitle(qint64 bytes)
{
    return Format::byteText(bytes) + QStringLiteral(" selected");
}

QString itemsFound(qint64 value)
{
    return count(value) + QStringLiteral(" item(s) found");
}

QString itemsSelected(qint64 value)
{
    return count(value) + QStringLiteral(" item(s) selected");
}

} // namespace harborlite::ReviewText
