#include "ui/screens/ProtectionView.h"

#include "ui/screens/ReviewState.h"

namespace harborlite {

namespace {

int knownThreats(const CategoryResult* result)
{
    if (!result) {
        return 0;
    }
    for (const ScanGroup& group : result->groups) {
        if (group.title == QLatin1String("Known Threats")) {
            return int(group.items.size());
        }
    }
    return 0;
}

} // namespace

ProtectionPresentation ProtectionPresentation::of(const ReviewState& state)
{
    const ScanCategory category = ScanCategory::malware;
    const CategoryResult* result = state.result(category);
    const bool running = state.isRunning(category);

    ProtectionPresentation shown;
    shown.threatCount = knownThreats(result);
    if (running) {
        shown.state = State::scanning;
        shown.statusSymbol = QStringLiteral("shield.lefthalf.filled");
        shown.statusTitle = QStringLiteral("Scanning your Mac");
        shown.statusMessage =
            QStringLiteral("Checking launch agents, daemons, application support folders and installed apps.");
        shown.statusTint = PaletteRole::info;
    } else if (shown.threatCount > 0) {
        shown.state = State::threatsFound;
        shown.statusSymbol = QStringLiteral("exclamationmark.shield.fill");
        shown.statusTitle = QString::number(shown.threatCount) + QStringLiteral(" threat(s) found");
        shown.statusMessage = QStringLiteral(
            "Each item below matches a documented adware family. Review the names, then remove them.");
        shown.statusTint = PaletteRole::danger;
    } else if (!result) {
        shown.state = State::notScanned;
        shown.statusSymbol = QStringLiteral("shield");
        shown.statusTitle = QStringLiteral("Not scanned yet");
        shown.statusMessage =
            QStringLiteral("Harborlite checks against a list of documented adware and browser-hijacker families, "
                           "and flags launch items that behave like persistence.");
        shown.statusTint = PaletteRole::inkTertiary;
    } else {
        shown.state = State::clean;
        shown.statusSymbol = QStringLiteral("checkmark.shield.fill");
        shown.statusTitle = QStringLiteral("No known threats");
        shown.statusMessage = QStringLiteral("Nothing on this Mac matched the signature list. Suspicious launch "
                                             "items, if any, are listed below for review.");
        shown.statusTint = PaletteRole::accent;
    }

    if (running) {
        shown.scan = {QStringLiteral("Stop Scan"), PaletteRole::danger, true};
        const auto progress = state.progress.find(category);
        shown.progressLine = progress == state.progress.end() ? QStringLiteral("Scanning\u2026")
                                                              : progress->second.message;
    } else {
        shown.scan = {result ? QStringLiteral("Scan Again") : QStringLiteral("Scan Now"), PaletteRole::accent, false};
    }
    shown.showsSection = result != nullptr;
    if (result && result->itemCount() >= 1) {
        const int selected = result->selectedCount();
        shown.actionBar = ActionBarLook{selectedItemsTitle(selected),
                                        QStringLiteral("Removed items go to the Trash unless you changed the mode "
                                                       "in Cleanup."),
                                        QStringLiteral("Remove"),
                                        selected > 0,
                                        state.isCleaning,
                                        PaletteRole::danger};
    }
    return shown;
}

} // namespace harborlite
