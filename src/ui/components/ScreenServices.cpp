#include "ui/components/ScreenServices.h"

#include "platform/FileManager.h"
#include "ui/components/FileIcons.h"

#include <QFileDialog>

#include <memory>

namespace harborlite {

ScreenServices ScreenServices::real(platform::ToolTable tools)
{
    auto icons = std::make_shared<FileIcons>();
    return {
        .reveal = [tools = std::move(tools)](const QStringList& paths) { platform::revealInFileManager(paths, tools); },
        .iconForFile = [icons](const QString& path) { return icons->icon(path); },
        .whenIconsArrive =
            [icons](QObject* context, std::function<void()> arrived) {
                QObject::connect(icons.get(), &FileIcons::arrived, context, std::move(arrived));
            },
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
