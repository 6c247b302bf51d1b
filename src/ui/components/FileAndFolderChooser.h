#pragma once

#include <QFileDialog>

#include <functional>

namespace harborlite {

// The file chooser for files and folders together, several at once (Qt's own
// dialog picks one or the other, and no desktop's own dialog on Linux, the
// portal's included, offers both at once). Choosing with folders selected
// takes them instead of opening them; opening a folder is a double click.
class FileAndFolderChooser : public QFileDialog {
    Q_OBJECT

public:
    explicit FileAndFolderChooser(QWidget* parent = nullptr);

    // Opens a chooser over `parent`, showing the folder `start`, without
    // blocking; `chosen` gets the chosen paths in the chooser's order and the
    // folder the chooser showed when the user chooses, and the chooser
    // deletes itself when it closes.
    static FileAndFolderChooser* open(QWidget* parent, const QString& start,
                                      std::function<void(const QStringList& paths, const QString& shown)> chosen);

public slots:
    void accept() override;
};

} // namespace harborlite
