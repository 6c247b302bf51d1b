#include "gallery/Gallery.h"

#include "paint/BrandMark.h"
#include "ui/components/AuroraBackground.h"
#include "ui/components/CapsuleChip.h"
#include "ui/components/ClampedLabel.h"
#include "ui/components/EmptyStateView.h"
#include "ui/components/GlassCompatButton.h"
#include "ui/components/GlassCompatContainer.h"
#include "ui/components/GlassPanel.h"
#include "ui/components/InnerCard.h"
#include "ui/components/PopUpPicker.h"
#include "ui/components/PrimaryActionBar.h"
#include "ui/components/ProgressRing.h"
#include "ui/components/RoleLabel.h"
#include "ui/components/ScreenHeader.h"
#include "ui/components/StatTile.h"
#include "ui/components/StatusPill.h"
#include "ui/components/SwitchToggle.h"
#include "ui/components/SymbolView.h"
#include "ui/components/TriStateToggle.h"
#include "ui/theme/MenuStyle.h"
#include "ui/theme/Motion.h"
#include "ui/theme/Shapes.h"
#include "ui/theme/Symbols.h"
#include "ui/theme/TypeStyle.h"

#include <QApplication>
#include <QDir>
#include <QEnterEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QPainter>
#include <QStyleOption>
#include <QVBoxLayout>

