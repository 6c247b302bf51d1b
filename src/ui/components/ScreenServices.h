#pragma once

#include "platform/ToolTable.h"

#include <QIcon>
#include <QStringList>

#include <functional>
#include <optional>

class QWidget;

class QObject;

namespace harborlite {

// What the screens ask of the desktop besides the model: showing files in the
// file manager, the icons the desktop draws for them and its folder chooser.
// The root view hands the same services to every screen; tests hand in fakes.
struct ScreenServices {
    // Shows the files selected in the file manager; returns at once.
    std::function<void(const QStringList& paths)> reveal;
    // The icon the desktop shows for a file, folder or application. Never
    // waits: until the file's kind is known it is a placeholder.
    std::function<QIcon(const QString& path)> iconForFile;
    // Runs `arrived` on the GUI thread, while `context` lives, whenever icons
    // that were placeholders are known; may be empty when icons never change.
    std::function<void(QObject* context, std::function<void()> arrived)> whenIconsArrive;
    // Asks the user for a folder, starting in `start`; none when cancelled.
    std::function<std::optional<QString>(QWidget* parent, const QString& start)> chooseFolder = {};

    // The desktop's own file manager, and icons by kind (FileIcons).
    static ScreenServices real(platform::ToolTable tools = {});
};

} // namespace harborlite
