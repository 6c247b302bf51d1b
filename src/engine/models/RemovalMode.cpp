#include "engine/models/RemovalMode.h"

#include "shared/RawValue.h"

namespace harborlite {

QString rawValue(RemovalMode mode)
{
    switch (mode) {
    case RemovalMode::trash:
        return QStringLiteral("trash");
    case RemovalMode::permanent:
        return QStringLiteral("permanent");
    case RemovalMode::shred:
        return QStringLiteral("shred");
    }
    return {};
}

std::optional<RemovalMode> removerModeFromRawValue(const QString& raw)
{
    return caseFromRawValue(allRemovalModes, raw);
}

} // namespace harborlite
