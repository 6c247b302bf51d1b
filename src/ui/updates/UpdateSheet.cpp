#include "ui/updates/UpdateSheet.h"

#include "ui/components/CheckBoxStyle.h"

#include "model/AppModel.h"
#include "paint/Palette.h"
#include "ui/components/GlassCompatButton.h"
#include "ui/components/InnerCard.h"
#include "ui/components/ProgressRing.h"
#include "ui/components/RoleLabel.h"
#include "ui/components/SymbolView.h"
#include "ui/theme/ApplicationAppearance.h"
#include "ui/theme/Shapes.h"
#include "ui/theme/TypeStyle.h"
#include "ui/updates/UpdateTile.h"

#include <QCheckBox>
#include <QFrame>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPainter>
#include <QTimer>
#include <QVBoxLayout>

namespace harborlite {

namespace {

constexpr int kPadding = 24;
constexpr int kSpacing = 18;
constexpr qreal kBadgeSide = 52;

// A filled circle with a symbol (or a spinner) centred on it.
class StatusBadge : public QWidget {
public:
    StatusBadge(const std::optional<QString>& symbol, QWidget* parent)
        : QWidget(parent)
    {
        setFixedSize(static_cast<int>(kBadgeSide), static_cast<int>(kBadgeSide));
        auto* box = new QVBoxLayout(this);
        box->setContentsMargins(0, 0, 0, 0);
        if (symbol) {
            box->addWidget(new SymbolView(*symbol, 22, Palette::accentDeep(), 1, this), 0, Qt::AlignCenter);
        } else {
            auto* spinner = new ProgressRing(0, 2.5, true, this);
            spinner->setObjectName(QStringLiteral("checkingSpinner"));
            spinner->setFixedSize(20, 20);
            box->addWidget(spinner, 0, Qt::AlignCenter);
        }
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(Qt::NoPen);
        painter.setBrush(Palette::mint().resolve(Palette::appearance(this)));
        painter.drawEllipse(rect());
    }
};

// A step's number, white on an accent disc.
class StepNumber : public QWidget {
public:
    StepNumber(int number, QWidget* parent)
        : QWidget(parent)
        , number_(number)
    {
        setFixedSize(20, 20);
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(Qt::NoPen);
        painter.setBrush(Palette::accent().resolve(Palette::appearance(this)));
        painter.drawEllipse(rect());
        painter.setPen(Qt::white);
        painter.setFont(TypeStyle::font(11, QFont::Bold));
        painter.drawText(rect(), Qt::AlignCenter, QString::number(number_));
    }

private:
    int number_;
};

// A text button drawn as a link: accent text, underlined under the pointer.
class LinkButton : public QAbstractButton {
public:
    LinkButton(const QString& title, QWidget* parent)
        : QAbstractButton(parent)
    {
        setText(title);
        setFont(TypeStyle::font(11, QFont::Normal));
        setCursor(Qt::PointingHandCursor);
        setAttribute(Qt::WA_Hover);
    }

    QSize sizeHint() const override
    {
        const QFontMetrics metrics(font());
        return {metrics.horizontalAdvance(text()) + 4, metrics.height() + 4};
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        QFont drawn = font();
        drawn.setUnderline(underMouse());
        painter.setFont(drawn);
        painter.setPen(Palette::accent().resolve(Palette::appearance(this)));
        painter.drawText(rect(), Qt::AlignCenter, text());
    }
};

RoleLabel* caption(const QString& text, QWidget* parent)
{
    QFont font = TypeStyle::font(9.5, QFont::ExtraBold);
    font.setLetterSpacing(QFont::AbsoluteSpacing, 0.8);
    return new RoleLabel(text, Palette::inkTertiary(), font, parent);
}

RoleLabel* wrapping(const QString& text, const AdaptiveColor& color, const QFont& font, QWidget* parent)
{
    auto* label = new RoleLabel(text, color, font, parent);
    label->setWordWrap(true);
    label->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Minimum);
    return label;
}

QHBoxLayout* step(int number, const QString& text, QWidget* parent)
{
    auto* row = new QHBoxLayout;
    row->setSpacing(10);
    row->addWidget(new StepNumber(number, parent), 0, Qt::AlignTop);
    auto* label = wrapping(text, Palette::ink(), TypeStyle::font(12, QFont::Normal), parent);
    // Level with the number's centre.
    label->setContentsMargins(0, 2, 0, 0);
    row->addWidget(label, 1);
    return row;
}

} // namespace

