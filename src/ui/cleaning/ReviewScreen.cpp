#include "ui/cleaning/ReviewScreen.h"

#include "model/MonitorFeed.h"
#include "model/ScanSession.h"
#include "ui/components/GlassCompatButton.h"
#include "ui/components/PrimaryActionBar.h"

#include <QVBoxLayout>

namespace harborlite {

ReviewScreen::ReviewScreen(ScanSession& scans, MonitorFeed& feed, ScreenFrameMetrics metrics, QWidget* parent)
    : QWidget(parent)
    , scans_(scans)
    , feed_(feed)
    , frame_(new ScreenFrame(metrics))
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(frame_);
    for (auto changed :
         {&ScanSession::resultsChanged, &ScanSession::runningCategoriesChanged, &ScanSession::progressChanged,
          &ScanSession::isCleaningChanged, &ScanSession::cleanupModeChanged}) {
        connect(&scans_, changed, this, &ReviewScreen::scheduleRefresh);
    }
    connect(&feed_, &MonitorFeed::snapshotChanged, this, &ReviewScreen::scheduleRefresh);
}

PrimaryActionBar* ReviewScreen::actionBar() const
{
    return qobject_cast<PrimaryActionBar*>(frame_->bottomBar());
}

void ReviewScreen::scheduleRefresh()
{
    refresher_.request();
}

void ReviewScreen::showActionBar(const std::optional<ActionBarLook>& look, const std::function<void()>& action)
{
    if (!look) {
        frame_->setBottomBar(nullptr);
        return;
    }
    const AdaptiveColor& tint = Palette::color(look->tint);
    PrimaryActionBar* bar = actionBar();
    if (!bar) {
        bar = new PrimaryActionBar(look->title, look->detail, look->buttonTitle, look->isEnabled, look->isBusy, tint,
                                   action);
        bar->setObjectName(QStringLiteral("actionBar"));
        frame_->setBottomBar(bar);
        return;
    }
    bar->setTitle(look->title);
    bar->setDetail(look->detail);
    bar->setButtonState(look->isEnabled, look->isBusy);
    bar->button()->setTint(tint);
}

} // namespace harborlite
