#pragma once

#include <QSize>
#include <QString>

#include <array>
#include <optional>

namespace harborlite {

// The sizes a desktop widget comes in.
enum class WidgetFamily {
    systemSmall,
    systemMedium,
    systemLarge,
    systemExtraLarge,
};

namespace WidgetFamilies {

inline constexpr std::array<WidgetFamily, 4> allCases = {
    WidgetFamily::systemSmall,
    WidgetFamily::systemMedium,
    WidgetFamily::systemLarge,
    WidgetFamily::systemExtraLarge,
};

} // namespace WidgetFamilies

// The case name; it is also the stored form.
QString rawValue(WidgetFamily family);
// The family whose case name equals `raw` exactly; none for anything else.
std::optional<WidgetFamily> widgetFamilyFromRawValue(const QString& raw);

// The size the host gives a widget of the family, in device-independent pixels.
QSize displaySize(WidgetFamily family);

// The room the host keeps between a widget's edge and its content; the
// widget's background still fills the whole size.
inline constexpr int kWidgetContentMargin = 16;

} // namespace harborlite
