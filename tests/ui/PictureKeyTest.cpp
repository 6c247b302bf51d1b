#include "ui/paintcache/PictureKey.h"

#include <QHash>

#include <gtest/gtest.h>

using namespace harborlite;

// Keys that differ in their look, size or ratio, however little, name
// different pictures in text and in hash; equal keys name the same one.
TEST(PictureKey, KeysOfDifferentPicturesNeverMeet)
{
    const PictureKey base{PictureLook::of(u"fill", QColor(200, 60, 40)), QSize(120, 28), 1};
    struct Case {
        const char* name;
        PictureKey other;
    };
    const Case cases[] = {
        {"another ratio", {base.look, base.size, 2}},
        {"a ratio past six digits", {base.look, base.size, 1.0000001}},
        {"another size", {base.look, QSize(120, 29), 1}},
        {"another colour", {PictureLook::of(u"fill", QColor(200, 60, 41)), base.size, 1}},
        {"no colour, not black", {PictureLook::of(u"fill", QColor()), base.size, 1}},
        {"another kind", {PictureLook::of(u"disc", QColor(200, 60, 40)), base.size, 1}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_FALSE(c.other == base);
        EXPECT_NE(c.other.text(), base.text());
        EXPECT_NE(qHash(c.other), qHash(base));
    }
    EXPECT_NE(PictureLook::of(u"fill", QColor()), PictureLook::of(u"fill", QColor(Qt::black)));

    const PictureKey same{PictureLook::of(u"fill", QColor(200, 60, 40)), QSize(120, 28), 1};
    EXPECT_TRUE(same == base);
    EXPECT_EQ(same.text(), base.text());
    EXPECT_EQ(qHash(same), qHash(base));
}

// Texts in a look say how long they are: parts never run into one another,
// nor a look nested in another.
TEST(PictureKey, TextPartsStayApart)
{
    EXPECT_NE(PictureLook::of(u"stack", QStringLiteral("a|b"), QStringLiteral("c")),
              PictureLook::of(u"stack", QStringLiteral("a"), QStringLiteral("b|c")));
    EXPECT_NE(PictureLook::of(u"symbol", QStringLiteral("doc-1")),
              PictureLook::of(u"symbol", QStringLiteral("doc"), 1));
}

// The text is the same in every run: written in full, with no address or
// order of its own.
TEST(PictureKey, TextIsStable)
{
    const PictureKey key{PictureLook::of(u"ring", 8, 1.25, QColor(255, 0, 0), QStringLiteral("x")), QSize(10, 20), 1.5};
    EXPECT_EQ(key.text(), QStringLiteral("harborlite|ring|8|1.25|ffff00000000ffff|1:x|10x20@1.5"));
}
