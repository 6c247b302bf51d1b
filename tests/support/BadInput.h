#pragma once

#include <QByteArray>
#include <QString>

// Input other programs may leave where the scanners look.
namespace harborlite::test {

// A binary property list whose top-level array holds itself.
QByteArray cyclicBinaryList();

// A file whose name is the raw bytes given (not necessarily UTF-8) inside an
// existing folder, removed again when this goes out of scope: names that are
// not text cannot be removed through Qt.
class RawNameFile {
public:
    RawNameFile(const QString& folder, const QByteArray& name, const QByteArray& content);
    ~RawNameFile();
    RawNameFile(const RawNameFile&) = delete;
    RawNameFile& operator=(const RawNameFile&) = delete;

    bool exists() const;

private:
    QByteArray path_;
};

// The raw bytes of a name that is not valid UTF-8.
QByteArray invalidUtf8Name(const QByteArray& prefix, const QByteArray& suffix);

} // namespace harborlite::test
