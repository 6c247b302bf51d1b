#include "ui/components/CheckBoxStyle.h"
#include "ui/components/TriStateToggle.h"

#include <QCheckBox>
#include <QStyle>
#include <QStyleOption>

#include "TransparentRender.h"

#include <gtest/gtest.h>

using namespace harborlite;

namespace {

// The colour the box's edge is painted in: the middle of its left side.
QColor leftEdge(const QImage& image, const QRect& box)
{
    return image.pixelColor(box.left() + 1, box.center().y());
}

} // namespace

TEST(CheckBoxStyle, AStandardCheckBoxDrawsTheKitsBoxInBothAppearances)
{
    for (const Appearance appearance : {Appearance::light, Appearance::dark}) {
        SCOPED_TRACE(appearance == Appearance::dark ? "dark" : "light");
        QCheckBox box(QStringLiteral("Check for updates automatically"));
        CheckBoxStyle::apply(&box);
        Palette::setOwnAppearance(&box, appearance);
        box.resize(box.sizeHint());
        ASSERT_NE(qobject_cast<CheckBoxStyle*>(box.style()), nullptr);
        EXPECT_EQ(box.style()->pixelMetric(QStyle::PM_IndicatorWidth), 15);

        QStyleOptionButton option;
        option.initFrom(&box);
        const QRect indicator = box.style()->subElementRect(QStyle::SE_CheckBoxIndicator, &option, &box);
        const QColor empty = leftEdge(transparentRender(box), indicator);
        const QColor wanted = TriStateToggle::edgeColor(TriStateToggle::State::none, appearance);
        EXPECT_NEAR(empty.red(), wanted.red(), 40);
        EXPECT_NEAR(empty.green(), wanted.green(), 40);

        box.setChecked(true);
        const QImage checked = transparentRender(box);
        EXPECT_EQ(checked.pixelColor(indicator.left() + 3, indicator.top() + 3).rgb(),
                  Palette::accent().resolve(appearance).rgb());
    }
}
