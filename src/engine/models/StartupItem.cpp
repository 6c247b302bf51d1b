#include "engine/models/StartupItem.h"

#include "shared/RawValue.h"

namespace harborlite {

bool StartupItem::needsAdministrator() const
{
    return source != Source::autostart && scope != Scope::userAgent;
}

QString rawValue(StartupItem::Scope scope)
{
    switch (scope) {
    case StartupItem::Scope::userAgent:
        return QStringLiteral("Login item");
    case StartupItem::Scope::globalAgent:
        return QStringLiteral("Launch agent");
    case StartupItem::Scope::daemon:
        return QStringLiteral("Launch daemon");
    }
    return {};
}

std::optional<StartupItem::Scope> startupScopeFromRawValue(const QString& raw)
{
    return caseFromRawValue(StartupScopes::allCases, raw);
}

} // namespace harborlite
