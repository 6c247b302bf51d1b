#pragma once

#include <QObject>
#include <QString>

#include <memory>

class QLocalServer;

namespace harborlite::platform {

// Keeps Harborlite to one running copy per user. The first copy listens on a
// local socket; a later copy finds it there, asks it to come to the front and
// leaves. A socket left behind by a copy that crashed is taken over. Both ends
// check that the other runs as the same user: a listener of another user is
// not this user's copy, and another user's request is ignored.
class SingleInstance : public QObject {
    Q_OBJECT

public:
    // The socket in the user's runtime folder, named after the user id; empty
    // when no folder private to the user can be had.
    static QString defaultSocketPath();
    // $XDG_RUNTIME_DIR when it is a folder of this user's that no one else may
    // enter; otherwise harborlite-runtime-<uid> in the temporary folder, made
    // with mode 0700 and used only when it is such a folder. Empty when neither is.
    static QString runtimeFolder();

    explicit SingleInstance(QString socketPath, QObject* parent = nullptr);
    ~SingleInstance() override;

    // True when this copy is the only one and now listens; false when another
    // copy answered and was asked to come to the front.
    bool claim();

    bool isListening() const;
    const QString& socketPath() const { return socketPath_; }

signals:
    // A later copy asked this one to come to the front.
    void raiseRequested();

private:
    static bool isPrivateFolder(const QString& path);
    bool askRunningCopy() const;
    void accept();

    QString socketPath_;
    std::unique_ptr<QLocalServer> server_;
};

} // namespace harborlite::platform
