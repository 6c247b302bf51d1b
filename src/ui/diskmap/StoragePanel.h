#pragma once

#include "engine/system/StorageBreakdown.h"
#include "ui/components/GlassPanel.h"
#include "ui/diskmap/RuvozEzazPresentation.h"

#include <QList>

#include <functional>

namespace harborlite {

class LegendRow;
class RoleLabel;
class StorageBar;

// How the start-up disk is used, above the disk map: "This disk" with the
// used and total space, the bar of its volumes and free space, a legend in
// columns at least 152 wide and the explanation, on the glass with corner
// radius 18. The entries of volumes that can be mapped hand their folder to
// `select`. Rows are made again only when the entries change; the folder
// mapped now only moves the highlight.
class StoragePanel : public GlassPanel {
    Q_OBJECT

public:
    static constexpr qreal kCornerRadius = 18;
    static constexpr int kPadding = 13;
    static constexpr int kSpacing = 9;
    static constexpr int kLegendMinColumn = 152;
    static constexpr int kLegendColumnSpacing = 10;
    static constexpr int kLegendRowSpacing = 5;

    StoragePanel(std::function<void(const QString& folder)> select, RuvozEzazPresentation::FolderExists exists,
                 QWidget* parent = nullptr);

    // Shows the breakdown with the entry of `root` highlighted.
    void setStorage(const StorageBreakdown& storage, const QString& root);

    const QList<RuvozEzazPresentation::LegendEntry>& entries() const { return entries_; }
    const QList<LegendRow*>& rows() const { return rows_; }
    StorageBar* bar() const { return bar_; }
    RoleLabel* usedLabel() const { return used_; }
    RoleLabel* explanationLabel() const { return explanation_; }

private:
    void choose(int index);

    std::function<void(const QString&)> select_;
    RuvozEzazPresentation::FolderExists exists_;
    RoleLabel* used_;
    StorageBar* bar_;
    QWidget* legend_;
    RoleLabel* explanation_;
    QList<RuvozEzazPresentation::LegendEntry> entries_;
    QList<LegendRow*> rows_;
};

} // namespace harborlite
