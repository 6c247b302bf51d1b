#pragma once

#include "ui/components/CoalescedRefresh.h"
#include "model/AppModel.h"
#include "model/Route.h"

#include <QWidget>

#include <map>
#include <optional>

class QScrollArea;

namespace harborlite {

class SidebarRow;
class StorageFooter;

// The window's left column: the brand block, the destinations in their four
// sections with badges summing up the latest results, and the storage footer.
// Everything shown comes from the model; a click sets the model's route.
class Sidebar : public QWidget {
    Q_OBJECT

public:
    static constexpr int kMinimumWidth = 216;
    static constexpr int kIdealWidth = 232;
    static constexpr int kMaximumWidth = 280;

    explicit Sidebar(AppModel& model, QWidget* parent = nullptr);

    // The badge of a route's row for these results, if it has one.
    static std::optional<QString> badge(Route route, const AppModel::Results& results);

    SidebarRow* row(Route route) const { return rows_.at(route); }
    StorageFooter* footer() const { return footer_; }
    QScrollArea* list() const { return scroll_; }

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void scheduleRefresh();
    void refresh();

    AppModel& model_;
    std::map<Route, SidebarRow*> rows_;
    QWidget* listContent_;
    QScrollArea* scroll_;
    StorageFooter* footer_;
    CoalescedRefresh refresher_{this, [this] { refresh(); }};
};

} // namespace harborlite
