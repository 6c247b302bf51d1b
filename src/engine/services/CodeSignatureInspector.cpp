#include "engine/services/CodeSignatureInspector.h"

#include "platform/CodeSigning.h"
#include "shared/FileSystem.h"

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

namespace CodeSignatureInspector {

CodeSignature inspect(const QString& path)
{
    const std::optional<platform::StaticCodeInfo> code = platform::codeSigning().get()(path);
    if (!code) {
        return {};
    }
    CodeSignature signature;
    signature.isValid = code->isValid;
    if (!code->hasInformation) {
        return signature;
    }
    signature.teamIdentifier = code->teamIdentifier;
    signature.authority = code->leafCommonName;
    const QString identifier = code->signingIdentifier.value_or(QString());
    signature.isApple = !signature.teamIdentifier
        && ((signature.authority && signature.authority->contains(QLatin1String("Apple")))
            || identifier.startsWith(QLatin1String("com.apple.")));
    return signature;
}

std::optional<QString> owningApplication(const QString& path)
{
    QString current = FS::path(path);
    // "/Foo.app" has two components ("/" and "Foo.app") and is never an answer.
    while (current.startsWith(QLatin1Char('/')) && current.count(QLatin1Char('/')) >= 2) {
        if (current.endsWith(QLatin1String(".app")) && current.size() > 4
            && current.at(current.size() - 5) != QLatin1Char('/')) {
            return current;
        }
        current = FS::parentPath(current);
    }
    return std::nullopt;
}

} // namespace CodeSignatureInspector

} // namespace harborlite
