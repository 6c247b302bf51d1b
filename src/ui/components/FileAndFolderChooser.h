#pragma once

#include <QFileDialog>

#include <functional>

namespace harborlite {

// The file chooser for files and folders together, several at once (Qt's own
// dialog picks one or the other). Choosing with folders selected takes them
// instead of opening them; opening a folder is a double click.
class FileAndFolderChooser : public QFileDialog {
    Q_OBJECT

public:
    explicit FileAndFolderChooser(QWidget* parent = nullptr);

    // Opens a chooser over `parent` without blocking; `chosen` gets the chosen
    // paths in the chooser's order when the user chooses, and the chooser
    // deletes itself when it closes.
    static void open(QWidget* parent, std::function<void(const QStringList& paths)> chosen);

public slots:
    void accept() override;
};

} // namespace harborlite
