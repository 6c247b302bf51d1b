#pragma once

#include <QJsonObject>
#include <QJsonValue>
#include <QString>

#include <optional>

namespace harborlite {

// The user's persisted preferences: one flat map from key to a typed value
// (Boolean, number, string, array). The store keeps the types apart, so
// loading code can tell a stored Boolean from a number or a string and repair
// what it cannot use. Used on the GUI thread only.
class DefaultsStore {
public:
    virtual ~DefaultsStore() = default;

    // The value stored under `key`; none when nothing (or a JSON null) is stored.
    virtual std::optional<QJsonValue> object(const QString& key) const = 0;

    // Stores `value` under `key` at once. Failures to persist report nothing.
    virtual void setValue(const QString& key, const QJsonValue& value) = 0;

    // A stored Boolean; a stored number converts only when it is exactly 0 or
    // 1. None for anything else.
    std::optional<bool> boolean(const QString& key) const;

    // A stored number; a Boolean reads as 1 or 0 and a string as the number it
    // spells in full (C locale, surrounding spaces ignored). 0 for anything else.
    double doubleValue(const QString& key) const;

    // doubleValue() truncated toward zero; 0 when it does not fit.
    qint64 integerValue(const QString& key) const;

    // A stored string; none for any other type.
    std::optional<QString> string(const QString& key) const;

protected:
    // The value under `key` in `values`, with a JSON null counted as nothing.
    static std::optional<QJsonValue> lookup(const QJsonObject& values, const QString& key);
};

} // namespace harborlite