namespace harborlite::Gallery {

namespace {

// The brand tile of the sidebar: the white mark on the accent gradient.
class BrandTile : public QWidget {
public:
    BrandTile(qreal tile, qreal mark)
        : mark_(new BrandMark(0.24, AdaptiveColor{Qt::white, Qt::white}, this))
    {
        setFixedSize(static_cast<int>(tile), static_cast<int>(tile));
        const int inset = static_cast<int>((tile - mark) / 2);
        mark_->setGeometry(inset, inset, static_cast<int>(mark), static_cast<int>(mark));
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.fillPath(Shapes::roundedRect(rect(), 9),
                         QBrush(Palette::accentGradient(rect(), Palette::appearance(this))));
    }

private:
    BrandMark* mark_;
};

RoleLabel* caption(const QString& text)
{
    return new RoleLabel(text, Palette::inkTertiary(), TypeStyle::font(11, QFont::DemiBold));
}

QWidget* row(std::initializer_list<QWidget*> children, int spacing = 12)
{
    auto* holder = new QWidget;
    auto* layout = new QHBoxLayout(holder);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(spacing);
    for (QWidget* child : children) {
        layout->addWidget(child, 0, Qt::AlignVCenter);
    }
    layout->addStretch(1);
    return holder;
}

GlassCompatButton* hovered(GlassCompatButton* button)
{
    Motion::setReduceMotion(true);
    QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
    QCoreApplication::sendEvent(button, &enter);
    Motion::setReduceMotion(std::nullopt);
    return button;
}

GlassCompatButton* pressed(GlassCompatButton* button)
{
    button->setDown(true);
    return button;
}

GlassCompatButton* disabled(GlassCompatButton* button)
{
    button->setEnabled(false);
    return button;
}

GlassCompatButton* withSymbol(GlassCompatButton* button, const QString& symbol)
{
    button->setSymbol(symbol);
    if (button->text().isEmpty()) {
        button->setAccessibleName(symbol);
    }
    return button;
}

QWidget* controls()
{
    const auto labelled = [](bool on, const QString& title, std::optional<QString> caption) {
        auto* made = new SwitchToggle(on, SwitchToggle::ControlSize::small);
        made->setLabel(SwitchToggle::Label{title, TypeStyle::font(12.5, QFont::DemiBold), std::move(caption),
                                           TypeStyle::font(10.5, QFont::Normal)});
        return made;
    };
    auto* disabledOn = new SwitchToggle(true, SwitchToggle::ControlSize::mini);
    disabledOn->setEnabled(false);
    auto* selectedTheme =
        new CapsuleChip(QStringLiteral("sun.max.fill"), QStringLiteral("Light"), true, CapsuleChip::Metrics::regular());
    auto* otherTheme =
        new CapsuleChip(QStringLiteral("moon.fill"), QStringLiteral("Dark"), false, CapsuleChip::Metrics::regular());
    return row({
        new SwitchToggle(false, SwitchToggle::ControlSize::mini),
        new SwitchToggle(true, SwitchToggle::ControlSize::mini),
        new SwitchToggle(true, SwitchToggle::ControlSize::small),
        new SwitchToggle(false, SwitchToggle::ControlSize::regular),
        disabledOn,
        labelled(true, QStringLiteral("Menu bar monitor"), QStringLiteral("Live readings beside the clock")),
        new CapsuleChip(QStringLiteral("cpu"), QStringLiteral("CPU"), true),
        new CapsuleChip(QStringLiteral("memorychip"), QStringLiteral("Memory"), false),
        new CapsuleChip(std::nullopt, QStringLiteral("No symbol"), false),
        selectedTheme,
        otherTheme,
    });
}

// A pop-up picker's menu drawn in place by the menu style, its second row
// under the pointer: an open menu is a window of its own and would not show
// in a picture of the gallery.
class MenuSample : public QWidget {
public:
    explicit MenuSample(const QStringList& rows, int chosen)
        : rows_(rows)
        , chosen_(chosen)
    {
        style_.setParent(this);
        setFont(TypeStyle::font(13, QFont::Medium));
        const int margin = MenuStyle::kPanelMargin;
        int width = 0;
        for (const QString& text : rows_) {
            const QStyleOptionMenuItem item = option(text, false, false);
            width = std::max(width, style_.sizeFromContents(QStyle::CT_MenuItem, &item, QSize(), this).width());
        }
        setFixedSize(width + 2 * margin, static_cast<int>(rows_.size()) * MenuStyle::kRowHeight + 2 * margin);
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        QStyleOption panel;
        panel.initFrom(this);
        style_.drawPrimitive(QStyle::PE_PanelMenu, &panel, &painter, this);
        const int margin = MenuStyle::kPanelMargin;
        for (int index = 0; index < rows_.size(); ++index) {
            QStyleOptionMenuItem item = option(rows_.at(index), index == chosen_, index == 1);
            item.rect =
                QRect(margin, margin + index * MenuStyle::kRowHeight, width() - 2 * margin, MenuStyle::kRowHeight);
            style_.drawControl(QStyle::CE_MenuItem, &item, &painter, this);
        }
    }

private:
    QStyleOptionMenuItem option(const QString& text, bool checked, bool selected) const
    {
        QStyleOptionMenuItem item;
        item.initFrom(this);
        item.text = text;
        item.font = font();
        item.menuItemType = QStyleOptionMenuItem::Normal;
        item.checkType = QStyleOptionMenuItem::Exclusive;
        item.checked = checked;
        item.state = QStyle::State_Enabled | (selected ? QStyle::State_Selected : QStyle::State_None);
        return item;
    }

