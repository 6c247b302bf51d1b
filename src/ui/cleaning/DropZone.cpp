#include "ui/cleaning/DropZone.h"

#include "ui/components/GlassCompatButton.h"
#include "ui/components/ReviewText.h"
#include "ui/components/RoleLabel.h"
#include "ui/theme/Shapes.h"
#include "ui/theme/Symbols.h"
#include "ui/theme/TypeStyle.h"

#include <QDragEnterEvent>
#include <QMimeData>
#include <QPainter>
#include <QUrl>
#include <QVBoxLayout>

namespace harborlite {

namespace {

// The flame, tinted by the zone's state.
class Flame : public QWidget {
public:
    explicit Flame(const DropZone* zone, QWidget* parent)
        : QWidget(parent)
        , zone_(zone)
    {
        setFixedSize(static_cast<int>(DropZone::kSymbolSide), static_cast<int>(DropZone::kSymbolSide));
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        const Appearance appearance = Palette::appearance(this);
        const QColor tint = zone_->isDropTargeted() ? Palette::danger().resolve(appearance)
                                                    : Shapes::faded(Palette::accent().resolve(appearance), 0.7);
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        Symbols::paint(painter, rect(), QStringLiteral("flame"), tint);
    }

private:
    const DropZone* zone_;
};

} // namespace

DropZone::DropZone(QWidget* parent)
    : QWidget(parent)
    , symbol_(new Flame(this, this))
    , title_(new RoleLabel(tr("Drag files here"), Palette::ink(), TypeStyle::font(15, QFont::DemiBold), this))
    , help_(new RoleLabel(tr("Or pick them from the Finder."), Palette::inkSecondary(),
                          TypeStyle::font(11.5, QFont::Normal), this))
    , choose_(new GlassCompatButton(tr("Choose Files") + ReviewText::kEllipsis, false, Palette::accent(), this))
{
    setObjectName(QStringLiteral("dropZone"));
    setAcceptDrops(true);
    choose_->setObjectName(QStringLiteral("chooseFilesButton"));
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, kVerticalPadding, 0, kVerticalPadding);
    column->setSpacing(kSpacing);
    column->addWidget(symbol_, 0, Qt::AlignHCenter);
    column->addWidget(title_, 0, Qt::AlignHCenter);
    column->addWidget(help_, 0, Qt::AlignHCenter);
    column->addWidget(choose_, 0, Qt::AlignHCenter);
    connect(choose_, &QAbstractButton::clicked, this, &DropZone::chooseRequested);
}

QStringList DropZone::localFiles(const QMimeData* data)
{
    QStringList paths;
    if (data == nullptr || !data->hasUrls()) {
        return paths;
    }
    for (const QUrl& url : data->urls()) {
        if (url.isLocalFile() && url.host().isEmpty()) {
            const QString path = url.toLocalFile();
            if (path.startsWith(QLatin1Char('/'))) {
                paths << path;
            }
        }
    }
    return paths;
}

void DropZone::setDropTargeted(bool targeted)
{
    if (targeted == isDropTargeted_) {
        return;
    }
    isDropTargeted_ = targeted;
    title_->setText(targeted ? tr("Release to add") : tr("Drag files here"));
    update();
    symbol_->update();
}

// Only a drag holding a local file lights the zone up: remote locations
// would be dropped without a trace.
void DropZone::dragEnterEvent(QDragEnterEvent* event)
{
    if (!localFiles(event->mimeData()).isEmpty()) {
        setDropTargeted(true);
        event->acceptProposedAction();
    }
}

void DropZone::dragMoveEvent(QDragMoveEvent* event)
{
    if (!localFiles(event->mimeData()).isEmpty()) {
        event->acceptProposedAction();
    }
}

void DropZone::dragLeaveEvent(QDragLeaveEvent* event)
{
    setDropTargeted(false);
    QWidget::dragLeaveEvent(event);
}

void DropZone::dropEvent(QDropEvent* event)
{
    setDropTargeted(false);
    event->acceptProposedAction();
    const QStringList paths = localFiles(event->mimeData());
    if (!paths.isEmpty()) {
        emit dropped(paths);
    }
}

void DropZone::paintEvent(QPaintEvent*)
{
    const Appearance appearance = Palette::appearance(this);
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF area = QRectF(rect()).adjusted(kDashWidth / 2, kDashWidth / 2, -kDashWidth / 2, -kDashWidth / 2);
    const QColor fill = isDropTargeted_ ? Shapes::faded(Palette::danger().resolve(appearance), 0.08)
                                        : Palette::innerFillSoft().resolve(appearance);
    painter.fillPath(Shapes::roundedRect(rect(), kCornerRadius), fill);
    const QColor edge = isDropTargeted_ ? Palette::danger().resolve(appearance)
                                        : Shapes::faded(Palette::accent().resolve(appearance), 0.4);
    QPen pen(edge, kDashWidth);
    // Qt measures dashes in pen widths.
    pen.setDashPattern({7 / kDashWidth, 5 / kDashWidth});
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(Shapes::roundedRect(area, kCornerRadius - kDashWidth / 2));
}

} // namespace harborlite
