#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QTemporaryDir>

namespace harborlite::test {

// A throw-away folder tree for one test. Paths given to the builders are
// relative to root(); missing parent folders are created. Every builder fails
// the current test (ADD_FAILURE) when the file system refuses.
class FixtureTree {
public:
    FixtureTree();
    // Removes the whole tree, however deep, oddly named or locked.
    ~FixtureTree();
    FixtureTree(const FixtureTree&) = delete;
    FixtureTree& operator=(const FixtureTree&) = delete;

    QString root() const { return dir_.path(); }
    QString path(const QString& relative) const;

    // A regular file holding `bytes` bytes of data (written, so blocks are allocated).
    QString file(const QString& relative, qint64 bytes = 0);
    QString file(const QString& relative, const QByteArray& content);
    // A file of `bytes` logical bytes that allocates nothing.
    QString sparseFile(const QString& relative, qint64 bytes);
    QString folder(const QString& relative);
    QString symlink(const QString& relative, const QString& target);
    // Sets modification and access times (not following links).
    void setTimes(const QString& relative, const QDateTime& modified, const QDateTime& accessed = {});
    // A chain of folders named "d", `depth` levels deep below `relative`, with a
    // file "f" of `bytesAtBottom` bytes in the deepest one; returns the top folder.
    QString deepChain(const QString& relative, int depth, qint64 bytesAtBottom = 0);

private:
    QTemporaryDir dir_;
};

} // namespace harborlite::test
