#pragma once

#include "paint/AppTheme.h"
#include "shared/MonitorKind.h"
#include "shared/Observable.h"

#include <array>
#include <optional>
#include <vector>

namespace harborlite {

class DefaultsStore;

// The live-monitor and appearance preferences. They are read once, when the
// object is made, repairing whatever stored value is unusable with the
// preference's default (nothing is written back then); every later assignment,
// also of an equal value, writes its key at once.
class MonitorSettings : public Observable {
    Q_OBJECT

public:
    using Kinds = std::vector<MonitorKind>;

    // The three places that show monitors, each with its own list.
    enum class List {
        topBar,
        dashboard,
        menuBar,
    };

    // The refresh intervals, in seconds, that loading accepts and the Widgets
    // screen offers.
    static constexpr std::array<double, 4> intervalChoices = {1, 2, 5, 10};

    // A loaded list keeps at most this many kinds, the first ones: a list the
    // application writes holds each kind once, and the displays make a widget
    // per entry, so a hand-edited file of thousands must not reach them.
    static constexpr size_t storedListLimit = MonitorKinds::allCases.size();

    // `defaults` must outlive the settings.
    explicit MonitorSettings(DefaultsStore& defaults, QObject* parent = nullptr);

    bool showMenuBarMonitor() const { return showMenuBarMonitor_; }
    void setShowMenuBarMonitor(bool show);

    // Seconds between samples.
    double refreshInterval() const { return refreshInterval_; }
    void setRefreshInterval(double seconds);

    const Kinds& topBar() const { return kinds(List::topBar); }
    void setTopBar(Kinds kinds);
    const Kinds& dashboard() const { return kinds(List::dashboard); }
    void setDashboard(Kinds kinds);
    const Kinds& menuBar() const { return kinds(List::menuBar); }
    void setMenuBar(Kinds kinds);

    AppTheme theme() const { return theme_; }
    void setTheme(AppTheme theme);

    const Kinds& kinds(List list) const { return lists_.at(static_cast<size_t>(list)); }
    void setKinds(List list, Kinds kinds);

    // Removes the first occurrence of `kind` from the list, or appends it at
    // the end when it is absent; saves the list.
    void toggle(MonitorKind kind, List list);

    // Swaps the first occurrence of `kind` with the element `offset` places
    // away (elements between them stay). When `kind` is absent or the other
    // place lies outside the list, nothing changes and nothing is written.
    void move(MonitorKind kind, int offset, List list);

    // Assigns every default, each with its save, in the order top bar,
    // dashboard, menu bar, interval, menu-bar switch, theme.
    void resetToDefaults();

private:
    enum class Key {
        showMenuBar,
        refreshInterval,
        topBar,
        dashboard,
        menuBar,
        theme,
    };

    static QString keyName(Key key);
    static Key listKey(List list);
    static std::optional<Kinds> load(const DefaultsStore& defaults, Key key);
    void saveKinds(const Kinds& kinds, Key key);

    DefaultsStore& defaults_;
    bool showMenuBarMonitor_;
    double refreshInterval_;
    // Indexed by List.
    std::array<Kinds, 3> lists_;
    AppTheme theme_;
};

} // namespace harborlite
