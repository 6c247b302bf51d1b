#pragma once

#include "platform/ToolTable.h"

#include <QIcon>
#include <QImage>
#include <QStringList>

#include <functional>
#include <optional>

class QObject;
class QWidget;

namespace harborlite {

// What the screens ask of the desktop besides the model: showing files in the
// file manager, the icons the desktop draws for them and its file and folder choosers.
// The root view hands the same services to every screen; tests hand in fakes.
struct ScreenServices {
    // Shows the files selected in the file manager; returns at once.
    std::function<void(const QStringList& paths)> reveal;
    // The icon the desktop shows for a file, folder or application. Never
    // waits: until the file's kind is known it is a placeholder.
    std::function<QIcon(const QString& path)> iconForFile;
    // Runs `arrived` on the GUI thread, while `context` lives, whenever icons
    // that were placeholders are known, with the paths they are for; may be
    // empty when icons never change.
    std::function<void(QObject* context, std::function<void(const QStringList& paths)> arrived)> whenIconsArrive = {};
    // The icon a desktop entry names (a theme name or a file), `side` device
    // pixels square; a null image when none is found. Safe on any thread, so
    // icons load on workers.
    std::function<QImage(const QString& iconName, int side)> applicationIcon = {};
    // Opens the chooser for files and folders together, several at once, and
    // returns at once; `chosen` gets the chosen paths in the chooser's order
    // and is not called when the chooser is closed without choosing.
    std::function<void(QWidget* parent, std::function<void(const QStringList& paths)> chosen)> chooseFiles = {};
    // Asks the user for a folder, starting in `start`; none when cancelled.
    std::function<std::optional<QString>(QWidget* parent, const QString& start)> chooseFolder = {};

    // The desktop's own file manager, icons by kind (FileIcons) and choosers.
    static ScreenServices real(platform::ToolTable tools = {});
};

} // namespace harborlite
