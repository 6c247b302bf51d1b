#include "FakeWidget.h"

#include "ui/components/GlassCompatButton.h"
#include "ui/theme/MenuStyle.h"
#include "ui/theme/TypeStyle.h"
#include "widgets/host/DesktopWindow.h"
#include "widgets/host/WidgetGallery.h"

#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QSignalSpy>

#include <gtest/gtest.h>

using namespace harborlite;
using harborlite::test::FakeWidget;

namespace {

QLabel* labelWith(const QWidget& parent, const QString& text)
{
    for (QLabel* label : parent.findChildren<QLabel*>()) {
        if (label->text() == text) {
            return label;
        }
    }
    return nullptr;
}

} // namespace

TEST(HostControls, TheGalleryAddsWithGlassButtonsAndTitlesInTheKitsType)
{
    const FakeWidget first(QStringLiteral("First"), {WidgetFamily::systemSmall});
    const FakeWidget second(QStringLiteral("Second"), {WidgetFamily::systemSmall, WidgetFamily::systemLarge});
    WidgetGallery gallery({&first, &second}, Appearance::dark, true);

    EXPECT_TRUE(gallery.findChildren<QPushButton*>().isEmpty());
    const QList<GlassCompatButton*> buttons = gallery.findChildren<GlassCompatButton*>();
    ASSERT_EQ(buttons.size(), 3);
    for (const GlassCompatButton* button : buttons) {
        EXPECT_EQ(button->text(), QStringLiteral("Add Widget"));
        EXPECT_FALSE(button->isProminent());
    }
    QList<std::pair<QString, WidgetFamily>> added;
    QObject::connect(&gallery, &WidgetGallery::addRequested, [&](const QString& kind, WidgetFamily family) {
        added.append({kind, family});
    });
    buttons[2]->click();
    EXPECT_EQ(added, (QList<std::pair<QString, WidgetFamily>>{{QStringLiteral("Second"), WidgetFamily::systemLarge}}));

    struct Heading {
        QString text;
        QFont font;
    };
    const Heading headings[] = {
        {QStringLiteral("Dark"), TypeStyle::screenTitle()},
        {QStringLiteral("Fake"), TypeStyle::sectionTitle()},
        {WidgetGallery::familyName(WidgetFamily::systemLarge), TypeStyle::rowDetail()},
    };
    for (const Heading& heading : headings) {
        const QLabel* label = labelWith(gallery, heading.text);
        ASSERT_NE(label, nullptr) << heading.text.toStdString();
        EXPECT_EQ(label->font(), heading.font) << heading.text.toStdString();
    }
}

TEST(HostControls, TheWidgetsMenuIsDrawnInTheKitsMenuStyle)
{
    DesktopWindow window(QStringLiteral("Fake"), displaySize(WidgetFamily::systemSmall), false);
    const std::unique_ptr<QMenu> menu = window.makeMenu();
    EXPECT_NE(qobject_cast<MenuStyle*>(menu->style()), nullptr);
    QStringList titles;
    for (const QAction* action : menu->actions()) {
        titles << (action->isSeparator() ? QStringLiteral("-") : action->text());
    }
    EXPECT_EQ(titles,
              (QStringList{QStringLiteral("Remove Widget"), QStringLiteral("Edit Widgets\u2026"), QStringLiteral("-"),
                           QStringLiteral("Quit")}));

    QSignalSpy removed(&window, &DesktopWindow::removeRequested);
    menu->actions().first()->trigger();
    EXPECT_EQ(removed.count(), 1);
}
