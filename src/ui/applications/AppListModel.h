#pragma once

#include "engine/models/InstalledApp.h"

#include <QAbstractListModel>
#include <QList>

#include <optional>

namespace harborlite {

// The rows of the Applications list: the filtered applications in the order
// shown, and which of them is the screen's selection (matched by bundle
// identifier, so a selection survives filtering and reloading).
class AppListModel : public QAbstractListModel {
    Q_OBJECT

public:
    enum Role {
        AppRole = Qt::UserRole + 1,
        IsSelectedRole,
    };

    explicit AppListModel(QObject* parent = nullptr);

    // Replaces the rows when they differ from those shown.
    void setApps(const QList<InstalledApp>& apps);
    void setSelectedBundleID(const std::optional<QString>& bundleID);

    const QList<InstalledApp>& apps() const { return apps_; }
    std::optional<InstalledApp> app(const QModelIndex& index) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;

private:
    QList<InstalledApp> apps_;
    std::optional<QString> selected_;
};

} // namespace harborlite

Q_DECLARE_METATYPE(harborlite::InstalledApp)
