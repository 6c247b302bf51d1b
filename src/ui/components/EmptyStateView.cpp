#include "ui/components/EmptyStateView.h"

#include "ui/components/GlassCompatButton.h"
#include "ui/components/RoleLabel.h"
#include "ui/theme/Shapes.h"
#include "ui/theme/Symbols.h"
#include "ui/theme/TypeStyle.h"

#include <QPainter>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace harborlite {

namespace {

// The large symbol in the accent at 0.7 on a disc of mint at 0.5 that hugs the
// padded symbol.
class SymbolDisc : public QWidget {
public:
    explicit SymbolDisc(const QString& symbol)
        : symbol_(symbol)
    {
        const int side = static_cast<int>(std::ceil(EmptyStateView::kSymbolSide + 2 * EmptyStateView::kSymbolPadding));
        setFixedSize(side, side);
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        const Appearance appearance = Palette::appearance(this);
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(Qt::NoPen);
        painter.setBrush(Shapes::faded(Palette::mint().resolve(appearance), 0.5));
        painter.drawEllipse(QRectF(rect()));
        const qreal padding = EmptyStateView::kSymbolPadding;
        Symbols::paint(painter, QRectF(padding, padding, EmptyStateView::kSymbolSide, EmptyStateView::kSymbolSide),
                       symbol_, Shapes::faded(Palette::accent().resolve(appearance), 0.7));
    }

private:
    QString symbol_;
};

} // namespace

EmptyStateView::EmptyStateView(const QString& symbol, const QString& title, const QString& message,
                               std::optional<QString> actionTitle, std::function<void()> action, QWidget* parent)
    : QWidget(parent)
    , title_(new RoleLabel(title, Palette::ink(), TypeStyle::sectionTitle()))
    , message_(new RoleLabel(message, Palette::inkSecondary(), TypeStyle::font(12.5, QFont::Normal)))
{
    setAccessibleName(title);
    title_->setAlignment(Qt::AlignHCenter);
    message_->setAlignment(Qt::AlignHCenter);
    message_->setWordWrap(true);
    fitMessage(kMessageWidth);

    auto* stack = new QVBoxLayout(this);
    stack->setContentsMargins(kPadding, kPadding, kPadding, kPadding);
    stack->setSpacing(kSpacing);
    stack->addStretch(1);
    stack->addWidget(new SymbolDisc(symbol), 0, Qt::AlignHCenter);
    stack->addWidget(title_, 0, Qt::AlignHCenter);
    stack->addWidget(message_, 0, Qt::AlignHCenter);
    if (showsButton(actionTitle, action)) {
        button_ = new GlassCompatButton(*actionTitle, true, Palette::accent());
        connect(button_, &QAbstractButton::clicked, this, [action = std::move(action)] { action(); });
        stack->addSpacing(kButtonExtraTop);
        stack->addWidget(button_, 0, Qt::AlignHCenter);
    }
    stack->addStretch(1);
}

void EmptyStateView::fitMessage(int available)
{
    const int width = messageWidth(available);
    // An empty message has no height for any width (-1).
    message_->setFixedSize(width, std::max(0, message_->heightForWidth(width)));
}

int EmptyStateView::messageWidth(int available)
{
    return std::clamp(available, 0, kMessageWidth);
}

void EmptyStateView::resizeEvent(QResizeEvent* event)
{
    fitMessage(width() - 2 * kPadding);
    QWidget::resizeEvent(event);
}

bool EmptyStateView::showsButton(const std::optional<QString>& actionTitle, const std::function<void()>& action)
{
    return actionTitle.has_value() && static_cast<bool>(action);
}

} // namespace harborlite
