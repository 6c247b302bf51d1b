#pragma once

#include "engine/scanners/DiskNode.h"

#include <QAbstractListModel>

#include <memory>
#include <optional>
#include <vector>

namespace harborlite {

// A column's entries, largest first, pointing into the tree or the listing
// that `owner` keeps alive.
struct DiskEntries {
    std::shared_ptr<const void> owner;
    std::vector<const DiskNode*> nodes;
};

// The rows of one column of the disk browser: one per entry, read in place
// (nothing is copied per row). The row of the selected location is marked;
// the tooltip is the entry's full path.
class DiskEntryModel : public QAbstractListModel {
    Q_OBJECT

public:
    enum Role {
        // The entry's size in bytes.
        sizeRole = Qt::UserRole + 1,
        isDirectoryRole,
        isSelectedRole,
    };

    explicit DiskEntryModel(QObject* parent = nullptr);

    // Replaces every row.
    void setEntries(std::shared_ptr<const DiskEntries> entries);
    const std::shared_ptr<const DiskEntries>& entries() const { return entries_; }

    // The byte count the sizes are coloured against: the folder's own.
    void setTotal(qint64 total) { total_ = total; }
    qint64 total() const { return total_; }

    // Rows are selected by location, not by identity.
    void setSelectedUrl(std::optional<QString> url);
    bool isSelected(int row) const;

    const DiskNode* node(int row) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

private:
    std::shared_ptr<const DiskEntries> entries_;
    std::optional<QString> selectedUrl_;
    qint64 total_ = 0;
};

} // namespace harborlite
