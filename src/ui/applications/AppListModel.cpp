#include "ui/applications/AppListModel.h"

namespace harborlite {

AppListModel::AppListModel(QObject* parent)
    : QAbstractListModel(parent)
{
}

void AppListModel::setApps(const QList<InstalledApp>& apps)
{
    if (apps == apps_) {
        return;
    }
    beginResetModel();
    apps_ = apps;
    endResetModel();
}

void AppListModel::setSelectedBundleID(const std::optional<QString>& bundleID)
{
    if (bundleID == selected_) {
        return;
    }
    selected_ = bundleID;
    if (!apps_.isEmpty()) {
        emit dataChanged(index(0), index(static_cast<int>(apps_.size()) - 1), {IsSelectedRole});
    }
}

std::optional<InstalledApp> AppListModel::app(const QModelIndex& index) const
{
    if (!index.isValid() || index.row() < 0 || index.row() >= apps_.size()) {
        return std::nullopt;
    }
    return apps_.at(index.row());
}

int AppListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(apps_.size());
}

QVariant AppListModel::data(const QModelIndex& index, int role) const
{
    const std::optional<InstalledApp> row = app(index);
    if (!row) {
        return {};
    }
    switch (role) {
    case AppRole:
        return QVariant::fromValue(*row);
    case IsSelectedRole:
        return selected_ && *selected_ == row->bundleID;
    case Qt::DisplayRole:
    case Qt::AccessibleTextRole:
        return row->name;
    default:
        return {};
    }
}

} // namespace harborlite
