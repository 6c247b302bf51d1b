#include "ui/performance/ProcessRow.h"

#include "paint/Palette.h"
#include "shared/Formatting.h"
#include "ui/components/GlassCompatButton.h"
#include "ui/components/RoleLabel.h"
#include "ui/theme/MenuStyle.h"
#include "ui/theme/TypeStyle.h"

#include <QHBoxLayout>
#include <QMenu>
#include <QPainter>
#include <QPainterPath>

namespace harborlite {

namespace {

// The load dot, painted in the role's colour.
class Dot : public QWidget {
public:
    explicit Dot(QWidget* parent = nullptr)
        : QWidget(parent)
    {
        setFixedSize(ProcessRow::kDotSide, ProcessRow::kDotSide);
    }
    void setRole(PaletteRole role)
    {
        role_ = role;
        update();
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(Qt::NoPen);
        painter.setBrush(Palette::resolve(role_, this));
        painter.drawEllipse(QRectF(rect()));
    }

private:
    PaletteRole role_ = PaletteRole::accent;
};

} // namespace

ProcessRow::ProcessRow(RunningProcess process, QuitRequest quit, QWidget* parent)
    : QWidget(parent)
    , process_(std::move(process))
    , quitRequest_(std::move(quit))
    , pressed_(process_)
    , dot_(new Dot)
    , name_(new RoleLabel(QString(), Palette::ink(), TypeStyle::rowTitle()))
    , pid_(new RoleLabel(QString(), Palette::inkTertiary(), TypeStyle::font(9.5, QFont::Normal)))
    , cpu_(new RoleLabel(QString(), Palette::inkSecondary(), TypeStyle::font(11, QFont::Medium)))
    , memory_(new RoleLabel(QString(), Palette::inkSecondary(), TypeStyle::font(11, QFont::Medium)))
    , actionSlot_(new QWidget)
{
    setObjectName(QStringLiteral("processRow"));
    setAttribute(Qt::WA_Hover);
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(kPaddingX, kPaddingY, kPaddingX, kPaddingY);
    row->setSpacing(kSpacing);

    auto* identity = new QHBoxLayout;
    identity->setSpacing(kIdentitySpacing);
    dot_->setObjectName(QStringLiteral("dot"));
    name_->setObjectName(QStringLiteral("name"));
    name_->setElidedOnOneLine(true);
    pid_->setObjectName(QStringLiteral("pid"));
    // The pid follows the name as wide as it reads; a long name is cut first.
    name_->setSizePolicy(QSizePolicy::Preferred, name_->sizePolicy().verticalPolicy());
    pid_->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Preferred);
    identity->addWidget(dot_, 0, Qt::AlignVCenter);
    identity->addWidget(name_, 0);
    identity->addWidget(pid_, 0, Qt::AlignVCenter);
    identity->addStretch(1);
    row->addLayout(identity, 1);

    for (RoleLabel* column : {cpu_, memory_}) {
        column->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        row->addWidget(column, 0, Qt::AlignVCenter);
    }
    cpu_->setObjectName(QStringLiteral("cpu"));
    cpu_->setFixedWidth(kCpuWidth);
    memory_->setObjectName(QStringLiteral("memory"));
    memory_->setFixedWidth(kMemoryWidth);

    actionSlot_->setObjectName(QStringLiteral("actionSlot"));
    actionSlot_->setFixedWidth(kActionWidth);
    auto* slotLayout = new QHBoxLayout(actionSlot_);
    slotLayout->setContentsMargins(0, 0, 0, 0);
    if (process_.isApplication) {
        quit_ = new GlassCompatButton(tr("Quit"), false, Palette::accent());
        quit_->setObjectName(QStringLiteral("quit"));
        quit_->setFont(TypeStyle::font(11, QFont::DemiBold));
        quit_->setFixedSize(kActionWidth, 24);
        quit_->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(quit_, &QAbstractButton::pressed, this, [this] {
            pressed_ = process_;
            emit heldChanged();
        });
        connect(quit_, &QAbstractButton::released, this, &ProcessRow::heldChanged);
        connect(quit_, &QAbstractButton::clicked, this, [this] {
            if (quitRequest_) {
                quitRequest_(pressed_, false);
            }
        });
        connect(quit_, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
            QMenu* menu = makeQuitMenu();
            menu->popup(quit_->mapToGlobal(at));
        });
        slotLayout->addWidget(quit_);
    }
    row->addWidget(actionSlot_, 0, Qt::AlignVCenter);
    present(process_);
}

PaletteRole ProcessRow::dotRole(double cpu)
{
    if (cpu > 50) {
        return PaletteRole::danger;
    }
    if (cpu > 15) {
        return PaletteRole::warning;
    }
    return PaletteRole::accent;
}

QString ProcessRow::cpuText(double cpu)
{
    return QString::asprintf("%.1f%%", cpu);
}

QString ProcessRow::memoryText(qint64 bytes)
{
    return Format::byteText(bytes);
}

void ProcessRow::setProcess(RunningProcess process)
{
    process_ = std::move(process);
    present(process_);
}

ProcessRow::~ProcessRow()
{
    // The open menu goes with the row; it has nothing more to tell it.
    if (menu_) {
        menu_->disconnect(this);
    }
}

bool ProcessRow::isHeld() const
{
    return (quit_ != nullptr && quit_->isDown()) || isMenuOpen_;
}

QMenu* ProcessRow::makeQuitMenu()
{
    auto* menu = new QMenu(this);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    MenuStyle::apply(menu);
    QAction* force = menu->addAction(tr("Force Quit"));
    force->setObjectName(QStringLiteral("forceQuit"));
    connect(force, &QAction::triggered, this, [this, opened = process_] {
        if (quitRequest_) {
            quitRequest_(opened, true);
        }
    });
    menu_ = menu;
    connect(menu, &QMenu::aboutToShow, this, [this] {
        isMenuOpen_ = true;
        emit heldChanged();
    });
    connect(menu, &QMenu::aboutToHide, this, [this] {
        isMenuOpen_ = false;
        emit heldChanged();
    });
    return menu;
}

void ProcessRow::present(const RunningProcess& process)
{
    static_cast<Dot*>(dot_)->setRole(dotRole(process.cpu));
    name_->setText(process.name);
    pid_->setText(QString::number(process.pid));
    cpu_->setText(cpuText(process.cpu));
    memory_->setText(memoryText(process.memory));
    setAccessibleName(process.name);
}

void ProcessRow::paintEvent(QPaintEvent*)
{
    if (!isHovering_) {
        return;
    }
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    QColor fill = Palette::mint().resolve(Palette::appearance(this));
    fill.setAlphaF(fill.alphaF() * kHoverOpacity);
    painter.setPen(Qt::NoPen);
    painter.setBrush(fill);
    painter.drawRoundedRect(QRectF(rect()), kCornerRadius, kCornerRadius);
}

void ProcessRow::enterEvent(QEnterEvent* event)
{
    QWidget::enterEvent(event);
    isHovering_ = true;
    update();
}

void ProcessRow::leaveEvent(QEvent* event)
{
    QWidget::leaveEvent(event);
    isHovering_ = false;
    update();
}

} // namespace harborlite
