#pragma once

#include <QDateTime>
#include <QString>

// The short texts shown for byte counts, fractions, dates and durations.
// Every text is English and ignores the process locale (Qt calls setlocale at
// start-up): the decimal point is always "." whatever the user's language.
// All functions are pure apart from relativeDate(), which reads platform::now(),
// and may be called from any thread.
namespace harborlite::Format {

// The standard byte text, decimal units (1 KB = 1,000 bytes):
//   below 1,000: "0 bytes", "1 byte", "999 bytes" (always a digit, never a word);
//   then KB with no decimals, MB with one, GB, TB, PB and EB with two, trailing
//   zeros dropped: "1 KB", "1.5 MB", "25.3 GB", "2 TB".
// The count is rounded exactly (integer arithmetic), halves upwards: 1,500 bytes
// is "2 KB", 1,250,000 is "1.3 MB". When rounding would print 1,000 of a unit the
// next unit is used, so 999,500 bytes is "1 MB", never "1000 KB".
// A negative count is "-" followed by the text of its magnitude.
QString bytes(qint64 count);

// The byte text of banners, footers and screens: "0 KB" for a count of 0 or
// less, else bytes(count).
QString byteText(qint64 count);

// A fraction as a whole percentage (1.0 is "100%"), rounded half to even on the
// fraction's shortest decimal form: 0.256 is "26%", 0.125 is "12%", 0.135 is "14%".
// Thousands are grouped ("1,250%"). NaN and infinities give "0%"; a negative
// fraction that rounds to zero gives "0%", not "-0%".
QString percent(double fraction);

// The date relative to platform::now() in the abbreviated style: "2 days ago",
// "in 3 hr.", "1 wk. ago", "5 mo. ago", "in 2 yr.", "10 sec. ago". The unit is
// the largest with a non-zero count among years, months, weeks, days, hours,
// minutes and seconds, counted on the UTC calendar and truncated (1 day and
// 23 hours ago is "1 day ago"). Less than a second apart is "in 0 sec.".
// An invalid date gives an empty text.
QString relativeDate(const QDateTime& date);

// A byte count in the largest unit of "B", "KB", "MB", "GB", "TB", "PB"
// (factors of 1,000) that keeps the value at least 1. Counts of 1,000 PB and
// more stay in PB; negative counts are (0, "B").
struct Scaled {
    double value;
    QString unit;
};
Scaled scale(qint64 count);

// The number part of scale(): no decimals from 100, one from 10, else two
// ("999", "1.00", "25.3", "123"). The unit is not included.
QString byteValue(qint64 count);

// Number and one-letter unit with no space, decimals as in byteValue():
// "999B", "5.00B", "1.50M", "25.3G". Zero and negative counts give "0".
QString compactBytes(qint64 count);

// Two-part duration of whole seconds, rounded half away from zero:
// "2d 5h", "3h 12m", "4m 7s", "42s". Negative values, NaN and infinities give
// "0s"; values beyond the largest 64-bit second count are held at that count.
QString duration(double seconds);

} // namespace harborlite::Format
