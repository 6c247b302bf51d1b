#include "ui/components/ConfirmDialog.h"

#include "ui/components/GlassCompatButton.h"
#include "ui/components/RoleLabel.h"
#include "ui/theme/ApplicationAppearance.h"
#include "ui/theme/TypeStyle.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPainter>
#include <QVBoxLayout>

namespace harborlite {

ConfirmDialog::ConfirmDialog(const QString& title, const QString& message, const QString& destructiveTitle,
                             const QString& cancelTitle, QWidget* parent)
    : QDialog(parent)
    , title_(new RoleLabel(title, Palette::ink(), TypeStyle::font(14, QFont::Bold), this))
    , message_(new RoleLabel(message, Palette::inkSecondary(), TypeStyle::font(12, QFont::Normal), this))
    , destructive_(new GlassCompatButton(destructiveTitle, true, Palette::danger(), this))
    , cancel_(new GlassCompatButton(cancelTitle, false, Palette::accent(), this))
{
    setObjectName(QStringLiteral("confirmDialog"));
    setWindowTitle(title);
    setWindowModality(Qt::WindowModal);
    setFixedWidth(kWidth);
    setSizeGripEnabled(false);
    title_->setWordWrap(true);
    message_->setWordWrap(true);
    destructive_->setObjectName(QStringLiteral("destructiveButton"));
    cancel_->setObjectName(QStringLiteral("cancelButton"));

    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(kPadding, kPadding, kPadding, kPadding);
    column->setSpacing(kSpacing);
    column->addWidget(title_);
    column->addWidget(message_);
    column->addSpacing(kSpacing);
    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(8);
    buttons->addStretch(1);
    buttons->addWidget(destructive_);
    buttons->addWidget(cancel_);
    column->addLayout(buttons);

    connect(destructive_, &QAbstractButton::clicked, this, [this] {
        accept();
        emit confirmed();
    });
    connect(cancel_, &QAbstractButton::clicked, this, &QDialog::reject);
}

void ConfirmDialog::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void ConfirmDialog::showEvent(QShowEvent* event)
{
    setPalette(ApplicationAppearance::qtPalette(Palette::appearance(this)));
    QDialog::showEvent(event);
}

void ConfirmDialog::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), Palette::canvas().resolve(Palette::appearance(this)));
}

} // namespace harborlite
