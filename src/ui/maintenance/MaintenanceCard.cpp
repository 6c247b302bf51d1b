#include "ui/maintenance/MaintenanceCard.h"

#include "paint/Palette.h"
#include "ui/components/ClampedLabel.h"
#include "ui/components/GlassCompatButton.h"
#include "ui/components/RoleLabel.h"
#include "ui/components/SymbolView.h"
#include "ui/theme/Symbols.h"
#include "ui/theme/TypeStyle.h"

#include <QHBoxLayout>
#include <QPainter>
#include <QVBoxLayout>

namespace harborlite {

namespace {

constexpr qreal kTaskSymbolSide = 14;
constexpr qreal kSmallSymbolSide = 10;
constexpr int kOutcomeLines = 2;

// The task's symbol in the deep accent on a mint disc.
class SymbolDisc : public QWidget {
public:
    SymbolDisc(QString symbol, QWidget* parent)
        : QWidget(parent)
        , symbol_(std::move(symbol))
    {
        setFixedSize(MaintenanceCard::kDiscSide, MaintenanceCard::kDiscSide);
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        const Appearance appearance = Palette::appearance(this);
        painter.setPen(Qt::NoPen);
        painter.setBrush(Palette::mint().resolve(appearance));
        painter.drawEllipse(QRectF(rect()));
        const QRectF square(QPointF(width() / 2.0 - kTaskSymbolSide / 2, height() / 2.0 - kTaskSymbolSide / 2),
                            QSizeF(kTaskSymbolSide, kTaskSymbolSide));
        Symbols::paint(painter, square, symbol_, Palette::accentDeep().resolve(appearance));
    }

private:
    QString symbol_;
};

QWidget* row(QWidget* parent, QHBoxLayout*& layout)
{
    auto* made = new QWidget(parent);
    layout = new QHBoxLayout(made);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(MaintenanceCard::kRowSpacing);
    return made;
}

} // namespace

MaintenanceCard::MaintenanceCard(MaintenanceTask task, std::function<void()> action, QWidget* parent)
    : GlassPanel(kCornerRadius, std::nullopt, parent)
    , task_(std::move(task))
    , action_(std::move(action))
{
    setObjectName(QStringLiteral("maintenanceCard_") + task_.id);
    setAccessibleName(task_.title);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(kPadding, kPadding, kPadding, kPadding);
    column->setSpacing(kSpacing);

    QHBoxLayout* titleLayout = nullptr;
    QWidget* titleRow = row(this, titleLayout);
    titleLayout->setSpacing(kSpacing);
    titleLayout->addWidget(new SymbolDisc(task_.symbol, titleRow), 0, Qt::AlignVCenter);
    auto* texts = new QVBoxLayout;
    texts->setSpacing(1);
    auto* title = new RoleLabel(task_.title, Palette::ink(), TypeStyle::font(13, QFont::DemiBold), titleRow);
    title->setObjectName(QStringLiteral("taskTitle"));
    title->setWordWrap(true);
    texts->addWidget(title);
    auto* estimate =
        new RoleLabel(task_.estimate, Palette::inkTertiary(), TypeStyle::font(10, QFont::Normal), titleRow);
    estimate->setObjectName(QStringLiteral("taskEstimate"));
    estimate->setWordWrap(true);
    texts->addWidget(estimate);
    titleLayout->addLayout(texts, 1);
    marker_ =
        new RoleLabel(tr("Not on this macOS"), Palette::inkTertiary(), TypeStyle::font(9, QFont::DemiBold), titleRow);
    marker_->setObjectName(QStringLiteral("unavailableMarker"));
    // The marker and the lock sit close together, leaving the title what they can.
    auto* marks = new QHBoxLayout;
    marks->setSpacing(kRowSpacing);
    marks->addWidget(marker_, 0, Qt::AlignVCenter);
    lock_ = new SymbolView(QStringLiteral("lock.fill"), kSmallSymbolSide, Palette::inkTertiary(), 1, titleRow);
    lock_->setObjectName(QStringLiteral("lock"));
    lock_->setToolTip(MaintenancePresentation::lockToolTip());
    lock_->setAccessibleName(MaintenancePresentation::lockToolTip());
    marks->addWidget(lock_, 0, Qt::AlignVCenter);
    titleLayout->addLayout(marks);
    column->addWidget(titleRow);

    auto* detail = new RoleLabel(task_.detail, Palette::inkSecondary(), TypeStyle::font(11.5, QFont::Normal), this);
    detail->setObjectName(QStringLiteral("taskDetail"));
    detail->setWordWrap(true);
    column->addWidget(detail);

    QHBoxLayout* reclaimableLayout = nullptr;
    reclaimableRow_ = row(this, reclaimableLayout);
    reclaimableRow_->setObjectName(QStringLiteral("reclaimableRow"));
    reclaimableLayout->addWidget(
        new SymbolView(QStringLiteral("internaldrive"), kSmallSymbolSide, Palette::accentDeep(), 1, reclaimableRow_), 0,
        Qt::AlignVCenter);
    reclaimable_ =
        new RoleLabel(QString(), Palette::accentDeep(), TypeStyle::font(10.5, QFont::DemiBold), reclaimableRow_);
    reclaimable_->setObjectName(QStringLiteral("reclaimable"));
    reclaimableLayout->addWidget(reclaimable_, 1);
    column->addWidget(reclaimableRow_);

    QHBoxLayout* outcomeLayout = nullptr;
    outcomeRow_ = row(this, outcomeLayout);
    outcomeRow_->setObjectName(QStringLiteral("outcomeRow"));
    successSymbol_ =
        new SymbolView(QStringLiteral("checkmark.circle.fill"), kSmallSymbolSide, Palette::accent(), 1, outcomeRow_);
    errorSymbol_ = new SymbolView(QStringLiteral("exclamationmark.triangle.fill"), kSmallSymbolSide, Palette::danger(),
                                  1, outcomeRow_);
    nothingSymbol_ =
        new SymbolView(QStringLiteral("info.circle.fill"), kSmallSymbolSide, Palette::inkTertiary(), 1, outcomeRow_);
    outcomeLayout->addWidget(successSymbol_, 0, Qt::AlignTop);
    outcomeLayout->addWidget(errorSymbol_, 0, Qt::AlignTop);
    outcomeLayout->addWidget(nothingSymbol_, 0, Qt::AlignTop);
    outcome_ = new ClampedLabel(QString(), Palette::accentDeep(), TypeStyle::font(10.5, QFont::Normal), kOutcomeLines,
                                outcomeRow_);
    outcome_->setObjectName(QStringLiteral("outcome"));
    outcomeLayout->addWidget(outcome_, 1);
    column->addWidget(outcomeRow_);

    run_ = new GlassCompatButton(QString(), true, Palette::accent(), this);
    run_->setObjectName(QStringLiteral("runButton"));
    run_->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    connect(run_, &QAbstractButton::clicked, this, [this] {
        if (action_) {
            action_();
        }
    });
    column->addStretch(1);
    column->addWidget(run_);

    setLook(MaintenancePresentation::cardLook(task_, {}));
}

void MaintenanceCard::setLook(const MaintenancePresentation::CardLook& look)
{
    look_ = look;
    marker_->setVisible(look.showsUnavailableMarker);
    // Hovering the card (its button is disabled) tells which tool is missing.
    const QString reason = look.unavailableReason.value_or(QString());
    setToolTip(reason);
    marker_->setToolTip(reason);
    setAccessibleDescription(reason);
    lock_->setVisible(look.showsLock);
    reclaimableRow_->setVisible(look.reclaimable.has_value());
    reclaimable_->setText(look.reclaimable.value_or(QString()));
    outcomeRow_->setVisible(look.outcome.has_value());
    if (look.outcome) {
        successSymbol_->setVisible(successSymbol_->symbol() == look.outcome->symbol);
        errorSymbol_->setVisible(errorSymbol_->symbol() == look.outcome->symbol);
        nothingSymbol_->setVisible(nothingSymbol_->symbol() == look.outcome->symbol);
        outcome_->setText(look.outcome->message);
        outcome_->setColor(Palette::color(look.outcome->messageRole));
    }
    run_->setText(look.buttonTitle);
    run_->setAccessibleName(look.buttonTitle);
    run_->setShowsSpinner(look.showsSpinner);
    run_->setEnabled(look.buttonEnabled);
}

} // namespace harborlite
