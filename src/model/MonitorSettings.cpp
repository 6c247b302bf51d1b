#include "model/MonitorSettings.h"

#include "shared/DefaultsStore.h"

#include <QJsonArray>

#include <algorithm>
#include <utility>

namespace harborlite {

namespace {

constexpr double kDefaultRefreshInterval = 2;

template <size_t N>
MonitorSettings::Kinds listOf(const std::array<MonitorKind, N>& kinds)
{
    return {kinds.begin(), kinds.end()};
}

MonitorSettings::Kinds defaultKinds(MonitorSettings::List list)
{
    switch (list) {
    case MonitorSettings::List::topBar:
        return listOf(MonitorKinds::defaultTopBar);
    case MonitorSettings::List::dashboard:
        return listOf(MonitorKinds::defaultDashboard);
    case MonitorSettings::List::menuBar:
        return listOf(MonitorKinds::defaultMenuBar);
    }
    return {};
}

double offeredInterval(double stored)
{
    const auto& choices = MonitorSettings::intervalChoices;
    return std::find(choices.begin(), choices.end(), stored) != choices.end() ? stored : kDefaultRefreshInterval;
}

} // namespace

MonitorSettings::MonitorSettings(DefaultsStore& defaults, QObject* parent)
    : Observable(parent)
    , defaults_(defaults)
    , showMenuBarMonitor_(defaults.boolean(keyName(Key::showMenuBar)).value_or(true))
    , refreshInterval_(offeredInterval(defaults.doubleValue(keyName(Key::refreshInterval))))
    , lists_{load(defaults, Key::topBar).value_or(defaultKinds(List::topBar)),
             load(defaults, Key::dashboard).value_or(defaultKinds(List::dashboard)),
             load(defaults, Key::menuBar).value_or(defaultKinds(List::menuBar))}
    , theme_(appThemeFromRawValue(defaults.string(keyName(Key::theme)).value_or(QString())).value_or(AppTheme::system))
{
}

void MonitorSettings::setShowMenuBarMonitor(bool show)
{
    publish(showMenuBarMonitor_, show, [this] { defaults_.setValue(keyName(Key::showMenuBar), showMenuBarMonitor_); });
}

void MonitorSettings::setRefreshInterval(double seconds)
{
    publish(refreshInterval_, seconds, [this] { defaults_.setValue(keyName(Key::refreshInterval), refreshInterval_); });
}

void MonitorSettings::setTopBar(Kinds kinds)
{
    setKinds(List::topBar, std::move(kinds));
}

void MonitorSettings::setDashboard(Kinds kinds)
{
    setKinds(List::dashboard, std::move(kinds));
}

void MonitorSettings::setMenuBar(Kinds kinds)
{
    setKinds(List::menuBar, std::move(kinds));
}

void MonitorSettings::setTheme(AppTheme theme)
{
    publish(theme_, theme, [this] { defaults_.setValue(keyName(Key::theme), rawValue(theme_)); });
}

void MonitorSettings::setKinds(List list, Kinds kinds)
{
    Kinds& target = lists_.at(static_cast<size_t>(list));
    publish(target, std::move(kinds), [this, &target, list] { saveKinds(target, listKey(list)); });
}

void MonitorSettings::toggle(MonitorKind kind, List list)
{
    Kinds kinds = this->kinds(list);
    if (const auto found = std::find(kinds.begin(), kinds.end(), kind); found != kinds.end()) {
        kinds.erase(found);
    } else {
        kinds.push_back(kind);
    }
    setKinds(list, std::move(kinds));
}

void MonitorSettings::move(MonitorKind kind, int offset, List list)
{
    Kinds kinds = this->kinds(list);
    const auto found = std::find(kinds.begin(), kinds.end(), kind);
    if (found == kinds.end()) {
        return;
    }
    const auto index = static_cast<long long>(found - kinds.begin());
    const long long target = index + offset;
    if (target < 0 || target >= static_cast<long long>(kinds.size())) {
        return;
    }
    std::swap(kinds[static_cast<size_t>(index)], kinds[static_cast<size_t>(target)]);
    setKinds(list, std::move(kinds));
}

void MonitorSettings::resetToDefaults()
{
    setKinds(List::topBar, defaultKinds(List::topBar));
    setKinds(List::dashboard, defaultKinds(List::dashboard));
    setKinds(List::menuBar, defaultKinds(List::menuBar));
    setRefreshInterval(kDefaultRefreshInterval);
    setShowMenuBarMonitor(true);
    setTheme(AppTheme::system);
}

QString MonitorSettings::keyName(Key key)
{
    switch (key) {
    case Key::showMenuBar:
        return QStringLiteral("monitor.showMenuBar");
    case Key::refreshInterval:
        return QStringLiteral("monitor.refreshInterval");
    case Key::topBar:
        return QStringLiteral("monitor.topBar");
    case Key::dashboard:
        return QStringLiteral("monitor.dashboard");
    case Key::menuBar:
        return QStringLiteral("monitor.menuBar");
    case Key::theme:
        break;
    }
    return QStringLiteral("appearance.theme");
}

MonitorSettings::Key MonitorSettings::listKey(List list)
{
    switch (list) {
    case List::topBar:
        return Key::topBar;
    case List::dashboard:
        return Key::dashboard;
    case List::menuBar:
        break;
    }
    return Key::menuBar;
}

std::optional<MonitorSettings::Kinds> MonitorSettings::load(const DefaultsStore& defaults, Key key)
{
    const std::optional<QJsonValue> stored = defaults.object(keyName(key));
    if (!stored || !stored->isArray()) {
        return std::nullopt;
    }
    Kinds kinds;
    for (const QJsonValue& element : stored->toArray()) {
        if (!element.isString()) {
            return std::nullopt;
        }
        const std::optional<MonitorKind> kind = monitorKindFromRawValue(element.toString());
        if (kind && kinds.size() < storedListLimit) {
            kinds.push_back(*kind);
        }
    }
    if (kinds.empty()) {
        return std::nullopt;
    }
    return kinds;
}

void MonitorSettings::saveKinds(const Kinds& kinds, Key key)
{
    QJsonArray array;
    for (MonitorKind kind : kinds) {
        array.append(rawValue(kind));
    }
    defaults_.setValue(keyName(key), array);
}

} // namespace harborlite
