#include "support/BadInput.h"

#include <QFile>

#include <fcntl.h>
#include <unistd.h>

namespace harborlite::test {

namespace {

void appendBigEndian(QByteArray& out, quint64 value, int width)
{
    for (int shift = (width - 1) * 8; shift >= 0; shift -= 8) {
        out.append(char((value >> shift) & 0xFF));
    }
}

} // namespace

QByteArray cyclicBinaryList()
{
    // One array (a single reference to object 0, itself) at offset 8.
    QByteArray out("bplist00");
    out.append(char(0xA1));
    appendBigEndian(out, 0, 4);
    const quint64 tableAt = quint64(out.size());
    appendBigEndian(out, 8, 4);
    out.append(QByteArray(6, '\0'));
    out.append(char(4)); // offset size
    out.append(char(4)); // reference size
    appendBigEndian(out, 1, 8); // objects
    appendBigEndian(out, 0, 8); // top object
    appendBigEndian(out, tableAt, 8);
    return out;
}

bool writeRawName(const QString& folder, const QByteArray& name, const QByteArray& content)
{
    const QByteArray path = QFile::encodeName(folder) + '/' + name;
    const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) {
        return false;
    }
    const bool written = ::write(fd, content.constData(), size_t(content.size())) == ssize_t(content.size());
    return ::close(fd) == 0 && written;
}

QByteArray invalidUtf8Name(const QByteArray& prefix, const QByteArray& suffix)
{
    return prefix + QByteArray("\xff\xfe") + suffix;
}

} // namespace harborlite::test
