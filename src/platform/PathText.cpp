#include "platform/PathText.h"

namespace harborlite::platform {

namespace {

constexpr char16_t kEscapeBase = 0xDC00;

// The length of the valid UTF-8 sequence starting at `i`, or 0.
std::size_t sequenceLength(std::string_view bytes, std::size_t i)
{
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(bytes[k]); };
    const unsigned char lead = byte(i);
    if (lead < 0x80) {
        return 1;
    }
    std::size_t length = 0;
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        low = lead == 0xE0 ? 0xA0 : 0x80; // no overlong forms
        high = lead == 0xED ? 0x9F : 0xBF; // no surrogates
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        low = lead == 0xF0 ? 0x90 : 0x80;
        high = lead == 0xF4 ? 0x8F : 0xBF; // nothing past U+10FFFF
    } else {
        return 0;
    }
    if (i + length > bytes.size()) {
        return 0;
    }
    if (byte(i + 1) < low || byte(i + 1) > high) {
        return 0;
    }
    for (std::size_t k = 2; k < length; ++k) {
        if (byte(i + k) < 0x80 || byte(i + k) > 0xBF) {
            return 0;
        }
    }
    return length;
}

bool isEscape(char16_t unit)
{
    return unit >= kEscapeBase + 0x80 && unit <= kEscapeBase + 0xFF;
}

} // namespace

QString pathText(std::string_view bytes)
{
    std::size_t i = 0;
    while (i < bytes.size()) {
        const std::size_t length = sequenceLength(bytes, i);
        if (length == 0) {
            break;
        }
        i += length;
    }
    if (i == bytes.size()) {
        return QString::fromUtf8(bytes.data(), qsizetype(bytes.size()));
    }
    QString text = QString::fromUtf8(bytes.data(), qsizetype(i));
    while (i < bytes.size()) {
        const std::size_t start = i;
        while (i < bytes.size()) {
            const std::size_t length = sequenceLength(bytes, i);
            if (length == 0) {
                break;
            }
            i += length;
        }
        text += QString::fromUtf8(bytes.data() + start, qsizetype(i - start));
        if (i < bytes.size()) {
            text += QChar(char16_t(kEscapeBase + static_cast<unsigned char>(bytes[i])));
            ++i;
        }
    }
    return text;
}

QByteArray pathBytes(const QString& text)
{
    const char16_t* units = reinterpret_cast<const char16_t*>(text.utf16());
    const qsizetype size = text.size();
    qsizetype first = 0;
    for (; first < size; ++first) {
        const char16_t unit = units[first];
        if (unit >= 0xD800 && unit <= 0xDBFF && first + 1 < size && units[first + 1] >= 0xDC00
            && units[first + 1] <= 0xDFFF) {
            ++first; // a pair stands for one character
        } else if (isEscape(unit)) {
            break;
        }
    }
    if (first == size) {
        return text.toUtf8();
    }
    QByteArray bytes = QStringView(units, first).toUtf8();
    for (qsizetype i = first; i < size;) {
        const char16_t unit = units[i];
        if (unit >= 0xD800 && unit <= 0xDBFF && i + 1 < size && units[i + 1] >= 0xDC00 && units[i + 1] <= 0xDFFF) {
            bytes += QStringView(units + i, 2).toUtf8();
            i += 2;
        } else if (isEscape(unit)) {
            bytes += char(unit - kEscapeBase);
            ++i;
        } else {
            bytes += QStringView(units + i, 1).toUtf8();
            ++i;
        }
    }
    return bytes;
}

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
    return location.size() > root.size() && location.startsWith(root) && location.at(root.size()) == QLatin1Char('/');
}

} // namespace harborlite::platform
