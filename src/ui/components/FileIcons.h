#pragma once

#include <QCache>
#include <QIcon>
#include <QImage>
#include <QObject>
#include <QSet>
#include <QString>
#include <QThreadPool>

#include <deque>
#include <memory>
#include <mutex>
#include <optional>

namespace harborlite {

// The desktop's icons for files, one per kind: a folder draws as a folder, a
// desktop entry as the application it names, an application bundle as an
// application, anything else as the icon of its MIME type (told by its name,
// never by reading it). What kind a path is, is found out on a thread of its
// own, a batch at a time; until then the path draws the placeholder. Icons are
// made once per kind. The kinds of the paths asked for last are kept, each
// with what the path held when it was looked at: a path that holds another
// entry now (a file replaced by a folder) is found so on that thread, and draws
// as before until its new kind arrives. Lives on the GUI thread.
class FileIcons : public QObject {
    Q_OBJECT

public:
    // Paths whose kinds are kept, and kinds whose icons are: past these, the
    // one asked for least recently is forgotten.
    static constexpr qsizetype kKeptPaths = 4096;
    static constexpr qsizetype kKeptKinds = 256;

    // What the entry at a path is, as far as its kind goes: which entry
    // (device and inode), its type, and when it was last written. All zero
    // when there is none.
    struct Stamp {
        quint64 device = 0;
        quint64 inode = 0;
        quint32 type = 0;
        qint64 modified = 0;

        friend bool operator==(const Stamp&, const Stamp&) = default;
    };

    // A path's kind: the key its icon is kept under, the theme icon that
    // shows it and the one to use when the theme lacks that; or, for a
    // desktop entry naming an image file, that image, read with the kind;
    // and the entry it was told from.
    struct Kind {
        QString key;
        QString iconName;
        QString fallbackName;
        QImage image;
        Stamp stamp;
    };

    explicit FileIcons(QObject* parent = nullptr);
    // Drops the paths not looked at yet and waits for the batch under way.
    ~FileIcons() override;

    FileIcons(const FileIcons&) = delete;
    FileIcons& operator=(const FileIcons&) = delete;

    // The icon of the path's kind once known, the placeholder before. Either
    // way the path is looked at in the background, unless it already waits
    // there: its kind is looked up, or, once known, looked up again when the
    // path holds another entry now, and arrived() then says so. Touches no
    // file here.
    QIcon icon(const QString& path);
    // Whether the path's kind is kept.
    bool isKnown(const QString& path) const { return kindOfPath_.contains(path); }

    // The generic file icon, drawn until a path's kind is known.
    const QIcon& placeholder() const { return placeholder_; }
    // The kind of the file at `path`; reads the file system (one lstat, and a
    // desktop entry's first lines and the image it names) and may run on any
    // thread.
    static Kind kindOf(const QString& path);
    // The entry at `path`, without following a link.
    static Stamp stampOf(const QString& path);

signals:
    // The kinds of these paths, which drew the placeholder, are known now.
    void arrived(const QStringList& paths);

private:
    void lookUp();
    // A kind for each path looked up, none for a path that still holds the
    // entry its kept kind was told from.
    void take(const QList<std::pair<QString, std::optional<Kind>>>& found);

    QIcon placeholder_;
    QThreadPool thread_;
    std::mutex mutex_;
    // Paths waiting for the thread, and whether a batch is under way; both
    // under the mutex.
    // A path waiting, with the entry its kept kind was told from when it is
    // only looked at again.
    struct Waiting {
        QString path;
        std::optional<Stamp> kept;
    };
    std::deque<Waiting> waiting_;
    bool lookingUp_ = false;
    struct Known {
        QString kind;
        Stamp stamp;
    };

    // Paths waiting for the thread, for their kinds or to be looked at again.
    QSet<QString> asked_;
    QCache<QString, Known> kindOfPath_{kKeptPaths};
    QCache<QString, QIcon> iconOfKind_{kKeptKinds};
};

} // namespace harborlite
