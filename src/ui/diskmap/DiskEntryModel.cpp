#include "ui/diskmap/DiskEntryModel.h"

#include "ui/diskmap/DiskColumnsPresentation.h"

namespace harborlite {

DiskEntryModel::DiskEntryModel(QObject* parent)
    : QAbstractListModel(parent)
{
}

void DiskEntryModel::setEntries(std::shared_ptr<const DiskEntries> entries)
{
    beginResetModel();
    entries_ = std::move(entries);
    endResetModel();
}

void DiskEntryModel::setSelectedUrl(std::optional<QString> url)
{
    if (url == selectedUrl_) {
        return;
    }
    selectedUrl_ = std::move(url);
    if (rowCount() > 0) {
        emit dataChanged(index(0), index(rowCount() - 1), {isSelectedRole});
    }
}

bool DiskEntryModel::isSelected(int row) const
{
    const DiskNode* entry = node(row);
    return entry != nullptr && selectedUrl_ && entry->url == *selectedUrl_;
}

const DiskNode* DiskEntryModel::node(int row) const
{
    if (!entries_ || row < 0 || row >= rowCount()) {
        return nullptr;
    }
    return entries_->nodes[static_cast<std::size_t>(row)];
}

int DiskEntryModel::rowCount(const QModelIndex& parent) const
{
    if (parent.isValid() || !entries_) {
        return 0;
    }
    return static_cast<int>(entries_->nodes.size());
}

QVariant DiskEntryModel::data(const QModelIndex& index, int role) const
{
    const DiskNode* entry = node(index.row());
    if (entry == nullptr) {
        return {};
    }
    switch (role) {
    case Qt::DisplayRole:
    case Qt::AccessibleTextRole:
        return DiskColumnsPresentation::displayName(entry->name);
    case Qt::ToolTipRole:
        return entry->url;
    case sizeRole:
        return entry->size;
    case isDirectoryRole:
        return entry->isDirectory;
    case isSelectedRole:
        return isSelected(index.row());
    default:
        return {};
    }
}

} // namespace harborlite
