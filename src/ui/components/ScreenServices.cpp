#include "ui/components/ScreenServices.h"

#include "platform/FileManager.h"

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
    };
}

} // namespace harborlite
