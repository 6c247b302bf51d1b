#include "engine/models/CodeSignature.h"

#include <QCoreApplication>

namespace harborlite {

QString CodeSignature::publisher() const
{
    if (isApple) {
        return QStringLiteral("Apple");
    }
    if (authority) {
        const qsizetype colon = authority->indexOf(QLatin1String(": "));
        if (colon < 0) {
            return *authority;
        }
        const QString rest = authority->mid(colon + 2);
        const qsizetype paren = rest.indexOf(QLatin1String(" ("));
        return paren < 0 ? rest : rest.left(paren);
    }
    if (teamIdentifier) {
        return QCoreApplication::translate("CodeSignature", "Team %1").arg(*teamIdentifier);
    }
    return isValid ? QCoreApplication::translate("CodeSignature", "Signed, no publisher named")
                   : QCoreApplication::translate("CodeSignature", "Not signed");
}

} // namespace harborlite
