#include "ui/results/ResultsPresentation.h"

#include "shared/Formatting.h"
#include "ui/components/ReviewText.h"

#include <QCoreApplication>

#include <algorithm>

namespace harborlite::ResultsPresentation {

Section section(ScanCategory category, const CategoryResult* result, bool running, const ScanProgress* progress)
{
    Section made;
    if (running) {
        made.cluster = Section::Cluster::running;
        made.message =
            progress ? progress->message : QCoreApplication::translate("ResultsPresentation", "Scanning\u2026");
    } else if (result) {
        made.cluster = Section::Cluster::result;
        if (result->itemCount() == 0) {
            made.pillText = QCoreApplication::translate("ResultsPresentation", "Clean");
            made.pillTint = PaletteRole::accent;
            made.pillSymbol = QStringLiteral("checkmark");
        } else {
            made.pillText = Format::byteText(result->totalSize());
            made.pillTint = PaletteRole::accentDeep;
        }
        made.buttonTitle = QCoreApplication::translate("ResultsPresentation", "Rescan");
        made.buttonProminent = false;
    } else {
        made.buttonTitle = QCoreApplication::translate("ResultsPresentation", "Scan");
        made.buttonProminent = true;
    }

    if (result && result->itemCount() > 0) {
        made.body = Section::Body::groups;
    } else if (result) {
        made.body = Section::Body::text;
        made.bodyText = running ? QCoreApplication::translate("ResultsPresentation", "Looking\u2026")
                                : QCoreApplication::translate("ResultsPresentation", "Nothing to remove here.");
        made.bodyPadded = true;
    } else if (!running) {
        made.body = Section::Body::text;
        made.bodyText = blurb(category);
    }
    return made;
}

QString reviewPillText()
{
    return QCoreApplication::translate("ResultsPresentation", "Review");
}

GroupHeader groupHeader(const ScanGroup& group)
{
    // One pass: a group can hold tens of thousands of items, and its header
    // is drawn on every click near it.
    qsizetype selected = 0;
    qint64 size = 0;
    for (const ScanItem& item : group.items) {
        selected += item.isSelected ? 1 : 0;
        size += item.size;
    }
    ScanGroup::SelectionState state = ScanGroup::SelectionState::none;
    if (selected > 0) {
        state = selected == group.items.size() ? ScanGroup::SelectionState::all : ScanGroup::SelectionState::partial;
    }
    return {
        .state = state,
        .showsReview = group.isOptIn && selected == 0,
        .count = ReviewText::count(group.items.size()),
        .size = Format::byteText(size),
    };
}

std::optional<Paging> paging(int itemCount, int visibleCount, int step)
{
    if (visibleCount >= itemCount) {
        return std::nullopt;
    }
    const int hidden = itemCount - visibleCount;
    const int more = std::min(hidden, step);
    return Paging{more, hidden,
                  QCoreApplication::translate("ResultsPresentation", "Show %1 more of %2")
                      .arg(ReviewText::count(more), ReviewText::count(hidden))};
}

} // namespace harborlite::ResultsPresentation
