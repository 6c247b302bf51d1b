#include "shared/Formatting.h"

#include "platform/Clock.h"

#include <QCoreApplication>

#include <unicode/locid.h>
#include <unicode/numberformatter.h>
#include <unicode/reldatefmt.h>

#include <array>
#include <charconv>
#include <cmath>
#include <limits>
#include <memory>

namespace harborlite::Format {

namespace {

QString fromIcu(const icu::UnicodeString& text)
{
    return QString::fromUtf16(text.getBuffer(), text.length());
}

const icu::number::LocalizedNumberFormatter& percentFormatter()
{
    static const icu::number::LocalizedNumberFormatter formatter =
        icu::number::NumberFormatter::withLocale(icu::Locale::getEnglish())
            .unit(icu::MeasureUnit::getPercent())
            .scale(icu::number::Scale::powerOfTen(2))
            .precision(icu::number::Precision::integer())
            .roundingMode(UNUM_ROUND_HALFEVEN)
            .sign(UNUM_SIGN_NEGATIVE);
    return formatter;
}

// Null when ICU cannot build it (no locale data).
const icu::RelativeDateTimeFormatter* relativeFormatter()
{
    static const std::unique_ptr<const icu::RelativeDateTimeFormatter> formatter = [] {
        UErrorCode status = U_ZERO_ERROR;
        auto built = std::make_unique<const icu::RelativeDateTimeFormatter>(
            icu::Locale::getEnglish(), nullptr, UDAT_STYLE_SHORT, UDISPCTX_CAPITALIZATION_NONE, status);
        return U_SUCCESS(status) ? std::move(built) : nullptr;
    }();
    return formatter.get();
}

quint64 powerOfTen(int exponent)
{
    quint64 power = 1;
    for (int i = 0; i < exponent; ++i)
        power *= 10;
    return power;
}

// `scaled` holds the value times 10^decimals; trailing fraction zeros are dropped.
QString trimmedDecimal(quint64 scaled, int decimals)
{
    const quint64 divisor = powerOfTen(decimals);
    QString text = QString::number(scaled / divisor);
    quint64 fraction = scaled % divisor;
    int digits = decimals;
    while (digits > 0 && fraction % 10 == 0) {
        fraction /= 10;
        --digits;
    }
    if (digits > 0)
        text += QLatin1Char('.') + QStringLiteral("%1").arg(fraction, digits, 10, QLatin1Char('0'));
    return text;
}

struct ByteUnit {
    const char* name;
    int decimals;
};

constexpr std::array<ByteUnit, 6> byteUnits{{
    {"KB", 0},
    {"MB", 1},
    {"GB", 2},
    {"TB", 2},
    {"PB", 2},
    {"EB", 2},
}};

// The count in steps of the last printed digit of byteUnits[index], rounded half up.
quint64 roundedSteps(quint64 count, std::size_t index)
{
    const quint64 step = powerOfTen(3 * static_cast<int>(index + 1) - byteUnits[index].decimals);
    const quint64 remainder = count % step;
    return count / step + (remainder >= step - remainder ? 1 : 0);
}

QString magnitudeText(quint64 count)
{
    if (count < 1000)
        return count == 1 ? QCoreApplication::translate("Format", "%1 byte").arg(count)
                          : QCoreApplication::translate("Format", "%1 bytes").arg(count);
    std::size_t index = 0;
    quint64 steps = roundedSteps(count, index);
    while (steps >= 1000 * powerOfTen(byteUnits[index].decimals) && index + 1 < byteUnits.size())
        steps = roundedSteps(count, ++index);
    return trimmedDecimal(steps, byteUnits[index].decimals) + QLatin1Char(' ') + QLatin1String(byteUnits[index].name);
}

// printf("%.*f") without the process locale.
QString fixed(double value, int decimals)
{
    std::array<char, 400> buffer{};
    const auto result =
        std::to_chars(buffer.data(), buffer.data() + buffer.size(), value, std::chars_format::fixed, decimals);
    return QString::fromLatin1(buffer.data(), result.ptr - buffer.data());
}

int decimalsFor(double value)
{
    return value >= 100 ? 0 : value >= 10 ? 1 : 2;
}

struct Span {
    qint64 amount;
    URelativeDateTimeUnit unit;
};

QDateTime addMonths(const QDateTime& date, qint64 months)
{
    return date.addYears(static_cast<int>(months / 12)).addMonths(static_cast<int>(months % 12));
}

// The largest calendar unit with a non-zero count from `from` to the later `to`.
Span largestUnit(const QDateTime& from, const QDateTime& to)
{
    const QDate start = from.date();
    const QDate end = to.date();
    qint64 months = (qint64{end.year()} - start.year()) * 12 + (end.month() - start.month());
    QDateTime shifted = addMonths(from, months);
    while (months > 0 && (!shifted.isValid() || shifted > to)) {
        --months;
        shifted = addMonths(from, months);
    }
    if (months >= 12)
        return {months / 12, UDAT_REL_UNIT_YEAR};
    if (months > 0)
        return {months, UDAT_REL_UNIT_MONTH};

    const qint64 seconds = from.secsTo(to);
    static constexpr std::array<Span, 5> steps{{
        {7 * 86'400, UDAT_REL_UNIT_WEEK},
        {86'400, UDAT_REL_UNIT_DAY},
        {3'600, UDAT_REL_UNIT_HOUR},
        {60, UDAT_REL_UNIT_MINUTE},
        {1, UDAT_REL_UNIT_SECOND},
    }};
    for (const Span& step : steps) {
        if (seconds >= step.amount)
            return {seconds / step.amount, step.unit};
    }
    return {0, UDAT_REL_UNIT_SECOND};
}

qint64 wholeSeconds(double seconds)
{
    if (!std::isfinite(seconds) || seconds <= 0)
        return 0;
    const double rounded = std::round(seconds);
    // 2^63: the first double past the largest qint64.
    constexpr double limit = 9223372036854775808.0;
    return rounded >= limit ? std::numeric_limits<qint64>::max() : static_cast<qint64>(rounded);
}

} // namespace

QString bytes(qint64 count)
{
    if (count >= 0)
        return magnitudeText(static_cast<quint64>(count));
    // Negating in unsigned arithmetic keeps the most negative count defined.
    return QLatin1Char('-') + magnitudeText(0 - static_cast<quint64>(count));
}

QString byteText(qint64 count)
{
    return count > 0 ? bytes(count) : QStringLiteral("0 KB");
}

QString percent(double fraction)
{
    const QString zero = QStringLiteral("0%");
    if (!std::isfinite(fraction))
        return zero;
    UErrorCode status = U_ZERO_ERROR;
    const icu::UnicodeString text = percentFormatter().formatDouble(fraction, status).toString(status);
    return U_SUCCESS(status) && !text.isEmpty() ? fromIcu(text) : zero;
}

QString relativeDate(const QDateTime& date)
{
    const icu::RelativeDateTimeFormatter* formatter = relativeFormatter();
    const QDateTime now = platform::now().toUTC();
    if (!formatter || !date.isValid() || !now.isValid())
        return {};
    const QDateTime then = date.toUTC();
    // A moment that has come reads "… ago", even under a second ago; the
    // formatter tells the past by the sign, so no time at all is -0.
    const bool past = then <= now;
    const Span span = past ? largestUnit(then, now) : largestUnit(now, then);
    const double offset = past ? -static_cast<double>(span.amount) : static_cast<double>(span.amount);
    UErrorCode status = U_ZERO_ERROR;
    icu::UnicodeString text;
    formatter->formatNumeric(offset, span.unit, text, status);
    return U_SUCCESS(status) ? fromIcu(text) : QString();
}

Scaled scale(qint64 count)
{
    static constexpr std::array<const char*, 6> units{"B", "KB", "MB", "GB", "TB", "PB"};
    double value = count > 0 ? static_cast<double>(count) : 0.0;
    std::size_t index = 0;
    if (value >= 1000) {
        value /= 1000;
        index = 1;
        while (value >= 1000 && index < units.size() - 1) {
            value /= 1000;
            ++index;
        }
    }
    return {value, QLatin1String(units[index])};
}

QString byteValue(qint64 count)
{
    const double value = scale(count).value;
    return fixed(value, decimalsFor(value));
}

QString compactBytes(qint64 count)
{
    if (count <= 0)
        return QStringLiteral("0");
    const Scaled scaled = scale(count);
    const QString suffix = scaled.unit == QLatin1String("B") ? scaled.unit : scaled.unit.left(1);
    return fixed(scaled.value, decimalsFor(scaled.value)) + suffix;
}

QString duration(double seconds)
{
    const qint64 s = wholeSeconds(seconds);
    if (s >= 86'400)
        return QStringLiteral("%1d %2h").arg(s / 86'400).arg(s % 86'400 / 3'600);
    if (s >= 3'600)
        return QStringLiteral("%1h %2m").arg(s / 3'600).arg(s % 3'600 / 60);
    if (s < 60)
        return QStringLiteral("%1s").arg(s);
    return QStringLiteral("%1m %2s").arg(s / 60).arg(s % 60);
}

} // namespace harborlite::Format
