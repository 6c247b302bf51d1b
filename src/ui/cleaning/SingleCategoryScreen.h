#pragma once

#include "ui/cleaning/ReviewLooks.h"
#include "ui/cleaning/ReviewScreen.h"
#include "ui/components/ActionBarLook.h"

#include "engine/models/ScanCategory.h"

#include <optional>

namespace harborlite {

struct ReviewState;

// A screen over one category: header and scan button, a notice, the
// category's section (or a placeholder before its first scan) and an action
// bar while the result lists something.
struct SingleCategorySetup {
    // What the action bar's title counts.
    enum class Tally { bytes, items };

    ScanCategory category = ScanCategory::largeAndOld;
    QString title;
    QString subtitle;
    QString symbol;
    NoticeText notice;
    EmptyStateText emptyState;
    Tally tally = Tally::bytes;
    QString barDetail;
    PaletteRole barTint = PaletteRole::accent;
};

struct SingleCategoryPresentation {
    ScanButtonLook scan;
    // The category's section, else the placeholder.
    bool showsSection = false;
    std::optional<ActionBarLook> actionBar;

    bool operator==(const SingleCategoryPresentation&) const = default;
};

SingleCategoryPresentation presentSingleCategory(const SingleCategorySetup& setup, const ReviewState& state);

class EmptyStateView;
class ScanButton;
struct ScreenServices;

// The widgets of such a screen.
class SingleCategoryScreen : public ReviewScreen {
    Q_OBJECT

public:
    SingleCategoryScreen(SingleCategorySetup setup, ScanSession& scans, MonitorFeed& feed,
                         const ScreenServices& services, QWidget* parent);

    SingleCategoryPresentation presentation() const;

    ScanButton* scanButton() const { return scanButton_; }
    QWidget* section() const { return section_; }
    EmptyStateView* emptyState() const { return empty_; }

protected:
    void refresh() override;

private:
    SingleCategorySetup setup_;
    ScanButton* scanButton_;
    QWidget* section_;
    EmptyStateView* empty_;
};

} // namespace harborlite
