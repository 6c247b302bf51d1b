#include "ui/components/PopUpPicker.h"
#include "ui/theme/MenuStyle.h"

#include <QAction>
#include <QMenu>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

using namespace harborlite;

namespace {

const QStringList kModes = {QStringLiteral("Move to Trash"), QStringLiteral("Delete permanently"),
                            QStringLiteral("Shred securely")};

} // namespace

TEST(PopUpPicker, ChoosesByIndexLikeAComboBox)
{
    PopUpPicker picker;
    EXPECT_EQ(picker.currentIndex(), -1);
    EXPECT_EQ(picker.currentText(), QString());
    QSignalSpy changes(&picker, &PopUpPicker::currentIndexChanged);
    picker.setItems(kModes);
    EXPECT_EQ(picker.count(), 3);
    EXPECT_EQ(picker.currentIndex(), 0);
    EXPECT_EQ(changes.count(), 1);

    const struct {
        int set;
        int shown;
        int emitted;
    } rows[] = {{2, 2, 1}, {2, 2, 0}, {3, 2, 0}, {-1, 2, 0}, {1, 1, 1}};
    for (const auto& row : rows) {
        changes.clear();
        picker.setCurrentIndex(row.set);
        EXPECT_EQ(picker.currentIndex(), row.shown) << row.set;
        EXPECT_EQ(changes.count(), row.emitted) << row.set;
    }
    EXPECT_EQ(picker.currentText(), QStringLiteral("Delete permanently"));
    // The accessible name is the chosen entry.
    EXPECT_EQ(picker.text(), QStringLiteral("Delete permanently"));

    picker.setItems({QStringLiteral("One"), QStringLiteral("Two")});
    EXPECT_EQ(picker.currentIndex(), 1);
    picker.setItems({QStringLiteral("Only")});
    EXPECT_EQ(picker.currentIndex(), 0);
    picker.setItems({});
    EXPECT_EQ(picker.currentIndex(), -1);
}

TEST(PopUpPicker, TheMenuChecksTheChosenEntryAndReportsAPick)
{
    PopUpPicker picker(kModes);
    picker.setCurrentIndex(1);
    picker.resize(158, picker.sizeHint().height());
    picker.show();
    QSignalSpy picked(&picker, &PopUpPicker::activated);

    QTest::mousePress(&picker, Qt::LeftButton, {}, picker.rect().center());
    QMenu* menu = picker.popup();
    ASSERT_NE(menu, nullptr);
    EXPECT_TRUE(picker.isPopupVisible());
    ASSERT_EQ(menu->actions().size(), 3);
    for (int index = 0; index < 3; ++index) {
        const QAction* action = menu->actions().at(index);
        EXPECT_EQ(action->text(), kModes.at(index));
        EXPECT_EQ(action->isChecked(), index == 1);
    }
    EXPECT_NE(qobject_cast<MenuStyle*>(menu->style()), nullptr);
    EXPECT_GE(menu->minimumWidth(), 158);

    menu->actions().at(2)->trigger();
    menu->hide();
    EXPECT_EQ(picker.currentIndex(), 2);
    ASSERT_EQ(picked.count(), 1);
    EXPECT_EQ(picked.at(0).at(0).toInt(), 2);
    EXPECT_FALSE(picker.isDown());

    // Picking the chosen entry again is reported, but changes nothing.
    QSignalSpy changes(&picker, &PopUpPicker::currentIndexChanged);
    picker.showPopup();
    picker.popup()->actions().at(2)->trigger();
    picker.popup()->hide();
    EXPECT_EQ(picked.count(), 2);
    EXPECT_EQ(changes.count(), 0);
}

TEST(PopUpPicker, KeysOpenTheMenuOrStepThroughTheEntries)
{
    PopUpPicker picker(kModes);
    picker.show();
    QSignalSpy picked(&picker, &PopUpPicker::activated);
    QTest::keyClick(&picker, Qt::Key_Down);
    QTest::keyClick(&picker, Qt::Key_Down);
    QTest::keyClick(&picker, Qt::Key_Down);
    EXPECT_EQ(picker.currentIndex(), 2);
    EXPECT_EQ(picked.count(), 2);
    QTest::keyClick(&picker, Qt::Key_Up);
    EXPECT_EQ(picker.currentIndex(), 1);
    EXPECT_FALSE(picker.isPopupVisible());
    QTest::keyClick(&picker, Qt::Key_Space);
    EXPECT_TRUE(picker.isPopupVisible());
    picker.popup()->hide();
    EXPECT_EQ(picker.focusPolicy(), Qt::StrongFocus);
}

TEST(PopUpPicker, GlassCapsuleAlwaysBorderlessOnlyWhileHoveredOrOpen)
{
    using Kind = PopUpPicker::Kind;
    const struct {
        Kind kind;
        bool hovered;
        bool open;
        PopUpPicker::Look look;
    } rows[] = {
        {Kind::glass, false, false, {true, 0.50}},      {Kind::glass, true, false, {true, 0.70}},
        {Kind::glass, false, true, {true, 0.85}},       {Kind::glass, true, true, {true, 0.85}},
        {Kind::borderless, false, false, {false, 0.6}}, {Kind::borderless, true, false, {true, 0.6}},
        {Kind::borderless, false, true, {true, 0.85}},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(PopUpPicker::look(row.kind, row.hovered, row.open), row.look)
            << static_cast<int>(row.kind) << row.hovered << row.open;
    }
    // The borderless kind is narrower: no capsule padding to keep.
    EXPECT_LT(PopUpPicker(kModes, Kind::borderless).sizeHint().width(), PopUpPicker(kModes).sizeHint().width());
}

TEST(MenuStyle, RowsKeepInkLegibleAndDimDisabledOnes)
{
    for (const Appearance appearance : {Appearance::light, Appearance::dark}) {
        const MenuStyle::RowLook highlighted = MenuStyle::rowLook(true, true, appearance);
        EXPECT_TRUE(highlighted.highlighted);
        EXPECT_EQ(highlighted.text, Palette::ink().resolve(appearance));
        EXPECT_EQ(highlighted.fill, Palette::mint().resolve(appearance));
        const MenuStyle::RowLook rest = MenuStyle::rowLook(false, true, appearance);
        EXPECT_FALSE(rest.fill.has_value());
        EXPECT_EQ(rest.text, Palette::ink().resolve(appearance));
        // A disabled row is never highlighted, even under the pointer.
        const MenuStyle::RowLook disabled = MenuStyle::rowLook(true, false, appearance);
        EXPECT_FALSE(disabled.highlighted);
        EXPECT_EQ(disabled.text, Palette::inkTertiary().resolve(appearance));
    }
}
