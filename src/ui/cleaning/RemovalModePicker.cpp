#include "ui/cleaning/RemovalModePicker.h"

#include "model/AppModel.h"

#include <QSignalBlocker>

#include <algorithm>

namespace harborlite {

QString RemovalModePicker::title(Remover::Mode mode)
{
    switch (mode) {
    case Remover::Mode::permanent:
        return QStringLiteral("Delete permanently");
    case Remover::Mode::shred:
        return QStringLiteral("Shred securely");
    case Remover::Mode::trash:
        break;
    }
    return QStringLiteral("Move to Trash");
}

RemovalModePicker::RemovalModePicker(AppModel& model, QWidget* parent)
    : QComboBox(parent)
    , model_(model)
{
    setObjectName(QStringLiteral("removalModePicker"));
    setAccessibleName(QString());
    setFixedWidth(kWidth);
    for (const Remover::Mode mode : Remover::allModes) {
        addItem(title(mode), static_cast<int>(mode));
    }
    showModelMode();
    connect(this, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (index >= 0) {
            model_.setCleanupMode(Remover::allModes[static_cast<std::size_t>(index)]);
        }
    });
    connect(&model_, &AppModel::cleanupModeChanged, this, &RemovalModePicker::showModelMode);
}

Remover::Mode RemovalModePicker::mode() const
{
    return Remover::allModes[static_cast<std::size_t>(std::max(0, currentIndex()))];
}

void RemovalModePicker::showModelMode()
{
    const QSignalBlocker blocker(this);
    setCurrentIndex(findData(static_cast<int>(model_.cleanupMode())));
}

} // namespace harborlite
