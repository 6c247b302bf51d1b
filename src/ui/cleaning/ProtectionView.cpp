#include "ui/cleaning/ProtectionView.h"

#include "engine/scanners/MalwareScanner.h"
#include "model/ScanSession.h"
#include "ui/cleaning/ReviewState.h"
#include "ui/cleaning/ScanButton.h"
#include "ui/components/ReviewText.h"
#include "ui/components/RoleLabel.h"
#include "ui/components/ScreenHeader.h"
#include "ui/components/ScreenServices.h"
#include "ui/results/ResultsList.h"
#include "ui/theme/GlassSurface.h"
#include "ui/theme/SoftShadow.h"
#include "ui/theme/Symbols.h"
#include "ui/theme/TypeStyle.h"

#include <QCoreApplication>
#include <QHBoxLayout>
#include <QPainter>
#include <QVBoxLayout>

namespace harborlite {

namespace {

int knownThreats(const CategoryResult* result)
{
    if (!result) {
        return 0;
    }
    for (const ScanGroup& group : result->groups) {
        if (group.title == MalwareScanner::knownThreatsTitle()) {
            return int(group.items.size());
        }
    }
    return 0;
}

// The glass card behind the shield panel, as wide as the column, with its
// shadow in a little room above and below it: the faint outer part of the
// blur is cut off rather than pushing the next element away.
class ShieldPanel : public QWidget {
public:
    ShieldPanel() { setObjectName(QStringLiteral("shieldPanel")); }

    static QMargins shadowMargins() { return QMargins(0, 4, 0, 16); }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        const Appearance appearance = Palette::appearance(this);
        const QRectF surface = QRectF(rect()).marginsRemoved(QMarginsF(shadowMargins()));
        shadow_.paint(painter, surface, ProtectionView::kPanelRadius, Palette::accentDeep().resolve(appearance));
        GlassSurface::paint(painter, surface, ProtectionView::kPanelRadius, appearance);
    }

private:
    SoftShadow shadow_{22, 0.11};
};

} // namespace

// The status emblem: the state's symbol on a disc of its tint at 0.12 ringed
// by the tint at 0.3.
class ShieldEmblem : public QWidget {
public:
    ShieldEmblem()
    {
        setObjectName(QStringLiteral("shieldEmblem"));
        setFixedSize(ProtectionView::kEmblemSide, ProtectionView::kEmblemSide);
    }

    void setState(const QString& symbol, PaletteRole tint)
    {
        if (symbol == symbol_ && tint == tint_) {
            return;
        }
        symbol_ = symbol;
        tint_ = tint;
        update();
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        const QColor tint = Palette::resolve(tint_, this);
        const QRectF disc = QRectF(rect());
        QColor fill = tint;
        fill.setAlphaF(tint.alphaF() * 0.12);
        painter.setPen(Qt::NoPen);
        painter.setBrush(fill);
        painter.drawEllipse(disc);
        QColor ring = tint;
        ring.setAlphaF(tint.alphaF() * 0.3);
        painter.setPen(QPen(ring, 2));
        painter.setBrush(Qt::NoBrush);
        painter.drawEllipse(disc.adjusted(1, 1, -1, -1));
        const qreal side = 52;
        Symbols::paint(painter, QRectF(disc.center() - QPointF(side / 2, side / 2), QSizeF(side, side)), symbol_, tint);
    }

private:
    QString symbol_;
    PaletteRole tint_ = PaletteRole::inkTertiary;
};

ProtectionPresentation ProtectionPresentation::of(const ReviewState& state)
{
    const ScanCategory category = ScanCategory::malware;
    const CategoryResult* result = state.result(category);
    const bool running = state.isRunning(category);

    ProtectionPresentation shown;
    shown.threatCount = knownThreats(result);
    if (running) {
        shown.state = State::scanning;
        shown.statusSymbol = QStringLiteral("shield.lefthalf.filled");
        shown.statusTitle = QCoreApplication::translate("ProtectionPresentation", "Scanning your Mac");
        shown.statusMessage = QCoreApplication::translate(
            "ProtectionPresentation",
            "Checking launch agents, daemons, application support folders and installed apps.");
        shown.statusTint = PaletteRole::info;
    } else if (shown.threatCount > 0) {
        shown.state = State::threatsFound;
        shown.statusSymbol = QStringLiteral("exclamationmark.shield.fill");
        shown.statusTitle = QCoreApplication::translate("ProtectionPresentation", "%1 threat(s) found")
                                .arg(QString::number(shown.threatCount));
        shown.statusMessage = QCoreApplication::translate(
            "ProtectionPresentation",
            "Each item below matches a documented adware family. Review the names, then remove them.");
        shown.statusTint = PaletteRole::danger;
    } else if (!result) {
        shown.state = State::notScanned;
        shown.statusSymbol = QStringLiteral("shield");
        shown.statusTitle = QCoreApplication::translate("ProtectionPresentation", "Not scanned yet");
        shown.statusMessage = QCoreApplication::translate(
            "ProtectionPresentation",
            "Harborlite checks against a list of documented adware and browser-hijacker families, "
            "and flags launch items that behave like persistence.");
        shown.statusTint = PaletteRole::inkTertiary;
    } else {
        shown.state = State::clean;
        shown.statusSymbol = QStringLiteral("checkmark.shield.fill");
        shown.statusTitle = QCoreApplication::translate("ProtectionPresentation", "No known threats");
        shown.statusMessage =
            QCoreApplication::translate("ProtectionPresentation",
                                        "Nothing on this Mac matched the signature list. Suspicious launch "
                                        "items, if any, are listed below for review.");
        shown.statusTint = PaletteRole::accent;
    }

    if (running) {
        shown.scan = {QCoreApplication::translate("ProtectionPresentation", "Stop Scan"), PaletteRole::danger, true};
        const auto progress = state.progress.find(category);
        shown.progressLine = progress == state.progress.end()
            ? QCoreApplication::translate("ProtectionPresentation", "Scanning\u2026")
            : progress->second.message;
    } else {
        shown.scan = {result ? QCoreApplication::translate("ProtectionPresentation", "Scan Again")
                             : QCoreApplication::translate("ProtectionPresentation", "Scan Now"),
                      PaletteRole::accent, false};
    }
    shown.showsSection = result != nullptr;
    if (result && result->itemCount() >= 1) {
        const int selected = result->selectedCount();
        shown.actionBar =
            ActionBarLook{ReviewText::itemsSelected(selected),
                          QCoreApplication::translate("ProtectionPresentation",
                                                      "Removed items go to the Trash unless you changed the mode "
                                                      "in Cleanup."),
                          QCoreApplication::translate("ProtectionPresentation", "Remove"),
                          selected > 0,
                          state.isCleaning,
                          PaletteRole::danger};
    }
    return shown;
}

