#include "shared/MemoryDefaults.h"

#include <utility>

namespace harborlite {

MemoryDefaults::MemoryDefaults(QJsonObject values)
    : values_(std::move(values))
{
}

std::optional<QJsonValue> MemoryDefaults::object(const QString& key) const
{
    return lookup(values_, key);
}

void MemoryDefaults::setValue(const QString& key, const QJsonValue& value)
{
    values_.insert(key, value);
    writes_.append(key);
}

} // namespace harborlite