UpdateSheet::Content UpdateSheet::content(const UpdateChecker& updates)
{
    Content made;
    if (updates.available()) {
        made.state = State::available;
        made.update = updates.available();
        return made;
    }
    if (updates.isChecking()) {
        made.state = State::checking;
        made.title = tr("Checking for updates\u2026");
        made.detail = tr("Asking %1 for the latest version.").arg(updates.feedURL().host());
        return made;
    }
    if (updates.feedURL().isEmpty()) {
        made.state = State::noSite;
        made.symbol = QStringLiteral("info.circle.fill");
        made.title = tr("This build has no update site");
        made.detail = tr("Harborlite %1 (%2) was built without an update site, so it never checks for updates. "
                         "New versions come from wherever you installed it.")
                          .arg(updates.currentVersion(), QString::number(updates.currentBuild()));
        return made;
    }
    const auto& manual = updates.lastManualResult();
    if (manual && manual->kind == UpdateChecker::ManualResult::Kind::failed) {
        made.state = State::failed;
        made.symbol = QStringLiteral("wifi.exclamationmark");
        made.title = tr("Could not check for updates");
        made.detail = manual->description;
        return made;
    }
    made.state = State::upToDate;
    made.symbol = QStringLiteral("checkmark.seal.fill");
    made.title = tr("Harborlite is up to date");
    made.detail = tr("You have version %1 (%2), the latest there is.")
                      .arg(updates.currentVersion(), QString::number(updates.currentBuild()));
    return made;
}

QString UpdateSheet::installedLine(const QString& currentVersion, qint64 currentBuild, const AppUpdate& update)
{
    if (update.releasedAt) {
        return tr("You have %1 (%2) \u00B7 released %3")
            .arg(currentVersion, QString::number(currentBuild), *update.releasedAt);
    }
    return tr("You have %1 (%2)").arg(currentVersion, QString::number(currentBuild));
}

UpdateSheet::UpdateSheet(AppModel& model, UpdateChecker& updates, std::function<void()> onClose, QWidget* parent)
    : QDialog(parent)
    , updates_(updates)
    , onClose_(std::move(onClose))
{
    Q_UNUSED(model);
    setObjectName(QStringLiteral("updateSheet"));
    setWindowTitle(tr("Software Update"));
    setWindowModality(Qt::WindowModal);
    setFixedWidth(kWidth);
    setSizeGripEnabled(false);

    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(kPadding, kPadding, kPadding, kPadding);
    column->setSpacing(kSpacing);
    column->setSizeConstraint(QLayout::SetFixedSize);
    stateBox_ = new QVBoxLayout;
    stateBox_->setContentsMargins(0, 0, 0, 0);
    column->addLayout(stateBox_);

    auto* divider = new QFrame(this);
    divider->setFrameShape(QFrame::HLine);
    divider->setFrameShadow(QFrame::Plain);
    divider->setFixedHeight(1);
    divider->setStyleSheet(QStringLiteral("color: rgba(128, 128, 128, 70);"));
    column->addWidget(divider);

    auto* footer = new QHBoxLayout;
    automatic_ = new QCheckBox(tr("Check for updates automatically"), this);
    automatic_->setObjectName(QStringLiteral("automaticCheckBox"));
    automatic_->setFont(TypeStyle::font(11.5, QFont::Normal));
    CheckBoxStyle::apply(automatic_);
    automatic_->setChecked(updates_.automaticallyChecks());
    connect(automatic_, &QCheckBox::toggled, this, [this](bool on) { updates_.setAutomaticallyChecks(on); });
    close_ = new GlassCompatButton(tr("Close"), false, Palette::accent(), this);
    close_->setObjectName(QStringLiteral("closeButton"));
    connect(close_, &QAbstractButton::clicked, this, [this] { reject(); });
    footer->addWidget(automatic_);
    footer->addStretch(1);
    footer->addWidget(close_);
    column->addLayout(footer);

    connect(&updates_, &Observable::didChange, this, &UpdateSheet::scheduleRefresh);
    refresh();
}

void UpdateSheet::scheduleRefresh()
{
    refresher_.request();
}

void UpdateSheet::refresh()
{
    {
        const QSignalBlocker quiet(automatic_);
        automatic_->setChecked(updates_.automaticallyChecks());
    }
    Content next = content(updates_);
    if (built_ && next == shown_) {
        return;
    }
    rebuild(next);
    shown_ = std::move(next);
    built_ = true;
}

void UpdateSheet::rebuild(const Content& next)
{
    delete stateWidget_;
    download_ = nullptr;
    releaseNotes_ = nullptr;
    skip_ = nullptr;
    stateWidget_ = next.state == State::available ? buildAvailable(*next.update) : buildStatus(next);
    stateBox_->addWidget(stateWidget_);
}

QWidget* UpdateSheet::buildStatus(const Content& shown)
{
    auto* block = new QWidget(this);
    block->setObjectName(QStringLiteral("statusBlock"));
    auto* row = new QHBoxLayout(block);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(14);
    row->addWidget(new StatusBadge(shown.symbol, block), 0, Qt::AlignVCenter);
    auto* texts = new QVBoxLayout;
    texts->setSpacing(3);
    auto* title = new RoleLabel(shown.title, Palette::ink(), TypeStyle::font(17, QFont::Bold), block);
    title->setObjectName(QStringLiteral("statusTitle"));
    auto* detail = wrapping(shown.detail, Palette::inkSecondary(), TypeStyle::font(11.5, QFont::Normal), block);
    detail->setObjectName(QStringLiteral("statusDetail"));
    texts->addWidget(title);
    texts->addWidget(detail);
    row->addLayout(texts, 1);
    block->setFixedWidth(kWidth - 2 * kPadding);
    return block;
}

