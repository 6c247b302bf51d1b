#include "ui/monitor/CustomizerRow.h"

#include "ui/components/GlassCompatButton.h"
#include "ui/components/RoleLabel.h"
#include "ui/components/SwitchToggle.h"
#include "ui/components/SymbolView.h"
#include "ui/theme/TypeStyle.h"

#include <QCoreApplication>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include <algorithm>

namespace harborlite {

namespace {

constexpr qreal kChevronSide = 9;

GlassCompatButton* chevron(const QString& symbol, const QString& name, QWidget* parent)
{
    auto* button = new GlassCompatButton(QString(), false, Palette::accent(), parent);
    button->setSymbol(symbol);
    button->setSymbolSide(kChevronSide);
    button->setFont(TypeStyle::font(kChevronSide, QFont::Bold));
    button->setAccessibleName(name);
    return button;
}

} // namespace

CustomizerRow::State CustomizerRow::state(MonitorKind kind, const MonitorSettings::Kinds& dashboard)
{
    const auto found = std::find(dashboard.begin(), dashboard.end(), kind);
    if (found == dashboard.end()) {
        return {};
    }
    const int index = static_cast<int>(found - dashboard.begin());
    return {true, index, index > 0, index < static_cast<int>(dashboard.size()) - 1};
}

QString CustomizerRow::caption(MonitorKind kind)
{
    switch (kind) {
    case MonitorKind::cpu:
        return QCoreApplication::translate("CustomizerRow", "Load across all cores, split by user and system time.");
    case MonitorKind::memory:
        return QCoreApplication::translate("CustomizerRow", "Application, wired and compressed memory, plus swap.");
    case MonitorKind::storage:
        return QCoreApplication::translate("CustomizerRow", "Free and used space on the startup volume.");
    case MonitorKind::network:
        return QCoreApplication::translate("CustomizerRow", "Throughput in and out across active interfaces.");
    case MonitorKind::battery:
        return QCoreApplication::translate("CustomizerRow",
                                           "Charge, cycle count and health, when a battery is present.");
    case MonitorKind::processes:
        return QCoreApplication::translate("CustomizerRow", "The five heaviest processes running right now.");
    case MonitorKind::junk:
        break;
    }
    return QCoreApplication::translate("CustomizerRow", "What the last scan found that can still be reclaimed.");
}

CustomizerRow::CustomizerRow(MonitorKind kind, QWidget* parent)
    : InnerCard(kCornerRadius, false, parent)
    , kind_(kind)
{
    setObjectName(QStringLiteral("customizerRow-") + rawValue(kind));
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(10, 7, 10, 7);
    row->setSpacing(10);

    auto* icon = new QWidget(this);
    icon->setFixedWidth(20);
    auto* iconLayout = new QHBoxLayout(icon);
    iconLayout->setContentsMargins(0, 0, 0, 0);
    auto* symbolView = new SymbolView(symbol(kind), 12, Palette::color(tint(kind)), 1, icon);
    symbolView->setObjectName(QStringLiteral("symbol"));
    iconLayout->addWidget(symbolView, 0, Qt::AlignCenter);
    row->addWidget(icon);

    auto* texts = new QVBoxLayout;
    texts->setSpacing(0);
    auto* titleLabel = new RoleLabel(title(kind), Palette::ink(), TypeStyle::rowTitle(), this);
    titleLabel->setObjectName(QStringLiteral("title"));
    auto* captionLabel = new RoleLabel(caption(kind), Palette::inkTertiary(), TypeStyle::rowDetail(), this);
    captionLabel->setObjectName(QStringLiteral("caption"));
    captionLabel->setElidedOnOneLine(true);
    captionLabel->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    texts->addWidget(titleLabel);
    texts->addWidget(captionLabel);
    row->addLayout(texts, 1);
    row->addSpacing(8);

    reorder_ = new QWidget(this);
    auto* pair = new QHBoxLayout(reorder_);
    pair->setContentsMargins(0, 0, 0, 0);
    pair->setSpacing(2);
    up_ = chevron(QStringLiteral("chevron.up"), tr("Move up"), reorder_);
    up_->setObjectName(QStringLiteral("upButton"));
    down_ = chevron(QStringLiteral("chevron.down"), tr("Move down"), reorder_);
    down_->setObjectName(QStringLiteral("downButton"));
    pair->addWidget(up_);
    pair->addWidget(down_);
    reorder_->hide();
    row->addWidget(reorder_, 0, Qt::AlignVCenter);

    switch_ = new SwitchToggle(false, SwitchToggle::ControlSize::mini, Palette::accent(), this);
    switch_->setObjectName(QStringLiteral("switch"));
    switch_->setAccessibleName(title(kind));
    row->addWidget(switch_, 0, Qt::AlignVCenter);

    connect(switch_, &SwitchToggle::flipped, this, [this] { emit toggleRequested(kind_); });
    connect(up_, &QAbstractButton::clicked, this, [this] { emit moveRequested(kind_, -1); });
    connect(down_, &QAbstractButton::clicked, this, [this] { emit moveRequested(kind_, 1); });
}

void CustomizerRow::setState(const State& state)
{
    if (state == state_) {
        return;
    }
    state_ = state;
    setHighlighted(state.isOn);
    switch_->setOn(state.isOn);
    const bool showsReorder = state.isOn && state.index.has_value();
    reorder_->setVisible(showsReorder);
    up_->setEnabled(state.canMoveUp);
    down_->setEnabled(state.canMoveDown);
}

} // namespace harborlite
