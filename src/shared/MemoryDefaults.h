#pragma once

#include "shared/DefaultsStore.h"

#include <QJsonObject>
#include <QStringList>

namespace harborlite {

// A defaults store that lives in memory only, for tests and for runs that must
// not touch the user's file. It remembers which keys were written, in order.
class MemoryDefaults : public DefaultsStore {
public:
    MemoryDefaults() = default;
    explicit MemoryDefaults(QJsonObject values);

    std::optional<QJsonValue> object(const QString& key) const override;
    void setValue(const QString& key, const QJsonValue& value) override;

    const QJsonObject& values() const { return values_; }
    const QStringList& writes() const { return writes_; }

private:
    QJsonObject values_;
    QStringList writes_;
};

} // namespace harborlite
