#include "ui/cleaning/SingleCategoryScreen.h"

#include "model/ScanSession.h"
#include "ui/cleaning/ReviewState.h"
#include "ui/cleaning/ScanButton.h"
#include "ui/components/EmptyStateView.h"
#include "ui/components/HeaderRow.h"
#include "ui/components/NoticeBlock.h"
#include "ui/components/ReviewText.h"
#include "ui/components/ScreenServices.h"
#include "ui/results/ResultsList.h"

#include <QCoreApplication>

namespace harborlite {

SingleCategoryPresentation presentSingleCategory(const SingleCategorySetup& setup, const ReviewState& state)
{
    const CategoryResult* result = state.result(setup.category);
    const bool running = state.isRunning(setup.category);
    SingleCategoryPresentation shown;
    shown.scan = scanButtonLook(running, QCoreApplication::translate("SingleCategoryScreen", "Scan"));
    shown.showsSection = result || running;
    if (result && result->itemCount() > 0) {
        qint64 selectedBytes = 0;
        for (const ScanGroup& group : result->groups) {
            selectedBytes += group.selectedSize();
        }
        const int selectedCount = result->selectedCount();
        shown.actionBar =
            ActionBarLook{setup.tally == SingleCategorySetup::Tally::bytes ? ReviewText::selectedTitle(selectedBytes)
                                                                           : ReviewText::itemsSelected(selectedCount),
                          setup.barDetail,
                          QCoreApplication::translate("SingleCategoryScreen", "Remove"),
                          selectedCount > 0,
                          state.isCleaning,
                          setup.barTint};
    }
    return shown;
}

SingleCategoryScreen::SingleCategoryScreen(SingleCategorySetup setup, ScanSession& scans, MonitorFeed& feed,
                                           const ScreenServices& services, QWidget* parent)
    : ReviewScreen(scans, feed, ScreenFrameMetrics{}, parent)
    , setup_(std::move(setup))
{
    const ScanCategory category = setup_.category;
    auto* header = new HeaderRow(setup_.title, setup_.subtitle, setup_.symbol);
    scanButton_ = new ScanButton(scans, ScanButton::scanning(scans, {category}, [] { return tr("Scan"); }));
    header->addControl(scanButton_);
    frame()->addWidget(header);

    auto* notice = new NoticeBlock(setup_.notice.symbol, setup_.notice.tint, setup_.notice.text);
    notice->setObjectName(QStringLiteral("notice"));
    frame()->addWidget(notice);

    section_ = new ResultsList(scans, {category}, services);
    section_->setObjectName(QStringLiteral("categorySection"));
    frame()->addWidget(section_);

    const EmptyStateText& text = setup_.emptyState;
    empty_ = new EmptyStateView(text.symbol, text.title, text.message, text.actionTitle,
                                [&scans, category] { scans.scan(category); });
    empty_->setObjectName(QStringLiteral("emptyState"));
    empty_->setMinimumHeight(text.minimumHeight);
    frame()->addWidget(empty_);
    refresh();
}

SingleCategoryPresentation SingleCategoryScreen::presentation() const
{
    return presentSingleCategory(setup_, ReviewState::of(scans(), feed()));
}

void SingleCategoryScreen::refresh()
{
    const SingleCategoryPresentation shown = presentation();
    scanButton_->refresh();
    section_->setVisible(shown.showsSection);
    empty_->setVisible(!shown.showsSection);
    showActionBar(shown.actionBar, [this] { scans().clean({setup_.category}); });
}

} // namespace harborlite
