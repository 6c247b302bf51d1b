#include "ui/cleaning/CategoryListScreen.h"

#include "model/ScanSession.h"
#include "ui/cleaning/RemovalModePicker.h"
#include "ui/cleaning/ReviewState.h"
#include "ui/cleaning/ScanButton.h"
#include "ui/components/EmptyStateView.h"
#include "ui/components/HeaderRow.h"
#include "ui/components/NoticeBlock.h"
#include "ui/components/ReviewText.h"
#include "ui/components/ScreenServices.h"
#include "ui/components/SummaryRow.h"
#include "ui/results/ResultsList.h"

namespace harborlite {

CategoryListPresentation presentCategoryList(const CategoryListSetup& setup, const ReviewState& state)
{
    const CategoryTotals totals = categoryTotals(
        state, std::span(setup.categories.constData(), static_cast<std::size_t>(setup.categories.size())));
    CategoryListPresentation shown;
    shown.totals = totals;
    const QString title = totals.hasAnyResult && setup.rescanTitle ? *setup.rescanTitle : setup.scanTitle;
    shown.scan = scanButtonLook(totals.isBusy, title);
    shown.showsList = !setup.emptyState || totals.hasAnyResult || totals.isBusy;
    if (totals.hasAnyResult) {
        shown.summary = SummaryRow::values(totals.found, totals.selected, state.diskFree);
        shown.actionBar = ActionBarLook{ReviewText::selectedTitle(totals.selected),
                                        removalDetail(RemovalModePicker::title(state.mode), ReviewText::kMiddleDot,
                                                      state.mode, totals.selectsTrashedItems),
                                        setup.buttonTitle,
                                        totals.selected > 0,
                                        state.isCleaning,
                                        PaletteRole::accent};
    }
    return shown;
}

CategoryListScreen::CategoryListScreen(CategoryListSetup setup, ScanSession& scans, MonitorFeed& feed,
                                       const ScreenServices& services, QWidget* parent)
    : ReviewScreen(scans, feed, ScreenFrameMetrics{}, parent)
    , setup_(std::move(setup))
{
    auto* header = new HeaderRow(setup_.title, setup_.subtitle, setup_.symbol);
    header->addControl(new RemovalModePicker(scans));
    ScanButton::Behaviour behaviour =
        ScanButton::scanning(scans, setup_.categories, [this] { return presentation().scan.title; });
    scanButton_ = new ScanButton(scans, std::move(behaviour));
    header->addControl(scanButton_);
    frame()->addWidget(header);

    if (setup_.notice) {
        auto* notice = new NoticeBlock(setup_.notice->symbol, setup_.notice->tint, setup_.notice->text);
        notice->setObjectName(QStringLiteral("notice"));
        frame()->addWidget(notice);
    }

    summary_ = new SummaryRow(setup_.freeTitle);
    summary_->setObjectName(QStringLiteral("summaryRow"));
    frame()->addWidget(summary_);

    list_ = new ResultsList(scans, setup_.categories, services);
    frame()->addWidget(list_);

    if (setup_.emptyState) {
        const EmptyStateText& text = *setup_.emptyState;
        empty_ = new EmptyStateView(text.symbol, text.title, text.message, text.actionTitle, [this] { scanAll(); });
        empty_->setObjectName(QStringLiteral("emptyState"));
        empty_->setMinimumHeight(text.minimumHeight);
        frame()->addWidget(empty_);
    }
    refresh();
}

CategoryListPresentation CategoryListScreen::presentation() const
{
    return presentCategoryList(setup_, ReviewState::of(scans(), feed()));
}

void CategoryListScreen::refresh()
{
    const ReviewState state = ReviewState::of(scans(), feed());
    const CategoryListPresentation shown = presentCategoryList(setup_, state);
    scanButton_->refresh();
    summary_->setVisible(shown.summary.has_value());
    if (shown.summary) {
        summary_->setValues(shown.totals.found, shown.totals.selected, state.diskFree);
    }
    list_->setVisible(shown.showsList);
    if (empty_) {
        empty_->setVisible(!shown.showsList);
    }
    showActionBar(shown.actionBar, [this] { clean(); });
}

void CategoryListScreen::scanAll()
{
    for (const ScanCategory category : setup_.categories) {
        scans().scan(category);
    }
}

void CategoryListScreen::clean()
{
    scans().clean(setup_.categories);
}

} // namespace harborlite
