#include "ui/updates/UpdateBanner.h"

#include "model/AppModel.h"
#include "paint/Palette.h"
#include "ui/components/GlassCompatButton.h"
#include "ui/components/PlainSymbolButton.h"
#include "ui/components/RoleLabel.h"
#include "ui/theme/GlassSurface.h"
#include "ui/theme/TypeStyle.h"
#include "ui/updates/UpdateTile.h"

#include <QHBoxLayout>
#include <QPainter>
#include <QVBoxLayout>

namespace harborlite {

UpdateBanner::UpdateBanner(const AppUpdate& update, AppModel& model, QWidget* parent)
    : QWidget(parent)
    , update_(update)
    , model_(model)
{
    setObjectName(QStringLiteral("updateBanner"));
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(14, 11, 14, 11);
    row->setSpacing(13);

    auto* texts = new QVBoxLayout;
    texts->setSpacing(2);
    title_ = new RoleLabel(title(update_), Palette::ink(), TypeStyle::font(13, QFont::DemiBold), this);
    title_->setObjectName(QStringLiteral("updateBannerTitle"));
    message_ = new RoleLabel(message(update_), Palette::inkSecondary(), TypeStyle::font(11, QFont::Normal), this);
    message_->setObjectName(QStringLiteral("updateBannerMessage"));
    message_->setElidedOnOneLine(true);
    texts->addWidget(title_);
    texts->addWidget(message_);

    whatsNew_ = new GlassCompatButton(tr("What's New"), false, Palette::accent(), this);
    whatsNew_->setObjectName(QStringLiteral("whatsNewButton"));
    download_ = new GlassCompatButton(tr("Download"), true, Palette::accent(), this);
    download_->setObjectName(QStringLiteral("downloadButton"));
    close_ = new PlainSymbolButton(QStringLiteral("xmark"), 10, Palette::inkTertiary(), this);
    close_->setObjectName(QStringLiteral("remindLaterButton"));
    close_->setToolTip(tr("Remind me later"));
    close_->setAccessibleName(close_->toolTip());

    row->addWidget(new UpdateTile(10, 34, 17, this), 0, Qt::AlignVCenter);
    row->addLayout(texts, 1);
    row->addWidget(whatsNew_, 0, Qt::AlignVCenter);
    row->addWidget(download_, 0, Qt::AlignVCenter);
    row->addWidget(close_, 0, Qt::AlignVCenter);

    connect(whatsNew_, &QAbstractButton::clicked, this, [this] { model_.setShowUpdateSheet(true); });
    connect(download_, &QAbstractButton::clicked, this, [this] { model_.updates().openDownload(update_); });
    connect(close_, &QAbstractButton::clicked, this, [this] { model_.updates().remindLater(); });
}

QString UpdateBanner::title(const AppUpdate& update)
{
    return tr("Harborlite %1 is available").arg(update.version);
}

QString UpdateBanner::message(const AppUpdate& update)
{
    if (update.notes.isEmpty()) {
        return tr("A new version of Harborlite is ready to download.");
    }
    return update.notes.first();
}

void UpdateBanner::setUpdate(const AppUpdate& update)
{
    update_ = update;
    title_->setText(title(update_));
    message_->setText(message(update_));
}

void UpdateBanner::paintEvent(QPaintEvent*)
{
    const Appearance appearance = Palette::appearance(this);
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    GlassSurface::paint(painter, rect(), kCornerRadius, appearance, Palette::accent().resolve(appearance));
}

} // namespace harborlite
