#include "platform/ErrorDescription.h"

#include <cerrno>
#include <cstring>

namespace harborlite::platform {

QString errorDescription(int error)
{
    switch (error) {
    case EACCES:
        return QStringLiteral("Permission denied");
    case EPERM:
        // The C library says "Operation not permitted", which lacks the word.
        return QStringLiteral("Permission denied (operation not permitted)");
    default:
        break;
    }
    if (const char* text = ::strerrordesc_np(error); text != nullptr) {
        return QString::fromUtf8(text);
    }
    return QStringLiteral("Unknown error ") + QString::number(error);
}

} // namespace harborlite::platform
