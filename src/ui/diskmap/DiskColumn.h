#pragma once

#include "ui/diskmap/DiskColumnsPresentation.h"
#include "ui/diskmap/DiskEntryModel.h"

#include <QWidget>

#include <memory>
#include <optional>

class QListView;
class QMenu;
class QStackedLayout;

namespace harborlite {

class DiskRowDelegate;
class ProgressRing;
class RoleLabel;

// One column of the disk browser: the entries of one folder, painted by a
// delegate in a list without scroll indicators (no widget per row), or a
// placeholder ("Measuring…" with a spinner, "Nothing to show", "Empty") 24
// below the top. A click on an entry, or Space or Return on the current one,
// reports it; the context menu reveals it.
class DiskColumn : public QWidget {
    Q_OBJECT

public:
    using Content = DiskColumnsPresentation::ColumnContent;

    static constexpr int kSideInset = 5;
    static constexpr int kVerticalInset = 4;
    static constexpr int kPlaceholderTop = 24;
    static constexpr int kPlaceholderSpacing = 7;
    static constexpr int kSpinnerSide = 16;
    static constexpr qreal kPlaceholderTextPixels = 11;

    // Rows are coloured against the folder's size and painted by `delegate`,
    // which must outlive the column.
    DiskColumn(DiskColumnsPresentation::NodeRef folder, DiskRowDelegate* delegate, QWidget* parent = nullptr);

    const DiskColumnsPresentation::NodeRef& folder() const { return folder_; }

    // `entries` is read only for Content::entries.
    void setContent(Content content, std::shared_ptr<const DiskEntries> entries);
    Content content() const { return content_; }
    void setSelectedUrl(std::optional<QString> url);

    QListView* list() const { return list_; }
    DiskEntryModel* entries() const { return entries_; }
    QString placeholderText() const;
    // Lays the list out at its size and scrolls it `offset` pixels down.
    void scrollListTo(int offset);
    bool isSpinning() const;

    // The context menu of a row: "Reveal in Finder".
    QMenu* makeContextMenu(int row);

signals:
    void entryClicked(const harborlite::DiskNode* entry);
    void revealRequested(const QString& path);

private:
    DiskColumnsPresentation::NodeRef folder_;
    Content content_ = Content::nothingToShow;
    QStackedLayout* stack_;
    QListView* list_;
    DiskEntryModel* entries_;
    QWidget* placeholder_;
    ProgressRing* spinner_;
    RoleLabel* placeholderLabel_;
};

} // namespace harborlite
