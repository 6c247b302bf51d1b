#pragma once

#include "engine/scanners/DiskNode.h"
#include "ui/diskmap/DiskColumnsPresentation.h"
#include "ui/diskmap/DiskEntryModel.h"

#include <QAbstractScrollArea>

#include <functional>
#include <map>
#include <memory>
#include <set>
#include <vector>

class QPropertyAnimation;

namespace harborlite {

class DiskColumn;
class DiskRowDelegate;

// The column browser of a disk map: one 258-wide column for the root and one
// for every folder of the selection path, side by side with a hairline after
// each, in a strip that scrolls sideways. Each column lists its folder's
// entries largest first with their sizes coloured by share; clicking an entry
// in column i cuts the path after i, appends the entry and, for a folder,
// asks for its listing when the map holds it without children. When the
// number of columns changes the strip scrolls (ease-out, 0.2 s) so that the
// last column ends at the trailing edge; its scroll bar is a thin knob
// without a track.
//
// The browser works over plain inputs, so any store of a disk map can feed it:
// the tree, and a Source that hands over the on-demand listings, the folders
// being listed, and takes listing and reveal requests. Call refresh() when the
// listings or the folders being listed change.
//
// Only the columns in view exist as widgets, however long the path; nothing
// walks the tree, so a tree thousands of levels deep costs what a flat one
// does. Nodes are never copied with their subtrees: the path refers into the
// tree and the listings the browser holds.
class DiskColumns : public QAbstractScrollArea {
    Q_OBJECT

public:
    using NodeRef = DiskColumnsPresentation::NodeRef;
    using Path = DiskColumnsPresentation::Path;
    using Listings = std::map<QString, std::vector<DiskNode>>;
    using Locations = std::set<QString>;

    struct Source {
        // The stored listings by folder location; read, never kept.
        std::function<const Listings&()> listings;
        // The locations whose listing is running.
        std::function<const Locations&()> listing;
        // Starts listing a folder the map holds without children. The browser
        // asks only for folders that are neither listed nor being listed.
        std::function<void(const DiskNode& folder)> expand;
        // Shows the location in the file manager.
        std::function<void(const QString& path)> reveal;
    };

    static constexpr int kColumnWidth = 258;
    static constexpr int kDividerWidth = 1;
    static constexpr int kColumnStride = kColumnWidth + kDividerWidth;
    static constexpr int kScrollMilliseconds = 200;

    DiskColumns(DiskNode root, Source source, QWidget* parent = nullptr);
    ~DiskColumns() override;

    // Browses another map from its first column; the path is emptied.
    void setRoot(DiskNode root);
    const DiskNode& root() const { return *root_; }

    // The selection chain; its nodes stay valid while they are held.
    const Path& path() const { return path_; }
    // The last node of the path, the root while the path is empty.
    const DiskNode& selectedNode() const;
    void clearPath();

    // What clicking `entry` in column `level` does; ignored unless the entry
    // (by identity) is listed in that column.
    void select(const DiskNode& entry, int level);

    // Reads the source's listings and the folders being listed again.
    void refresh();

    int columnCount() const { return static_cast<int>(parents_.size()); }
    // The column at `index` when it exists as a widget (it is in view).
    DiskColumn* column(int index) const;
    bool isScrolling() const;

    QSize sizeHint() const override;

signals:
    void pathChanged();
    // The number of columns changed and the strip began moving to the last one.
    void scrollingToNewestColumn(int target);

protected:
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    bool viewportEvent(QEvent* event) override;

private:
    struct Column {
        DiskColumnsPresentation::ColumnContent content;
        std::shared_ptr<const DiskEntries> entries;
    };

    Column evaluate(const NodeRef& folder);
    std::shared_ptr<const DiskEntries> ownEntries(const NodeRef& folder);
    std::shared_ptr<const DiskEntries> listedEntries(const QString& url, const std::vector<DiskNode>& listing);
    void choose(const std::shared_ptr<const DiskEntries>& entries, const DiskNode* entry, int level);
    // After an edit of the path: announces it and scrolls when the number of columns changed.
    void pathEdited(int columnsBefore);
    void requestListing(const DiskNode& folder);
    void updateRange();
    void placeColumns();
    DiskColumn* makeColumn(int index);
    void paintDividers();

    NodeRef root_;
    Source source_;
    Path path_;
    Path parents_;
    std::map<int, DiskColumn*> live_;
    std::map<const DiskNode*, std::shared_ptr<const DiskEntries>> ownEntries_;
    std::map<QString, std::shared_ptr<const DiskEntries>> listedEntries_;
    // Where the lists of columns out of view were scrolled, by column.
    struct ListScroll {
        NodeRef folder;
        int offset = 0;
    };
    std::map<int, ListScroll> listScroll_;
    QPropertyAnimation* scroll_;
    DiskRowDelegate* delegate_;
};

} // namespace harborlite
