#include "ui/cleaning/RemovalModePicker.h"

#include "model/ScanSession.h"

#include <QSignalBlocker>

#include <algorithm>

namespace harborlite {

QString RemovalModePicker::title(RemovalMode mode)
{
    switch (mode) {
    case RemovalMode::permanent:
        return tr("Delete permanently");
    case RemovalMode::shred:
        return tr("Shred securely");
    case RemovalMode::trash:
        break;
    }
    return tr("Move to Trash");
}

RemovalModePicker::RemovalModePicker(ScanSession& scans, QWidget* parent)
    : PopUpPicker({}, Kind::glass, parent)
    , scans_(scans)
{
    setObjectName(QStringLiteral("removalModePicker"));
    setFixedWidth(kWidth);
    QStringList titles;
    for (const RemovalMode mode : allRemovalModes) {
        titles.append(title(mode));
    }
    setItems(titles);
    showModelMode();
    connect(this, &PopUpPicker::currentIndexChanged, this, [this](int index) {
        if (index >= 0) {
            scans_.setCleanupMode(allRemovalModes[static_cast<std::size_t>(index)]);
        }
    });
    connect(&scans_, &ScanSession::cleanupModeChanged, this, &RemovalModePicker::showModelMode);
}

RemovalMode RemovalModePicker::mode() const
{
    return allRemovalModes[static_cast<std::size_t>(std::max(0, currentIndex()))];
}

void RemovalModePicker::showModelMode()
{
    const QSignalBlocker blocker(this);
    const auto mode = std::find(allRemovalModes.begin(), allRemovalModes.end(), scans_.cleanupMode());
    setCurrentIndex(static_cast<int>(mode - allRemovalModes.begin()));
}

} // namespace harborlite
