#include "ui/components/ScreenServices.h"

#include "platform/FileManager.h"

#include <QFileDialog>
#include <QFileIconProvider>
#include <QFileInfo>

#include <memory>

namespace harborlite {

ScreenServices ScreenServices::real(platform::ToolTable tools)
{
    auto icons = std::make_shared<QFileIconProvider>();
    return {
        .reveal = [tools = std::move(tools)](const QStringList& paths) { platform::revealInFileManager(paths, tools); },
        .iconForFile = [icons](const QString& path) { return icons->icon(QFileInfo(path)); },
        .chooseFolder = [](QWidget* parent, const QString& start) -> std::optional<QString> {
            const QString chosen = QFileDialog::getExistingDirectory(parent, QString(), start,
                                                                     QFileDialog::ShowDirsOnly);
            if (chosen.isEmpty()) {
                return std::nullopt;
            }
            return chosen;
        },
    };
}

} // namespace harborlite
