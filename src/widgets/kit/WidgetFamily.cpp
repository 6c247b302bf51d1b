#include "widgets/kit/WidgetFamily.h"

namespace harborlite {

QString rawValue(WidgetFamily family)
{
    switch (family) {
    case WidgetFamily::systemSmall:
        return QStringLiteral("systemSmall");
    case WidgetFamily::systemMedium:
        return QStringLiteral("systemMedium");
    case WidgetFamily::systemLarge:
        return QStringLiteral("systemLarge");
    case WidgetFamily::systemExtraLarge:
        return QStringLiteral("systemExtraLarge");
    }
    return {};
}

std::optional<WidgetFamily> widgetFamilyFromRawValue(const QString& raw)
{
    for (const WidgetFamily family : WidgetFamilies::allCases) {
        if (rawValue(family) == raw) {
            return family;
        }
    }
    return std::nullopt;
}

QSize displaySize(WidgetFamily family)
{
    switch (family) {
    case WidgetFamily::systemSmall:
        return {170, 170};
    case WidgetFamily::systemMedium:
        return {364, 170};
    case WidgetFamily::systemLarge:
        return {364, 382};
    case WidgetFamily::systemExtraLarge:
        return {764, 382};
    }
    return {};
}

} // namespace harborlite
