#pragma once

#include "engine/models/InstalledApp.h"
#include "engine/models/UninstallPlan.h"
#include "ui/applications/ApplicationsPresentation.h"
#include "ui/components/CoalescedRefresh.h"
#include "ui/components/ScreenServices.h"

#include <QWidget>

#include <optional>

class QLineEdit;
class QListView;
class QSplitter;
class QStackedWidget;

namespace harborlite {

class AppIconCache;
class AppListModel;
class EmptyStateView;
class PopUpPicker;
class ScanSession;
class ScreenHeader;
class SystemTools;
class UninstallPane;

// The uninstaller's front page: the searchable, sortable list of installed
// applications beside the pane of the chosen one. The list comes from the
// tools (loaded the first time the screen shows it empty); search
// text, order, selection, plan and the planning flag are the screen's own.
// A plan is worked out on a worker and applied only while its application is
// still the selection; an uninstall is the tools' run, so a screen made anew
// shows it busy, and when it ends the list reloads and its banner is posted
// even when the screen is gone.
class ApplicationsView : public QWidget {
    Q_OBJECT

public:
    using SortOrder = ApplicationsPresentation::SortOrder;

    static constexpr int kListPaneMinimumWidth = 300;
    static constexpr int kListPaneWidth = 340;
    static constexpr int kDetailPaneMinimumWidth = 340;
    static constexpr int kPadding = 22;

    ApplicationsView(SystemTools& tools, ScanSession& scans, const ScreenServices& services, QWidget* parent = nullptr);
    ~ApplicationsView() override;

    // The row click: selects a copy of the application and works out its plan.
    void select(const InstalledApp& app);
    void buildPlan(const InstalledApp& app);
    void toggleLeftover(const QUuid& id);
    void toggleResidue(const QUuid& id);
    void uninstall(const UninstallPlan& plan);

    void setQuery(const QString& query);
    void setSort(SortOrder sort);

    const QString& query() const { return query_; }
    SortOrder sort() const { return sort_; }
    const std::optional<InstalledApp>& selection() const { return selection_; }
    const std::optional<UninstallPlan>& plan() const { return plan_; }
    bool isPlanning() const { return isPlanning_; }
    bool isRemoving() const;

    ScreenHeader* header() const { return header_; }
    QLineEdit* searchField() const { return search_; }
    PopUpPicker* sortPicker() const { return sortPicker_; }
    QWidget* loadingRow() const { return loading_; }
    QListView* list() const { return list_; }
    AppListModel* rows() const { return rows_; }
    EmptyStateView* placeholder() const { return placeholder_; }
    UninstallPane* pane() const { return pane_; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void refreshList();
    void refreshPane();
    void uninstallFinished();

    SystemTools& tools_;
    ScanSession& scans_;
    ScreenServices services_;
    QString query_;
    std::optional<InstalledApp> selection_;
    std::optional<UninstallPlan> plan_;
    bool isPlanning_ = false;
    SortOrder sort_ = SortOrder::name;

    AppIconCache* icons_;
    AppListModel* rows_;
    QSplitter* splitter_;
    ScreenHeader* header_;
    QLineEdit* search_;
    PopUpPicker* sortPicker_;
    QWidget* loading_;
    QListView* list_;
    QStackedWidget* detail_;
    EmptyStateView* placeholder_;
    UninstallPane* pane_;
    CoalescedRefresh listRefresh_;
};

} // namespace harborlite
