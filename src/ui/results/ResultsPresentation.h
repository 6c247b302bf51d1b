#pragma once

#include "engine/models/CategoryResult.h"
#include "engine/models/ScanGroup.h"
#include "engine/models/ScanProgress.h"
#include "shared/PaletteRole.h"

#include <QString>

#include <optional>

// What the results list shows for the model's values, as plain data: texts,
// palette roles and flags. The widgets only draw these.
namespace harborlite::ResultsPresentation {

// A category card's header and body.
struct Section {
    enum class Cluster { running, result, idle };
    enum class Body { groups, text, nothing };

    Cluster cluster = Cluster::idle;
    // Running: the latest progress message, or "Scanning…" without one.
    QString message;
    // Result: the pill ("Clean" with a checkmark in the accent when nothing
    // was found, else the category's size in the deep accent, no symbol).
    QString pillText;
    PaletteRole pillTint = PaletteRole::accent;
    std::optional<QString> pillSymbol;
    // "Rescan" (plain) with a result, "Scan" (prominent) without; none while running.
    QString buttonTitle;
    bool buttonProminent = false;
    Body body = Body::nothing;
    // The one line under the header: the blurb, "Looking…" or "Nothing to remove here.".
    QString bodyText;
    // "Looking…" and "Nothing to remove here." are padded 8 above and below; the blurb is not.
    bool bodyPadded = false;

    bool operator==(const Section&) const = default;
};

Section section(ScanCategory category, const CategoryResult* result, bool running, const ScanProgress* progress);

// A group row's header.
struct GroupHeader {
    ScanGroup::SelectionState state = ScanGroup::SelectionState::none;
    // "Review" in the warning tint: an opt-in group with nothing selected.
    bool showsReview = false;
    // Every item of the group, selected or not, without digit grouping.
    QString count;
    QString size;

    bool operator==(const GroupHeader&) const = default;
};

GroupHeader groupHeader(const ScanGroup& group);

// The text of the "Review" pill.
QString reviewPillText();

// The button under a group's listed items while some are hidden:
// "Show <min(hidden, 200)> more of <hidden>".
struct Paging {
    int more = 0;
    int hidden = 0;
    QString title;

    bool operator==(const Paging&) const = default;
};

std::optional<Paging> paging(int itemCount, int visibleCount, int step = 200);

} // namespace harborlite::ResultsPresentation
