#include "widgets/host/WidgetHost.h"

#include "ui/components/ThinScrollBar.h"
#include "widgets/host/DesktopLayer.h"
#include "widgets/host/DesktopWindow.h"
#include "widgets/host/WidgetGallery.h"
#include "widgets/host/WidgetPicture.h"
#include "widgets/kit/WidgetBundle.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QScreen>
#include <QScrollArea>
#include <QVBoxLayout>

#include <algorithm>

namespace harborlite {

namespace {

constexpr int kSpotMargin = 24;
constexpr int kSpotStep = 12;

QRect primaryArea()
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen != nullptr ? screen->availableGeometry() : QRect(0, 0, 1280, 800);
}

std::vector<QRect> screenAreas()
{
    std::vector<QRect> areas;
    for (const QScreen* screen : QGuiApplication::screens()) {
        areas.push_back(screen->availableGeometry());
    }
    return areas;
}

} // namespace

WidgetHost::WidgetHost(const WidgetBundle& bundle, Setup setup)
    : widgets_(bundle.widgets())
    , setup_(std::move(setup))
    , store_(setup_.placementsFile)
    , scheduler_(setup_.scheduling)
{
    blend_ = setup_.desktopLayer && DesktopLayer::canBlend();
}

WidgetHost::~WidgetHost()
{
    delete gallery_;
}

const Widget* WidgetHost::widget(const QString& kind) const
{
    const auto found = std::find_if(widgets_.begin(), widgets_.end(),
                                    [&](const Widget* candidate) { return candidate->kind() == kind; });
    return found != widgets_.end() ? *found : nullptr;
}

void WidgetHost::start()
{
    const PlacementStore::Loaded loaded = store_.load([this](const QString& kind, WidgetFamily family) {
        const Widget* offered = widget(kind);
        if (offered == nullptr) {
            return false;
        }
        const std::vector<WidgetFamily> families = offered->supportedFamilies();
        return std::find(families.begin(), families.end(), family) != families.end();
    });
    placements_ = loaded.placements;
    bool placedAnew = false;
    for (WidgetPlacement& placement : placements_) {
        show(placement);
        // A widget placed without a spot keeps the one it got.
        if (!placement.position) {
            placement.position = window(placement.id)->pos();
            placedAnew = true;
        }
    }
    if (placedAnew) {
        save();
    }
    if (placements_.empty()) {
        showGallery();
    }
}

void WidgetHost::place(const QString& kind, WidgetFamily family)
{
    if (widget(kind) == nullptr) {
        return;
    }
    WidgetPlacement placement{QUuid::createUuid(), kind, family, freeSpot(primaryArea(), displaySize(family), taken())};
    placements_.push_back(placement);
    save();
    show(placement);
}

void WidgetHost::remove(const QUuid& id)
{
    placements_.erase(std::remove_if(placements_.begin(), placements_.end(),
                                     [&](const WidgetPlacement& placement) { return placement.id == id; }),
                      placements_.end());
    save();
    hide(id);
}

DesktopWindow* WidgetHost::window(const QUuid& id) const
{
    const auto found = shown_.find(id);
    return found != shown_.end() ? found->second.window.get() : nullptr;
}

bool WidgetHost::waitForRequests(std::chrono::milliseconds timeout) const
{
    return scheduler_.waitForOutstanding(timeout);
}

void WidgetHost::show(const WidgetPlacement& placement)
{
    const Widget* kind = widget(placement.kind);
    if (kind == nullptr || shown_.count(placement.id) != 0) {
        return;
    }
    const QSize size = displaySize(placement.family);
    const QPoint position = onScreen(placement.position.value_or(freeSpot(primaryArea(), size, taken())), size,
                                     screenAreas(), primaryArea());
    Shown& shown = shown_[placement.id];
    shown.view = kind->makeView(placement.family);
    shown.view->resize(size);
    shown.window = std::make_unique<DesktopWindow>(kind->displayName(), size, blend_ && setup_.desktopLayer);
    DesktopWindow* window = shown.window.get();
    const QUuid id = placement.id;
    connect(window, &DesktopWindow::moved, this, [this, id](QPoint dropped) { moved(id, dropped); });
    connect(window, &DesktopWindow::removeRequested, this, [this, id] { remove(id); });
    connect(window, &DesktopWindow::galleryRequested, this, &WidgetHost::showGallery);
    connect(window, &DesktopWindow::quitRequested, this, &WidgetHost::quitRequested);
    // Closed from outside: gone for this session, still placed for the next.
    connect(
        window, &DesktopWindow::closed, this, [this, id] { hide(id); }, Qt::QueuedConnection);
    connect(window, &DesktopWindow::appearanceChanged, this, [this, id] { render(id); });

    window->move(position);
    scheduler_.track(id, *kind, placement.family, [this, id](const WidgetEntry& entry) {
        const auto found = shown_.find(id);
        if (found != shown_.end()) {
            found->second.view->setEntry(entry);
            render(id);
        }
    });
    window->show();
}

