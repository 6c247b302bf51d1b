#include "ui/cleaning/ScanButton.h"

#include "paint/Palette.h"
#include "model/AppModel.h"

#include <algorithm>

namespace harborlite {

ScanButton::Behaviour ScanButton::scanning(AppModel& model, QList<ScanCategory> categories,
                                           std::function<QString()> title)
{
    Behaviour behaviour;
    behaviour.isBusy = [&model, categories] {
        return std::ranges::any_of(categories,
                                   [&](ScanCategory category) { return model.runningCategories().contains(category); });
    };
    behaviour.title = std::move(title);
    behaviour.start = [&model, categories] {
        for (const ScanCategory category : categories) {
            model.scan(category);
        }
    };
    return behaviour;
}

ScanButton::ScanButton(AppModel& model, Behaviour behaviour, QWidget* parent)
    : GlassCompatButton(QString(), true, Palette::accent(), parent)
    , model_(model)
    , behaviour_(std::move(behaviour))
{
    setObjectName(QStringLiteral("scanButton"));
    if (!behaviour_.stop) {
        behaviour_.stop = [&model] { model.cancelScan(); };
    }
    connect(this, &QAbstractButton::clicked, this, &ScanButton::press);
    for (auto signal : {&AppModel::runningCategoriesChanged, &AppModel::isSmartScanningChanged,
                        &AppModel::resultsChanged}) {
        connect(&model_, signal, this, &ScanButton::refresh);
    }
    refresh();
}

void ScanButton::refresh()
{
    busy_ = behaviour_.isBusy && behaviour_.isBusy();
    const QString title = busy_ ? behaviour_.stopTitle : (behaviour_.title ? behaviour_.title() : QString());
    if (title != text()) {
        setText(title);
        setAccessibleName(title);
        updateGeometry();
    }
    setTint(busy_ ? Palette::danger() : Palette::accent());
}

void ScanButton::press()
{
    if (behaviour_.isBusy && behaviour_.isBusy()) {
        behaviour_.stop();
    } else if (behaviour_.start) {
        behaviour_.start();
    }
    refresh();
}

} // namespace harborlite