QWidget* UpdateSheet::buildAvailable(const AppUpdate& update)
{
    auto* block = new QWidget(this);
    block->setObjectName(QStringLiteral("availableBlock"));
    block->setFixedWidth(kWidth - 2 * kPadding);
    auto* column = new QVBoxLayout(block);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(16);

    auto* header = new QHBoxLayout;
    header->setSpacing(14);
    header->addWidget(new UpdateTile(14, 52, 26, block), 0, Qt::AlignVCenter);
    auto* headerTexts = new QVBoxLayout;
    headerTexts->setSpacing(3);
    auto* title = new RoleLabel(tr("Harborlite %1 is available").arg(update.version), Palette::ink(),
                                TypeStyle::font(18, QFont::Bold), block);
    title->setObjectName(QStringLiteral("availableTitle"));
    auto* installed = new RoleLabel(installedLine(updates_.currentVersion(), updates_.currentBuild(), update),
                                    Palette::inkSecondary(), TypeStyle::font(11.5, QFont::Normal), block);
    installed->setObjectName(QStringLiteral("installedLine"));
    headerTexts->addWidget(title);
    headerTexts->addWidget(installed);
    header->addLayout(headerTexts, 1);
    column->addLayout(header);

    if (!update.notes.isEmpty()) {
        auto* card = new InnerCard(14, false, block);
        card->setObjectName(QStringLiteral("whatsNew"));
        auto* notes = new QVBoxLayout(card);
        notes->setContentsMargins(14, 14, 14, 14);
        notes->setSpacing(7);
        notes->addWidget(caption(tr("WHAT'S NEW"), card));
        for (const QString& note : update.notes) {
            auto* row = new QHBoxLayout;
            row->setSpacing(8);
            auto* mark = new SymbolView(QStringLiteral("checkmark"), 9, Palette::accent(), 1, card);
            // Level with the note's first line.
            auto* markBox = new QVBoxLayout;
            markBox->setContentsMargins(0, 4, 0, 0);
            markBox->addWidget(mark);
            markBox->addStretch(1);
            row->addLayout(markBox);
            row->addWidget(wrapping(note, Palette::ink(), TypeStyle::font(12, QFont::Normal), card), 1);
            notes->addLayout(row);
        }
        column->addWidget(card);
    }

    auto* how = new QVBoxLayout;
    how->setSpacing(8);
    how->addWidget(caption(tr("HOW TO UPDATE"), block));
    how->addLayout(step(1, tr("Download the new version below."), block));
    how->addLayout(step(2, tr("Quit Harborlite (\u2318Q)."), block));
    how->addLayout(step(3, tr("Open the download and drag Harborlite into Applications, choosing Replace."), block));
    column->addLayout(how);

    auto* actions = new QHBoxLayout;
    actions->setSpacing(10);
    download_ = new GlassCompatButton(tr("Download Harborlite %1").arg(update.version), true, Palette::accent(), block);
    download_->setObjectName(QStringLiteral("downloadButton"));
    download_->setSymbol(QStringLiteral("arrow.down.circle"));
    releaseNotes_ = new GlassCompatButton(tr("Release notes"), false, Palette::accent(), block);
    releaseNotes_->setObjectName(QStringLiteral("releaseNotesButton"));
    skip_ = new LinkButton(tr("Skip this version"), block);
    skip_->setObjectName(QStringLiteral("skipButton"));
    actions->addWidget(download_);
    actions->addWidget(releaseNotes_);
    actions->addStretch(1);
    actions->addWidget(skip_);
    column->addLayout(actions);

    connect(download_, &QAbstractButton::clicked, this, [this, update] { updates_.openDownload(update); });
    connect(releaseNotes_, &QAbstractButton::clicked, this, [this, update] { updates_.openReleaseNotes(update); });
    connect(skip_, &QAbstractButton::clicked, this, [this, update] {
        updates_.skip(update);
        reject();
    });
    return block;
}

void UpdateSheet::reject()
{
    if (onClose_) {
        onClose_();
    }
}

void UpdateSheet::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        if (download_ != nullptr) {
            download_->click();
        }
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void UpdateSheet::showEvent(QShowEvent* event)
{
    followAppearance();
    QDialog::showEvent(event);
}

void UpdateSheet::followAppearance()
{
    const Appearance now = Palette::appearance(this);
    if (appearance_ == now) {
        return;
    }
    appearance_ = now;
    setPalette(ApplicationAppearance::qtPalette(now));
}

void UpdateSheet::paintEvent(QPaintEvent*)
{
    // The theme may have changed while the sheet was open.
    followAppearance();
    QPainter painter(this);
    painter.fillRect(rect(), Palette::canvas().resolve(Palette::appearance(this)));
}

} // namespace harborlite