void WidgetHost::hide(const QUuid& id)
{
    scheduler_.untrack(id);
    const auto found = shown_.find(id);
    if (found == shown_.end()) {
        return;
    }
    // The window may be the sender of the signal being handled.
    found->second.window.release()->deleteLater();
    shown_.erase(found);
    quitWhenEmpty();
}

void WidgetHost::render(const QUuid& id)
{
    const auto found = shown_.find(id);
    if (found == shown_.end()) {
        return;
    }
    DesktopWindow& window = *found->second.window;
    window.setPicture(WidgetPicture::render(*found->second.view, window.devicePixelRatioF()));
    window.setAccessibleDescription(WidgetPicture::accessibleSummary(*found->second.view));
}

void WidgetHost::moved(const QUuid& id, QPoint position)
{
    for (WidgetPlacement& placement : placements_) {
        if (placement.id == id) {
            placement.position = position;
        }
    }
    save();
}

void WidgetHost::save()
{
    store_.save(placements_);
}

void WidgetHost::showGallery()
{
    if (gallery_) {
        gallery_->raise();
        gallery_->activateWindow();
        return;
    }
    auto* scroll = new QScrollArea;
    scroll->setAttribute(Qt::WA_DeleteOnClose);
    scroll->setWindowTitle(QCoreApplication::translate("WidgetGallery", "Widgets"));
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setVerticalScrollBar(new ThinScrollBar(Qt::Vertical));
    scroll->setHorizontalScrollBar(new ThinScrollBar(Qt::Horizontal));
    auto* pages = new QWidget;
    auto* column = new QVBoxLayout(pages);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    for (const Appearance appearance : {Appearance::light, Appearance::dark}) {
        auto* page = new WidgetGallery(widgets_, appearance, true);
        connect(page, &WidgetGallery::addRequested, this,
                [this](const QString& kind, WidgetFamily family) { place(kind, family); });
        column->addWidget(page);
    }
    scroll->setWidget(pages);
    connect(
        scroll, &QObject::destroyed, this, [this] { quitWhenEmpty(); }, Qt::QueuedConnection);
    gallery_ = scroll;
    scroll->resize(pages->sizeHint().width() + 24, std::min(pages->sizeHint().height(), primaryArea().height()));
    scroll->show();
}

void WidgetHost::quitWhenEmpty()
{
    if (shown_.empty() && (!gallery_ || !gallery_->isVisible())) {
        emit quitRequested();
    }
}

std::vector<QRect> WidgetHost::taken() const
{
    std::vector<QRect> rects;
    for (const auto& [id, shown] : shown_) {
        rects.push_back(shown.window->geometry());
    }
    return rects;
}

QPoint WidgetHost::freeSpot(const QRect& area, QSize size, const std::vector<QRect>& taken)
{
    const QPoint start = area.topLeft() + QPoint(kSpotMargin, kSpotMargin);
    for (int y = start.y(); y + size.height() <= area.bottom() + 1; y += kSpotStep) {
        for (int x = start.x(); x + size.width() <= area.right() + 1; x += kSpotStep) {
            const QRect candidate(QPoint(x, y), size);
            const QRect withGap = candidate.adjusted(-kSpotStep, -kSpotStep, kSpotStep, kSpotStep);
            if (std::none_of(taken.begin(), taken.end(), [&](const QRect& r) { return r.intersects(withGap); })) {
                return candidate.topLeft();
            }
        }
    }
    return start;
}

QPoint WidgetHost::onScreen(QPoint position, QSize size, const std::vector<QRect>& screens, const QRect& fallback)
{
    const QRect window(position, size);
    for (const QRect& screen : screens) {
        if (screen.contains(window)) {
            return position;
        }
    }
    // Keep it whole on the fallback area, as near to where it was as it fits.
    const int x =
        std::clamp(position.x(), fallback.left(), std::max(fallback.left(), fallback.right() + 1 - size.width()));
    const int y =
        std::clamp(position.y(), fallback.top(), std::max(fallback.top(), fallback.bottom() + 1 - size.height()));
    return {x, y};
}

} // namespace harborlite
