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

void FileAndFolderChooser::open(QWidget* parent, std::function<void(const QStringList&)> chosen)
{
    auto* chooser = new FileAndFolderChooser(parent);
    chooser->setAttribute(Qt::WA_DeleteOnClose);
    connect(chooser, &QFileDialog::filesSelected, chooser,
            [chosen = std::move(chosen)](const QStringList& paths) { chosen(paths); });
    chooser->QDialog::open();
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

