#include "ui/cleaning/RemovalModePicker.h"

#include "model/ScanSession.h"

#include <QSignalBlocker>

#include <algorithm>

namespace harborlite {

QString RemovalModePicker::title(Remover::Mode mode)
{
    switch (mode) {
    case Remover::Mode::permanent:
        return tr("Delete permanently");
    case Remover::Mode::shred:
        return tr("Shred securely");
    case Remover::Mode::trash:
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
    for (const Remover::Mode mode : Remover::allModes) {
        titles.append(title(mode));
    }
    setItems(titles);
    showModelMode();
    connect(this, &PopUpPicker::currentIndexChanged, this, [this](int index) {
        if (index >= 0) {
            scans_.setCleanupMode(Remover::allModes[static_cast<std::size_t>(index)]);
        }
    });
    connect(&scans_, &ScanSession::cleanupModeChanged, this, &RemovalModePicker::showModelMode);
}

Remover::Mode RemovalModePicker::mode() const
{
    return Remover::allModes[static_cast<std::size_t>(std::max(0, currentIndex()))];
}

void RemovalModePicker::showModelMode()
{
    const QSignalBlocker blocker(this);
    const auto mode = std::find(Remover::allModes.begin(), Remover::allModes.end(), scans_.cleanupMode());
    setCurrentIndex(static_cast<int>(mode - Remover::allModes.begin()));
}

} // namespace harborlite
