#pragma once

#include "model/AppModel.h"
#include "model/Route.h"
#include "ui/components/CoalescedRefresh.h"

#include <QWidget>

#include <map>
#include <optional>

class QScrollArea;
class QVBoxLayout;

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

    // The width the column opens at: what the widest title needs beside a
    // badge as wide as any is likely to be, between kIdealWidth and
    // kMaximumWidth.
    static int openingWidth();

    // The gap between sections in a list `available` tall whose titles and
    // rows take `content` with no gaps: 18, less (never below 8) when that
    // would leave the last row cut under the storage footer.
    static int sectionGap(int available, int content, int sections);
    static constexpr int kSectionGap = 18;
    static constexpr int kSmallestSectionGap = 8;
    static constexpr int kListBottomInset = 16;

    SidebarRow* row(Route route) const { return rows_.at(route); }
    StorageFooter* footer() const { return footer_; }
    QScrollArea* list() const { return scroll_; }

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void fitSections();

    void scheduleRefresh();
    void refresh();

    AppModel& model_;
    std::map<Route, SidebarRow*> rows_;
    QWidget* listContent_;
    QVBoxLayout* sections_ = nullptr;
    QScrollArea* scroll_;
    StorageFooter* footer_;
    CoalescedRefresh refresher_{this, [this] { refresh(); }};
};

} // namespace harborlite
