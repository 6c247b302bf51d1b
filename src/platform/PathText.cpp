#include "platform/PathText.h"

namespace harborlite::platform {

QString path(const QString& location)
{
    QString result = location;
    while (result.size() >= 2 && result.endsWith(QLatin1Char('/'))) {
        result.chop(1);
    }
    return result;
}

QString join(const QString& folder, const QString& relative)
{
    if (relative.isEmpty()) {
        return folder;
    }
    if (folder.endsWith(QLatin1Char('/'))) {
        return folder + relative;
    }
    return folder + QLatin1Char('/') + relative;
}

QString lastPathComponent(const QString& location)
{
    const QString trimmed = path(location);
    if (trimmed == QLatin1String("/")) {
        return trimmed;
    }
    const qsizetype slash = trimmed.lastIndexOf(QLatin1Char('/'));
    return slash < 0 ? trimmed : trimmed.mid(slash + 1);
}

QString parentPath(const QString& location)
{
    const QString trimmed = path(location);
    const qsizetype slash = trimmed.lastIndexOf(QLatin1Char('/'));
    if (slash <= 0) {
        return slash == 0 ? QStringLiteral("/") : QString();
    }
    return trimmed.left(slash);
}

bool isBelow(const QString& location, const QString& root)
{
    if (location == root) {
        return true;
    }
    if (root == QLatin1String("/")) {
        return location.startsWith(QLatin1Char('/'));
    }
    return location.size() > root.size() && location.startsWith(root)
        && location.at(root.size()) == QLatin1Char('/');
}

} // namespace harborlite::platform
