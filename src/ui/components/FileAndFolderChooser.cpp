#include "ui/components/FileAndFolderChooser.h"

#include <QFileInfo>

namespace harborlite {

FileAndFolderChooser::FileAndFolderChooser(QWidget* parent)
    : QFileDialog(parent)
{
    setOption(QFileDialog::DontUseNativeDialog);
    setFileMode(QFileDialog::ExistingFiles);
    setWindowModality(Qt::WindowModal);
}

FileAndFolderChooser* FileAndFolderChooser::open(QWidget* parent, const QString& start,
                                                 std::function<void(const QStringList&, const QString&)> chosen)
{
    auto* chooser = new FileAndFolderChooser(parent);
    chooser->setAttribute(Qt::WA_DeleteOnClose);
    // Without a folder of its own the dialog would show the working folder.
    chooser->setDirectory(start);
    connect(chooser, &QFileDialog::filesSelected, chooser,
            [chooser, chosen = std::move(chosen)](const QStringList& paths) {
                chosen(paths, chooser->directory().absolutePath());
            });
    chooser->QDialog::open();
    return chooser;
}

void FileAndFolderChooser::accept()
{
    const QStringList paths = selectedFiles();
    const bool allExist = !paths.isEmpty() && std::all_of(paths.begin(), paths.end(), [](const QString& path) {
        return QFileInfo::exists(path) || QFileInfo(path).isSymLink();
    });
    if (!allExist) {
        QFileDialog::accept();
        return;
    }
    // QFileDialog would go into a chosen folder rather than return it.
    emit filesSelected(paths);
    QDialog::accept();
}

} // namespace harborlite
