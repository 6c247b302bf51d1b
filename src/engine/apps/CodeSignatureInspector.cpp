#include "engine/apps/CodeSignatureInspector.h"

#include "platform/CodeSigning.h"
#include "shared/FileSystem.h"

namespace harborlite::CodeSignatureInspector {

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

} // namespace harborlite::CodeSignatureInspector
