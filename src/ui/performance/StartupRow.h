#pragma once

#include "engine/models/StartupItem.h"
#include "ui/components/InnerCard.h"

#include <QString>

#include <functional>
#include <optional>

namespace harborlite {

class RoleLabel;
class StatusPill;
class SwitchToggle;
class SymbolView;

// One launch item on a plain inner card: the scope's symbol, the label over
// a detail line (publisher and run mode, cut in the middle, the program as
// its tooltip), a "Broken" or "Unverified" pill, a lock for items that need
// an administrator, the kind and a switch. The switch shows the item's state
// and only reports a flip through `toggle`: it moves once an item with the
// new state comes back (setItem).
class StartupRow : public InnerCard {
    Q_OBJECT

public:
    static constexpr int kSpacing = 10;
    static constexpr int kPaddingX = 9;
    static constexpr int kPaddingY = 6;
    static constexpr qreal kCornerRadius = 11;
    static constexpr int kKindWidth = 86;
    static constexpr int kScopeWidth = 18;

    struct Pill {
        QString text;
        QString symbol;

        bool operator==(const Pill&) const = default;
    };

    StartupRow(StartupItem item, std::function<void(bool)> toggle, QWidget* parent = nullptr);

    static QString scopeSymbol(StartupItem::Scope scope);
    static QString kindText(StartupItem::Scope scope);
    // "Program is missing", else the run mode from the two launch flags.
    static QString stateText(const StartupItem& item);
    // The owning application and publisher (or the publisher alone), " · ",
    // the state.
    static QString detailText(const StartupItem& item);
    // "Broken" for a missing program, else "Unverified" when neither signed
    // by Apple nor validly signed; none otherwise.
    static std::optional<Pill> pill(const StartupItem& item);
    // Only items whose switch asks for an administrator's password.
    static bool showsLock(const StartupItem& item);
    static QString lockToolTip();

    const StartupItem& item() const { return item_; }
    void setItem(StartupItem item);
    SwitchToggle* toggleSwitch() const { return switch_; }

private:
    void present(const StartupItem& item);

    StartupItem item_;
    std::function<void(bool)> toggle_;
    SymbolView* scope_ = nullptr;
    RoleLabel* title_;
    RoleLabel* detail_;
    StatusPill* pill_ = nullptr;
    SymbolView* lock_ = nullptr;
    RoleLabel* kind_;
    SwitchToggle* switch_;
};

} // namespace harborlite
