#include "ui/components/ReviewText.h"

#include "shared/Formatting.h"

#include <QCoreApplication>

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
    return QCoreApplication::translate("ReviewText", "%1 selected").arg(Format::byteText(bytes));
}

QString itemsFound(qint64 value)
{
    return QCoreApplication::translate("ReviewText", "%1 item(s) found").arg(count(value));
}

QString itemsSelected(qint64 value)
{
    return QCoreApplication::translate("ReviewText", "%1 item(s) selected").arg(count(value));
}

} // namespace harborlite::ReviewText
