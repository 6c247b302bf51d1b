#include "ui/performance/StartupRow.h"

#include "paint/Palette.h"
#include "ui/components/RoleLabel.h"
#include "ui/components/StatusPill.h"
#include "ui/components/SwitchToggle.h"
#include "ui/components/SymbolView.h"
#include "ui/theme/TypeStyle.h"

#include <QCoreApplication>
#include <QHBoxLayout>
#include <QVBoxLayout>

namespace harborlite {

namespace {

const QString separator = QStringLiteral(" \u00B7 ");

} // namespace

StartupRow::StartupRow(StartupItem item, std::function<void(bool)> toggle, QWidget* parent)
    : InnerCard(kCornerRadius, false, parent)
    , item_(std::move(item))
    , toggle_(std::move(toggle))
    , title_(new RoleLabel(QString(), Palette::ink(), TypeStyle::rowTitle()))
    , detail_(new RoleLabel(QString(), Palette::inkTertiary(), TypeStyle::rowDetail()))
    , kind_(new RoleLabel(QString(), Palette::inkTertiary(), TypeStyle::font(10, QFont::Normal)))
    , switch_(new SwitchToggle(item_.isEnabled, SwitchToggle::ControlSize::mini, Palette::accent()))
{
    setObjectName(QStringLiteral("startupRow"));
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(kPaddingX, kPaddingY, kPaddingX, kPaddingY);
    row->setSpacing(kSpacing);

    auto* scopeSlot = new QWidget;
    scopeSlot->setFixedWidth(kScopeWidth);
    auto* scopeLayout = new QHBoxLayout(scopeSlot);
    scopeLayout->setContentsMargins(0, 0, 0, 0);
    scope_ = new SymbolView(scopeSymbol(item_.scope), 12, Palette::accentDeep());
    scope_->setObjectName(QStringLiteral("scopeSymbol"));
    scopeLayout->addWidget(scope_, 0, Qt::AlignCenter);
    row->addWidget(scopeSlot, 0, Qt::AlignVCenter);

    auto* text = new QVBoxLayout;
    text->setSpacing(0);
    title_->setObjectName(QStringLiteral("title"));
    title_->setElidedOnOneLine(true);
    detail_->setObjectName(QStringLiteral("detail"));
    detail_->setElidedOnOneLine(true, Qt::ElideMiddle);
    text->addWidget(title_);
    text->addWidget(detail_);
    row->addLayout(text, 1);

    kind_->setObjectName(QStringLiteral("kind"));
    kind_->setFixedWidth(kKindWidth);
    kind_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    switch_->setObjectName(QStringLiteral("switch"));
    connect(switch_, &SwitchToggle::flipped, this, [this](bool on) {
        if (toggle_) {
            toggle_(on);
        }
    });
    present(item_);
}

QString StartupRow::scopeSymbol(StartupItem::Scope scope)
{
    switch (scope) {
    case StartupItem::Scope::userAgent:
        return QStringLiteral("person.crop.circle");
    case StartupItem::Scope::globalAgent:
        return QStringLiteral("person.2.circle");
    case StartupItem::Scope::daemon:
        return QStringLiteral("gearshape.2");
    }
    return QStringLiteral("gearshape.2");
}

QString StartupRow::kindText(StartupItem::Scope scope)
{
    switch (scope) {
    case StartupItem::Scope::userAgent:
        return QCoreApplication::translate("StartupRow", "Login item");
    case StartupItem::Scope::globalAgent:
        return QCoreApplication::translate("StartupRow", "Launch agent");
    case StartupItem::Scope::daemon:
        return QCoreApplication::translate("StartupRow", "Launch daemon");
    }
    return {};
}

QString StartupRow::stateText(const StartupItem& item)
{
    if (item.isOrphaned) {
        return QCoreApplication::translate("StartupRow", "Program is missing");
    }
    if (item.runsAtLoad) {
        return item.keepsAlive ? QCoreApplication::translate("StartupRow", "Starts at login and is kept running")
                               : QCoreApplication::translate("StartupRow", "Starts at login");
    }
    return item.keepsAlive ? QCoreApplication::translate("StartupRow", "Kept running once started")
                           : QCoreApplication::translate("StartupRow", "Starts on demand");
}

QString StartupRow::detailText(const StartupItem& item)
{
    const QString publisher = item.signature.publisher();
    const QString who = item.owningAppName ? *item.owningAppName + separator + publisher : publisher;
    return who + separator + stateText(item);
}

std::optional<StartupRow::Pill> StartupRow::pill(const StartupItem& item)
{
    if (item.isOrphaned) {
        return Pill{QCoreApplication::translate("StartupRow", "Broken"),
                    QStringLiteral("exclamationmark.triangle.fill")};
    }
    if (!item.signature.isApple && !item.signature.isValid) {
        return Pill{QCoreApplication::translate("StartupRow", "Unverified"),
                    QStringLiteral("questionmark.circle.fill")};
    }
    return std::nullopt;
}

bool StartupRow::showsLock(const StartupItem& item)
{
    return item.needsAdministrator();
}

QString StartupRow::lockToolTip()
{
    return QCoreApplication::translate("StartupRow", "Changing this needs an administrator password.");
}

void StartupRow::setItem(StartupItem item)
{
    item_ = std::move(item);
    present(item_);
}

void StartupRow::present(const StartupItem& item)
{
    auto* row = static_cast<QHBoxLayout*>(layout());
    title_->setText(item.label);
    detail_->setText(detailText(item));
    detail_->setToolTip(item.programDescription);
    kind_->setText(kindText(item.scope));
    setAccessibleName(item.label);

    // The trailing part is rebuilt: pill, lock, kind, switch. The pill and
    // the lock send nothing, so they can go at once.
    delete pill_;
    delete lock_;
    pill_ = nullptr;
    lock_ = nullptr;
    row->removeWidget(kind_);
    row->removeWidget(switch_);
    if (const std::optional<Pill> shown = pill(item)) {
        pill_ = new StatusPill(shown->text, Palette::warning(), shown->symbol);
        pill_->setObjectName(QStringLiteral("pill"));
        row->addWidget(pill_, 0, Qt::AlignVCenter);
    }
    if (showsLock(item)) {
        lock_ = new SymbolView(QStringLiteral("lock.fill"), 9, Palette::inkTertiary());
        lock_->setObjectName(QStringLiteral("lock"));
        lock_->setToolTip(lockToolTip());
        row->addWidget(lock_, 0, Qt::AlignVCenter);
    }
    row->addWidget(kind_, 0, Qt::AlignVCenter);
    row->addWidget(switch_, 0, Qt::AlignVCenter);
    switch_->setOn(item.isEnabled);
    switch_->setAccessibleName(item.label);
}

} // namespace harborlite
