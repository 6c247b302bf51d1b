#pragma once

#include "widgets/extension/MonitorEntry.h"
#include "widgets/kit/WidgetFamily.h"
#include "widgets/kit/WidgetView.h"

#include <optional>

class QVBoxLayout;

namespace harborlite {

// What the entry views of both widgets share: the family they were made for,
// the backdrop painted over the whole widget, and a column kept inside the
// margin that each entry fills anew.
class MonitorEntryView : public EntryView<MonitorEntry> {
public:
    explicit MonitorEntryView(WidgetFamily family, QWidget* parent = nullptr);

    WidgetFamily family() const { return family_; }
    // The entry shown last; none before the first.
    const std::optional<MonitorEntry>& entry() const { return entry_; }

    void display(const MonitorEntry& entry) final;

protected:
    // Fills the empty `column` (no spacing of its own) for `entry`.
    virtual void build(QVBoxLayout* column, const MonitorEntry& entry) = 0;

    void paintEvent(QPaintEvent* event) override;

private:
    WidgetFamily family_;
    QVBoxLayout* column_;
    std::optional<MonitorEntry> entry_;
};

} // namespace harborlite
