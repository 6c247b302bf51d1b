#include "ui/monitor/UpdatesRow.h"

#include "quorvanekit/UpdateChecker.h"
#include "ui/components/GlassCompatButton.h"
#include "ui/components/RoleLabel.h"
#include "ui/components/SwitchToggle.h"
#include "ui/theme/TypeStyle.h"

#include <QCoreApplication>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include <utility>

namespace harborlite {

QString UpdatesRow::caption(const QString& version, qint64 build, const QString& host)
{
    if (host.isEmpty()) {
        return QCoreApplication::translate("UpdatesRow",
                                           "Version %1 (%2) \u00B7 this build has no update site and never checks")
            .arg(version, QString::number(build));
    }
    return QCoreApplication::translate("UpdatesRow",
                                       "Version %1 (%2) \u00B7 checks %3 once a day, sending nothing about you")
        .arg(version, QString::number(build), host);
}

UpdatesRow::UpdatesRow(UpdateChecker& updates, std::function<void()> openSheet, QWidget* parent)
    : QWidget(parent)
    , updates_(updates)
    , openSheet_(std::move(openSheet))
{
    setObjectName(QStringLiteral("updatesRow"));
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(10);

    auto* texts = new QVBoxLayout;
    texts->setSpacing(2);
    auto* title = new RoleLabel(tr("Updates"), Palette::ink(), TypeStyle::font(12, QFont::DemiBold), this);
    title->setObjectName(QStringLiteral("title"));
    caption_ = new RoleLabel(caption(updates_.currentVersion(), updates_.currentBuild(), updates_.feedURL().host()),
                             Palette::inkTertiary(), TypeStyle::font(10.5, QFont::Normal), this);
    caption_->setObjectName(QStringLiteral("caption"));
    caption_->setWordWrap(true);
    caption_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    failure_ = new RoleLabel(QString(), Palette::danger(), TypeStyle::font(10.5, QFont::Medium), this);
    failure_->setObjectName(QStringLiteral("failure"));
    failure_->setWordWrap(true);
    failure_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    failure_->hide();
    texts->addWidget(title);
    texts->addWidget(caption_);
    texts->addWidget(failure_);
    row->addLayout(texts, 1);
    row->addSpacing(8);

    automatic_ =
        new SwitchToggle(updates_.automaticallyChecks(), SwitchToggle::ControlSize::small, Palette::accent(), this);
    automatic_->setObjectName(QStringLiteral("automaticSwitch"));
    automatic_->setLabel(
        SwitchToggle::Label{tr("Check automatically"), TypeStyle::font(11, QFont::Normal), std::nullopt, QFont(), 1});
    connect(automatic_, &SwitchToggle::flipped, this, [this](bool on) { updates_.setAutomaticallyChecks(on); });
    row->addWidget(automatic_, 0, Qt::AlignVCenter);

    checkNow_ = new GlassCompatButton(tr("Check Now"), false, Palette::accent(), this);
    checkNow_->setObjectName(QStringLiteral("checkNowButton"));
    connect(checkNow_, &QAbstractButton::clicked, this, &UpdatesRow::checkNow);
    row->addWidget(checkNow_, 0, Qt::AlignVCenter);
    refresh();
}

void UpdatesRow::checkNow()
{
    updates_.clearManualResult();
    openSheet_();
    // The check runs on; the window never waits for it.
    updates_.checkNow();
}

void UpdatesRow::refresh()
{
    const bool on = updates_.automaticallyChecks();
    if (automatic_->isOn() != on) {
        automatic_->setOn(on);
    }
    const std::optional<UpdateChecker::ManualResult>& result = updates_.lastManualResult();
    const bool failed = result && result->kind == UpdateChecker::ManualResult::Kind::failed;
    const QString text = failed ? result->description : QString();
    if (failure_->text() != text) {
        failure_->setText(text);
    }
    if (failure_->isHidden() == failed) {
        failure_->setVisible(failed);
    }
}

} // namespace harborlite
