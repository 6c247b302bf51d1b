#pragma once

#include <QString>

// Short texts the cleaning screens share. Numbers never follow the process
// locale and counts are never grouped ("1000 item(s)", not "1,000 item(s)").
namespace harborlite::ReviewText {

inline constexpr QChar kEllipsis{0x2026};
// " · ", the separator of two facts on one line.
inline const QString kMiddleDot = QStringLiteral(" \u00B7 ");
inline constexpr QChar kEmDash{0x2014};

// A count as plain decimal digits: "0", "1000", "-3".
QString count(qint64 value);

// A fraction as a whole percentage; "0%" when it has no sensible value.
QString percent(double fraction);

// "12 MB selected"; "0 KB selected" for nothing.
QString selectedTitle(qint64 bytes);

// "<n> item(s) found", "<n> item(s) selected": the fixed "(s)" wording, never singular.
QString itemsFound(qint64 value);
QString itemsSelected(qint64 value);

} // namespace harborlite::ReviewText
