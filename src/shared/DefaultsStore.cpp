#include "shared/DefaultsStore.h"

#include <QLocale>

#include <cmath>
#include <limits>

namespace harborlite {

std::optional<bool> DefaultsStore::boolean(const QString& key) const
{
    const std::optional<QJsonValue> value = object(key);
    if (!value) {
        return std::nullopt;
    }
    if (value->isBool()) {
        return value->toBool();
    }
    if (value->isDouble()) {
        const double number = value->toDouble();
        if (number == 0 || number == 1) {
            return number == 1;
        }
    }
    return std::nullopt;
}

double DefaultsStore::doubleValue(const QString& key) const
{
    const std::optional<QJsonValue> value = object(key);
    if (!value) {
        return 0;
    }
    if (value->isDouble()) {
        return value->toDouble();
    }
    if (value->isBool()) {
        return value->toBool() ? 1 : 0;
    }
    if (value->isString()) {
        bool ok = false;
        const double number = QLocale::c().toDouble(value->toString().trimmed(), &ok);
        return ok && std::isfinite(number) ? number : 0;
    }
    return 0;
}

qint64 DefaultsStore::integerValue(const QString& key) const
{
    const double number = std::trunc(doubleValue(key));
    // 2^63 itself is out of range, hence the strict bound.
    constexpr double limit = 9223372036854775808.0;
    if (!std::isfinite(number) || number >= limit || number < -limit) {
        return 0;
    }
    return static_cast<qint64>(number);
}

std::optional<QJsonValue> DefaultsStore::lookup(const QJsonObject& values, const QString& key)
{
    const QJsonValue value = values.value(key);
    if (value.isUndefined() || value.isNull()) {
        return std::nullopt;
    }
    return value;
}

std::optional<QString> DefaultsStore::string(const QString& key) const
{
    const std::optional<QJsonValue> value = object(key);
    if (!value || !value->isString()) {
        return std::nullopt;
    }
    return value->toString();
}

} // namespace harborlite