    QStringList rows_;
    int chosen_;
    MenuStyle style_;
};

PopUpPicker* hoveredPicker(PopUpPicker* picker)
{
    QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
    QCoreApplication::sendEvent(picker, &enter);
    return picker;
}

QWidget* pickers()
{
    const QStringList modes = {QStringLiteral("Move to Trash"), QStringLiteral("Delete permanently"),
                               QStringLiteral("Shred securely")};
    auto* rest = new PopUpPicker(modes);
    rest->setFixedWidth(158);
    auto* hovered = hoveredPicker(new PopUpPicker(modes));
    hovered->setCurrentIndex(1);
    auto* off = new PopUpPicker(modes);
    off->setEnabled(false);
    const QStringList sorts = {QStringLiteral("Name"), QStringLiteral("Size"), QStringLiteral("Last opened")};
    auto* borderless = new PopUpPicker(sorts, PopUpPicker::Kind::borderless);
    auto* borderlessHovered = hoveredPicker(new PopUpPicker(sorts, PopUpPicker::Kind::borderless));
    borderlessHovered->setCurrentIndex(2);
    QWidget* shown = row({rest, hovered, off, borderless, borderlessHovered});
    auto* holder = new QWidget;
    auto* layout = new QHBoxLayout(holder);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(18);
    layout->addWidget(shown, 0, Qt::AlignTop);
    layout->addWidget(new MenuSample(modes, 2), 0, Qt::AlignTop);
    layout->addStretch(1);
    return holder;
}

QWidget* typeSamples()
{
    auto* holder = new QWidget;
    auto* layout = new QVBoxLayout(holder);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    layout->addWidget(new RoleLabel(QStringLiteral("12.4 GB"), Palette::ink(), TypeStyle::heroNumber()));
    layout->addWidget(new RoleLabel(QStringLiteral("Screen title"), Palette::ink(), TypeStyle::screenTitle()));
    layout->addWidget(new RoleLabel(QStringLiteral("Section title"), Palette::ink(), TypeStyle::sectionTitle()));
    layout->addWidget(new RoleLabel(QStringLiteral("Row title"), Palette::ink(), TypeStyle::rowTitle()));
    layout->addWidget(new RoleLabel(QStringLiteral("Row detail"), Palette::inkSecondary(), TypeStyle::rowDetail()));
    layout->addWidget(new RoleLabel(QStringLiteral("Pill"), Palette::accent(), TypeStyle::pill()));
    auto* clamped = new ClampedLabel(QStringLiteral("A clamped label wraps onto two lines at most and ends the last "
                                                    "one with an ellipsis when the text goes on"),
                                     Palette::danger(), TypeStyle::font(10.5, QFont::Normal), 2);
    clamped->setFixedWidth(200);
    layout->addWidget(clamped);
    return holder;
}

QWidget* cards()
{
    const auto card = [](qreal radius, bool highlighted, const QString& text) {
        auto* made = new InnerCard(radius, highlighted);
        auto* layout = new QHBoxLayout(made);
        layout->setContentsMargins(12, 10, 12, 10);
        layout->addWidget(new RoleLabel(text, Palette::ink(), TypeStyle::rowTitle()));
        return made;
    };
    const auto panel = [](std::optional<AdaptiveColor> tint, const QString& text) {
        auto* made = new GlassPanel(18, tint);
        auto* layout = new QHBoxLayout(made);
        layout->setContentsMargins(16, 14, 16, 14);
        layout->addWidget(new RoleLabel(text, Palette::ink(), TypeStyle::rowTitle()));
        return made;
    };
    return row({card(11, false, QStringLiteral("Inner card")), card(11, true, QStringLiteral("Highlighted")),
                card(0, false, QStringLiteral("Radius 0")), panel(std::nullopt, QStringLiteral("Glass panel")),
                panel(Palette::warning(), QStringLiteral("Tinted panel"))});
}

} // namespace

QWidget* build(Appearance appearance)
{
    Symbols::useIconTheme();
    auto* root = new AuroraBackground;
    Palette::setOwnAppearance(root, appearance);
    auto* grid = new QVBoxLayout(root);
    grid->setContentsMargins(28, 24, 28, 24);
    grid->setSpacing(14);

    grid->addWidget(new ScreenHeader(QStringLiteral("Smart Scan"),
                                     QStringLiteral("One pass over junk, leftovers and threats, with a summary "
                                                    "you can review before anything is removed."),
                                     QStringLiteral("viewfinder")));
    grid->addWidget(new ScreenHeader(QStringLiteral("No symbol"), QStringLiteral("A header without an icon")));

    grid->addWidget(caption(QStringLiteral("Brand mark, type styles")));
    auto* ring62 = new BrandMark(0.2, Palette::accent());
    ring62->setFixedSize(62, 62);
    auto* wide = new BrandMark(0.24, Palette::ink());
    wide->setFixedSize(30, 20);
    grid->addWidget(row({new BrandTile(30, 17), new BrandTile(24, 14), ring62, wide, typeSamples()}, 18));

    grid->addWidget(caption(QStringLiteral("Glass buttons: rest, hovered, pressed, disabled, busy")));
    grid->addWidget(row({
        new GlassCompatButton(QStringLiteral("Clean"), true),
        hovered(new GlassCompatButton(QStringLiteral("Hovered"), true)),
        pressed(new GlassCompatButton(QStringLiteral("Pressed"), true)),
        disabled(new GlassCompatButton(QStringLiteral("Disabled"), true)),
        new GlassCompatButton(QStringLiteral("Danger"), true, Palette::danger()),
        new GlassCompatButton(QStringLiteral("Cancel"), false),
        hovered(new GlassCompatButton(QStringLiteral("Hovered"), false)),
        pressed(new GlassCompatButton(QStringLiteral("Pressed"), false)),
        disabled(new GlassCompatButton(QStringLiteral("Disabled"), false)),
    }));
    grid->addWidget(row({
        withSymbol(new GlassCompatButton(QStringLiteral("Choose Folder…"), false), QStringLiteral("folder")),
        withSymbol(new GlassCompatButton(QStringLiteral("Rescan"), true), QStringLiteral("magnifyingglass")),
        withSymbol(disabled(new GlassCompatButton(QStringLiteral("Locked"), false)), QStringLiteral("lock.fill")),
        withSymbol(new GlassCompatButton(QString(), false), QStringLiteral("chevron.up")),
        withSymbol(new GlassCompatButton(QString(), false), QStringLiteral("chevron.down")),
    }));

    grid->addWidget(caption(QStringLiteral("Switches: off, on, sizes, disabled, labelled; capsule chips")));
    grid->addWidget(controls());

    grid->addWidget(caption(QStringLiteral("Pop-up pickers: rest, hovered, disabled, borderless; the open menu")));
    grid->addWidget(pickers());

    grid->addWidget(caption(QStringLiteral("Status pills, tri-state toggles, progress rings")));
    auto* spinning = new ProgressRing(0, 8, true);
    spinning->setFixedSize(56, 56);
    auto* quarter = new ProgressRing(0.35, 8, false);
    quarter->setFixedSize(56, 56);
    auto* full = new ProgressRing(1, 8, false);
    full->setFixedSize(56, 56);
    auto* empty = new ProgressRing(0, 8, false);
    empty->setFixedSize(56, 56);
    auto* thick = new ProgressRing(0.7, 18, false);
    thick->setFixedSize(120, 120);
    grid->addWidget(row({
        new StatusPill(QStringLiteral("Review"), Palette::warning(), QStringLiteral("exclamationmark.triangle.fill")),
        new StatusPill(QStringLiteral("Protected"), Palette::warning(), QStringLiteral("shield")),
        new StatusPill(QStringLiteral("System-wide"), Palette::info(), QStringLiteral("lock")),
        new StatusPill(QStringLiteral("Clean"), Palette::accent()),
        new TriStateToggle(TriStateToggle::State::none, QStringLiteral("None"), {}),
        new TriStateToggle(TriStateToggle::State::partial, QStringLiteral("Some"), {}),
        new TriStateToggle(TriStateToggle::State::all, QStringLiteral("All"), {}),
        empty,
        quarter,
        full,
        spinning,
        thick,
    }));

    grid->addWidget(caption(QStringLiteral("Symbols the system paints itself")));
    QWidget* painted = row(
        {
            new SymbolView(QStringLiteral("slider.horizontal.3"), 22, Palette::inkSecondary()),
            new SymbolView(QStringLiteral("info.circle.fill"), 22, Palette::info()),
            new SymbolView(QStringLiteral("shield"), 22, Palette::inkTertiary()),
            new SymbolView(QStringLiteral("shield.lefthalf.filled"), 22, Palette::info()),
            new SymbolView(QStringLiteral("checkmark.shield.fill"), 22, Palette::accent()),
            new SymbolView(QStringLiteral("exclamationmark.shield.fill"), 22, Palette::danger()),
            new SymbolView(QStringLiteral("lock.shield.fill"), 22, Palette::warning()),
            new SymbolView(QStringLiteral("flame"), 22, Palette::danger()),
            new SymbolView(QStringLiteral("exclamationmark.shield.fill"), 52, Palette::danger()),
            new SymbolView(QStringLiteral("flame"), 52, Palette::warning()),
        },
        16);
    grid->addWidget(painted);

    grid->addWidget(caption(QStringLiteral("Stat tiles")));
    auto* tiles = new QWidget;
    auto* tileRow = new QHBoxLayout(tiles);
    tileRow->setContentsMargins(0, 0, 0, 0);
    tileRow->setSpacing(12);
    tileRow->addWidget(new StatTile(QStringLiteral("Found"), QStringLiteral("8.42 GB"),
                                    QStringLiteral("Across 6 categories"), 0.42, QStringLiteral("magnifyingglass"),
                                    Palette::accent()));
    tileRow->addWidget(new StatTile(QStringLiteral("Memory"), QStringLiteral("0%"),
                                    QStringLiteral("Nothing in use at all"), 0, QStringLiteral("memorychip"),
                                    Palette::accentDeep()));
    tileRow->addWidget(new StatTile(QStringLiteral("Network"), QStringLiteral("130%"),
                                    QStringLiteral("A caption far too long to fit on a single line of this tile"), 1.3,
                                    QStringLiteral("arrow.up.arrow.down"), Palette::info()));
    grid->addWidget(tiles);

    grid->addWidget(caption(QStringLiteral("Inner cards, glass panels")));
    grid->addWidget(cards());

    grid->addWidget(caption(QStringLiteral("Primary action bar: ready, disabled, busy")));
    const auto bar = [](const QString& detail, bool enabled, bool busy) {
        return new PrimaryActionBar(QStringLiteral("3.1 GB selected"), detail, QStringLiteral("Clean"), enabled, busy,
                                    Palette::accent(), [] {});
    };
    auto* bars = new QWidget;
    auto* barRow = new QHBoxLayout(bars);
    barRow->setContentsMargins(0, 0, 0, 0);
    barRow->setSpacing(0);
    barRow->addWidget(bar(QStringLiteral("128 items in 4 categories"), true, false));
    barRow->addWidget(bar(QStringLiteral("Nothing selected"), false, false));
    barRow->addWidget(bar(QStringLiteral("Removing…"), true, true));
    grid->addWidget(bars);

    auto* emptyState = new EmptyStateView(
        QStringLiteral("checkmark.seal.fill"), QStringLiteral("Nothing to clean"),
        QStringLiteral("Run a scan to look for caches, logs and leftovers. Everything found is listed here for you "
                       "to review before anything is removed."),
        QStringLiteral("Scan Again"), [] {});
    emptyState->setMinimumHeight(300);
    grid->addWidget(emptyState, 1);
    return root;
}

QStringList renderToFolder(const QString& folder)
{
    QDir().mkpath(folder);
    QStringList written;
    for (const auto& [appearance, name] : {std::pair{Appearance::light, QStringLiteral("gallery-light.png")},
                                           std::pair{Appearance::dark, QStringLiteral("gallery-dark.png")}}) {
        std::unique_ptr<QWidget> gallery(build(appearance));
        gallery->resize(1180, 1860);
        gallery->show();
        QApplication::processEvents();
        const QString path = QDir(folder).filePath(name);
        if (!gallery->grab().save(path)) {
            return {};
        }
        written.append(path);
    }
    return written;
}

} // namespace harborlite::Gallery