ProtectionView::ProtectionView(ScanSession& scans, MonitorFeed& feed, const ScreenServices& services, QWidget* parent)
    : ReviewScreen(scans, feed, ScreenFrameMetrics{kMaxWidth, 18, 26}, parent)
{
    setObjectName(QStringLiteral("protectionView"));
    frame()->addWidget(new ScreenHeader(tr("Protection"),
                                        tr("Scans for documented macOS adware families and persistence tricks."),
                                        QStringLiteral("shield.lefthalf.filled")));

    auto* panel = new ShieldPanel;
    auto* column = new QVBoxLayout(panel);
    const QMargins room = panel->shadowMargins();
    column->setContentsMargins(room.left(), room.top() + kPanelPadding, room.right(), room.bottom() + kPanelPadding);
    column->setSpacing(kPanelSpacing);
    emblem_ = new ShieldEmblem;
    column->addWidget(emblem_, 0, Qt::AlignHCenter);

    auto* texts = new QVBoxLayout;
    texts->setSpacing(5);
    statusTitle_ = new RoleLabel(QString(), Palette::ink(), TypeStyle::font(20, QFont::Bold));
    statusTitle_->setObjectName(QStringLiteral("statusTitle"));
    statusTitle_->setAlignment(Qt::AlignHCenter);
    texts->addWidget(statusTitle_, 0, Qt::AlignHCenter);
    statusMessage_ = new RoleLabel(QString(), Palette::inkSecondary(), TypeStyle::font(12, QFont::Normal));
    statusMessage_->setObjectName(QStringLiteral("statusMessage"));
    statusMessage_->setAlignment(Qt::AlignHCenter);
    statusMessage_->setWordWrap(true);
    statusMessage_->setMaximumWidth(kMessageWidth);
    // Centred at its full width, so that it wraps at 420 rather than at its
    // one-line size.
    auto* messageRow = new QHBoxLayout;
    messageRow->addStretch(1);
    messageRow->addWidget(statusMessage_, 1 << 20);
    messageRow->addStretch(1);
    texts->addLayout(messageRow);
    column->addLayout(texts);

    ScanButton::Behaviour behaviour = ScanButton::scanning(scans, {ScanCategory::malware}, [&scans] {
        return scans.result(ScanCategory::malware) ? tr("Scan Again") : tr("Scan Now");
    });
    behaviour.stopTitle = tr("Stop Scan");
    scanButton_ = new ScanButton(scans, std::move(behaviour));
    column->addWidget(scanButton_, 0, Qt::AlignHCenter);

    progressLine_ = new RoleLabel(QString(), Palette::inkTertiary(), TypeStyle::font(11, QFont::Normal));
    progressLine_->setObjectName(QStringLiteral("progressLine"));
    progressLine_->setAlignment(Qt::AlignHCenter);
    column->addWidget(progressLine_, 0, Qt::AlignHCenter);
    frame()->addWidget(panel);

    section_ = new ResultsList(scans, {ScanCategory::malware}, services);
    section_->setObjectName(QStringLiteral("categorySection"));
    frame()->addWidget(section_);
    frame()->addStretch();
    // The panel's line shows the scan's progress.
    connect(&scans, &ScanSession::progressChanged, this, &ProtectionView::scheduleRefresh);
    refresh();
}

ProtectionPresentation ProtectionView::presentation() const
{
    return ProtectionPresentation::of(ReviewState::of(scans(), feed()));
}

void ProtectionView::refresh()
{
    const ProtectionPresentation shown = presentation();
    emblem_->setState(shown.statusSymbol, shown.statusTint);
    statusTitle_->setText(shown.statusTitle);
    statusMessage_->setText(shown.statusMessage);
    scanButton_->refresh();
    progressLine_->setVisible(shown.progressLine.has_value());
    progressLine_->setText(shown.progressLine.value_or(QString()));
    section_->setVisible(shown.showsSection);
    showActionBar(shown.actionBar, [this] { scans().clean({ScanCategory::malware}); });
}

} // namespace harborlite
