#include "ui/cleaning/ShredderView.h"

#include "model/SystemTools.h"
#include "ui/cleaning/DropZone.h"
#include "ui/cleaning/ShredderPresentation.h"
#include "ui/cleaning/ShredderRow.h"
#include "ui/components/ConfirmDialog.h"
#include "ui/components/NoticeBlock.h"
#include "ui/components/PrimaryActionBar.h"
#include "ui/components/ScreenFrame.h"
#include "ui/components/ScreenHeader.h"
#include "ui/components/SheetOverlay.h"

#include <QScrollArea>

#include <QVBoxLayout>
#include <algorithm>

namespace harborlite {

namespace {

ScreenFrame::Metrics frameMetrics()
{
    ScreenFrame::Metrics metrics;
    // The column takes the whole width; only the padding keeps it off the edges.
    metrics.maxWidth = QWIDGETSIZE_MAX;
    metrics.spacing = 18;
    metrics.padding = 26;
    return metrics;
}

} // namespace

ShredderView::ShredderView(SystemTools& tools, const ScreenServices& services, QWidget* parent)
    : QWidget(parent)
    , tools_(tools)
    , services_(services)
    , frame_(new ScreenFrame(frameMetrics(), ScreenFrame::Scrolling::fixed, this))
    , dropZone_(new DropZone)
    , list_(new QScrollArea)
    , listColumn_(new QWidget)
    , rowsLayout_(new QVBoxLayout(listColumn_))
{
    setObjectName(QStringLiteral("shredderView"));
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(frame_);

    frame_->addWidget(new ScreenHeader(
        tr("Shredder"), tr("Overwrites a file's contents before deleting it, so it cannot be recovered."),
        QStringLiteral("flame")));
    auto* warning = new NoticeBlock(
        QStringLiteral("exclamationmark.octagon.fill"), PaletteRole::danger,
        tr("Shredding is permanent. Files do not go to the Trash and cannot be restored from a backup made after "
           "the fact."));
    warning->setObjectName(QStringLiteral("shredderWarning"));
    frame_->addWidget(warning);
    frame_->addWidget(dropZone_);

    list_->setObjectName(QStringLiteral("fileList"));
    list_->setFrameShape(QFrame::NoFrame);
    list_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    list_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    list_->setWidgetResizable(true);
    list_->setMaximumHeight(kListMaxHeight);
    list_->viewport()->setAutoFillBackground(false);
    rowsLayout_->setContentsMargins(0, 0, 0, 0);
    rowsLayout_->setSpacing(3);
    rowsLayout_->addStretch(1);
    list_->setWidget(listColumn_);
    listColumn_->setAutoFillBackground(false);
    list_->hide();
    frame_->addWidget(list_);
    frame_->addStretch(1);

    connect(dropZone_, &DropZone::dropped, this, &ShredderView::add);
    connect(dropZone_, &DropZone::chooseRequested, this, &ShredderView::chooseFiles);
    connect(&tools_, &SystemTools::isShreddingChanged, this, &ShredderView::refresh);
}

bool ShredderView::isShredding() const
{
    return tools_.isShredding();
}

ConfirmDialog* ShredderView::confirmation() const
{
    return confirmation_.data();
}

QList<ShredderRow*> ShredderView::rows() const
{
    return listColumn_->findChildren<ShredderRow*>(QString(), Qt::FindDirectChildrenOnly);
}

void ShredderView::chooseFiles()
{
    if (!services_.chooseFiles) {
        return;
    }
    services_.chooseFiles(this, [view = QPointer<ShredderView>(this)](const QStringList& paths) {
        if (view) {
            view->add(paths);
        }
    });
}

void ShredderView::add(const QStringList& paths)
{
    const QStringList toMeasure = targets_.add(paths);
    if (toMeasure.isEmpty()) {
        return;
    }
    refresh();
    tools_.measureLocations(
        toMeasure, this, [this](const QString& path, const std::optional<SystemTools::Measurement>& measurement) {
            targets_.measured(
                path,
                measurement ? std::optional(ShredderTargets::Measurement{measurement->size, measurement->modified})
                            : std::nullopt);
            refresh();
        });
}

void ShredderView::confirmShred()
{
    const QList<ScanItem> listed = targets_.listed();
    if (listed.isEmpty() || targets_.pendingCount() > 0 || isShredding()) {
        return;
    }
    if (confirmation_) {
        confirmation_->close();
    }
    // The dialog counts these targets, so only these are shredded: a location
    // measured while it is up waits for the next run.
    QSet<QUuid> named;
    for (const ScanItem& item : listed) {
        named.insert(item.id);
    }
    confirmation_ = new ConfirmDialog(
        ShredderPresentation::dialogTitle(listed.size()),
        tr("The contents are overwritten with random data and then deleted. There is no way to recover them "
           "afterwards."),
        ShredderPresentation::destroyButtonTitle(targets_.totalSize()), tr("Cancel"), this);
    confirmation_->setAttribute(Qt::WA_DeleteOnClose);
    connect(confirmation_, &ConfirmDialog::confirmed, this, [this, named] { shred(named); });
    SheetOverlay::present(confirmation_, this);
}

void ShredderView::shred(const QSet<QUuid>& named)
{
    QStringList locations;
    QSet<QUuid> ran;
    for (const ScanItem& item : targets_.listed()) {
        if (named.contains(item.id)) {
            locations << item.url;
            ran.insert(item.id);
        }
    }
    if (locations.isEmpty()) {
        return;
    }
    // The tools outlive the screen, so the banner shows whether or not the
    // user is still here when the run ends.
    tools_.shred(locations, [tools = &tools_, view = QPointer<ShredderView>(this), ran](const CleanupReport& report) {
        if (view) {
            view->runEnded(ran);
        }
        const ShredderPresentation::Banner banner = ShredderPresentation::banner(report);
        tools->raiseBanner(banner.title, banner.message, banner.isError);
    });
}

void ShredderView::runEnded(const QSet<QUuid>& ran)
{
    targets_.removeAll(ran);
    refresh();
}

void ShredderView::rebuildRows()
{
    const QList<ScanItem> listed = targets_.listed();
    QList<QUuid> ids;
    for (const ScanItem& item : listed) {
        ids << item.id;
    }
    if (ids == shownIds_) {
        return;
    }
    shownIds_ = ids;
    for (ShredderRow* row : rows()) {
        row->hide();
        row->deleteLater();
        row->setParent(nullptr);
    }
    for (const ScanItem& item : listed) {
        auto* row = new ShredderRow(
            item,
            [this, id = item.id] {
                targets_.remove(id);
                refresh();
            },
            services_, listColumn_);
        rowsLayout_->insertWidget(rowsLayout_->count() - 1, row);
    }
}

void ShredderView::refresh()
{
    rebuildRows();
    const QList<ScanItem> listed = targets_.listed();
    list_->setVisible(!listed.isEmpty());
    // As tall as the rows, up to the limit; longer lists scroll.
    int rowsHeight = 0;
    for (ShredderRow* row : rows()) {
        rowsHeight += row->sizeHint().height() + rowsLayout_->spacing();
    }
    list_->setFixedHeight(std::clamp(rowsHeight - rowsLayout_->spacing(), 0, kListMaxHeight));
    if (listed.isEmpty()) {
        if (bar_) {
            frame_->setBottomBar(nullptr);
            bar_ = nullptr;
        }
        return;
    }
    const QString title = ShredderPresentation::barTitle(listed.size(), targets_.totalSize());
    // Nothing is confirmed while a target is still being measured.
    const bool canConfirm = targets_.pendingCount() == 0;
    if (!bar_) {
        bar_ =
            new PrimaryActionBar(title, tr("This cannot be undone. The files will not go to the Trash."), tr("Shred"),
                                 canConfirm, isShredding(), Palette::danger(), [this] { confirmShred(); });
        bar_->setObjectName(QStringLiteral("actionBar"));
        // Pinned as the cleaning screens pin theirs: its surface lines up with
        // the cards, its shadow drawn by the frame outside it.
        frame_->setBottomBar(bar_);
    }
    bar_->setTitle(title);
    bar_->setButtonState(canConfirm, isShredding());
}

} // namespace harborlite
