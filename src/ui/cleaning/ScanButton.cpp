#include "ui/cleaning/ScanButton.h"

#include "model/ScanSession.h"
#include "paint/Palette.h"

#include <algorithm>

namespace harborlite {

ScanButton::Behaviour ScanButton::scanning(ScanSession& scans, QList<ScanCategory> categories,
                                           std::function<QString()> title)
{
    Behaviour behaviour;
    behaviour.isBusy = [&scans, categories] {
        return std::ranges::any_of(categories,
                                   [&](ScanCategory category) { return scans.runningCategories().contains(category); });
    };
    behaviour.title = std::move(title);
    behaviour.start = [&scans, categories] {
        for (const ScanCategory category : categories) {
            scans.scan(category);
        }
    };
    return behaviour;
}

ScanButton::ScanButton(ScanSession& scans, Behaviour behaviour, QWidget* parent)
    : GlassCompatButton(QString(), true, Palette::accent(), parent)
    , scans_(scans)
    , behaviour_(std::move(behaviour))
{
    setObjectName(QStringLiteral("scanButton"));
    if (!behaviour_.stop) {
        behaviour_.stop = [&scans] { scans.cancelScan(); };
    }
    connect(this, &QAbstractButton::clicked, this, &ScanButton::press);
    for (auto signal :
         {&ScanSession::runningCategoriesChanged, &ScanSession::isSmartScanningChanged, &ScanSession::resultsChanged}) {
        connect(&scans_, signal, this, &ScanButton::refresh);
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
