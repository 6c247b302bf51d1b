#include "platform/SystemVersion.h"

#include <QFile>

#include <array>
#include <limits>

namespace harborlite::platform {

namespace {

// os-release files are a few hundred bytes; anything far larger is not one.
constexpr qint64 kMaximumOsReleaseSize = 64 * 1024;

// The value of VERSION_ID in os-release text, its shell quotes removed.
QString versionId(const QByteArray& content)
{
    const QByteArray prefix = QByteArrayLiteral("VERSION_ID=");
    for (const QByteArray& rawLine : content.split('\n')) {
        const QByteArray line = rawLine.trimmed();
        if (!line.startsWith(prefix)) {
            continue;
        }
        QByteArray value = line.mid(prefix.size());
        if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front()) {
            value = value.mid(1, value.size() - 2);
        }
        return QString::fromUtf8(value);
    }
    return {};
}

} // namespace

std::optional<qint64> decimalInteger(QStringView text)
{
    qsizetype index = 0;
    bool negative = false;
    if (!text.isEmpty() && (text.front() == u'+' || text.front() == u'-')) {
        negative = text.front() == u'-';
        index = 1;
    }
    if (index == text.size()) {
        return std::nullopt;
    }
    // Accumulated as a negative number, which reaches the minimum of the type.
    qint64 value = 0;
    for (; index < text.size(); ++index) {
        const char16_t c = text[index].unicode();
        if (c < u'0' || c > u'9') {
            return std::nullopt;
        }
        const int digit = c - u'0';
        if (value < (std::numeric_limits<qint64>::min() + digit) / 10) {
            return std::nullopt;
        }
        value = value * 10 - digit;
    }
    if (!negative) {
        if (value == std::numeric_limits<qint64>::min()) {
            return std::nullopt;
        }
        value = -value;
    }
    return value;
}

OperatingSystemVersion versionFromText(QStringView text)
{
    std::array<qint64, 3> numbers{};
    size_t found = 0;
    for (QStringView piece : text.split(u'.', Qt::SkipEmptyParts)) {
        if (found == numbers.size()) {
            break;
        }
        if (const std::optional<qint64> number = decimalInteger(piece)) {
            numbers[found++] = *number;
        }
    }
    return {numbers[0], numbers[1], numbers[2]};
}

OperatingSystemVersion systemVersion(const QString& root)
{
    const QString base = root.endsWith(u'/') ? root.chopped(1) : root;
    QFile file(base + QStringLiteral("/etc/os-release"));
    if (!file.exists()) {
        file.setFileName(base + QStringLiteral("/usr/lib/os-release"));
    }
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    return versionFromText(versionId(file.read(kMaximumOsReleaseSize)));
}

} // namespace harborlite::platform
