#include "ui/theme/Symbols.h"

#include <QDirIterator>
#include <QFile>
#include <QIcon>
#include <QRegularExpression>

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

using namespace harborlite;

namespace {

bool anyPixelPainted(const QImage& image)
{
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (image.pixelColor(x, y).alpha() > 0) {
                return true;
            }
        }
    }
    return false;
}

// Lower-case dotted literals in the component and gallery sources: the
// symbol names the code draws.
std::set<QString> symbolLiteralsInSources()
{
    // The test sources' folder as CMake names it: __FILE__ is relative when the
    // compiler cache rewrites paths, and would then depend on where tests run.
    const QString root = QStringLiteral(QT_TESTCASE_SOURCEDIR) + QStringLiteral("/../src");
    const QRegularExpression literal(QStringLiteral(R"re(QStringLiteral\("([a-z][a-z0-9]*(?:\.[a-z0-9]+)*)"\))re"));
    std::set<QString> found;
    for (const QString& folder : {QStringLiteral("/ui/components"), QStringLiteral("/gallery")}) {
        QDirIterator files(root + folder, {QStringLiteral("*.cpp")}, QDir::Files);
        while (files.hasNext()) {
            QFile file(files.next());
            if (!file.open(QIODevice::ReadOnly)) {
                continue;
            }
            const QString text = QString::fromUtf8(file.readAll());
            for (const QRegularExpressionMatch& match : literal.globalMatch(text)) {
                found.insert(match.captured(1));
            }
        }
    }
    return found;
}

} // namespace

TEST(Symbols, EveryNameResolvesToAnIconOfTheTheme)
{
    Symbols::useIconTheme();
    EXPECT_EQ(QIcon::themeName(), QString::fromLatin1(Symbols::kThemeName));
    EXPECT_TRUE(QIcon::themeSearchPaths().contains(QStringLiteral("/usr/share/icons")));
    const std::vector<QString>& names = Symbols::names();
    EXPECT_GT(names.size(), 80U);
    EXPECT_TRUE(std::is_sorted(names.begin(), names.end()));
    EXPECT_EQ(std::adjacent_find(names.begin(), names.end()), names.end());
    for (const QString& name : names) {
        EXPECT_TRUE(Symbols::resolves(name))
            << name.toStdString() << " -> " << Symbols::themeIconName(name).value_or(QString()).toStdString();
    }
}

TEST(Symbols, EveryNameTheCodeDrawsIsCatalogued)
{
    const std::set<QString> used = symbolLiteralsInSources();
    EXPECT_TRUE(used.contains(QStringLiteral("checkmark")));
    for (const QString& name : used) {
        EXPECT_TRUE(Symbols::isCatalogued(name)) << name.toStdString();
    }
}

TEST(Symbols, TheIconTakesTheBrushAndUnknownNamesGetTheFallback)
{
    for (const QString& name : {QStringLiteral("trash"), QStringLiteral("no.such.symbol")}) {
        const QImage image = Symbols::pixmap(name, 24, QColor(Qt::red), 1).toImage();
        ASSERT_EQ(image.size(), QSize(24, 24));
        EXPECT_TRUE(anyPixelPainted(image)) << name.toStdString();
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                const QColor pixel = image.pixelColor(x, y);
                if (pixel.alpha() == 255) {
                    EXPECT_EQ(pixel, QColor(Qt::red));
                }
            }
        }
    }
    EXPECT_FALSE(Symbols::themeIconName(QStringLiteral("no.such.symbol")).has_value());
    EXPECT_EQ(Symbols::pixmap(QStringLiteral("xmark"), 10, Qt::white, 2).size(), QSize(20, 20));
}

TEST(Symbols, MeaningsAdwaitaLacksArePaintedWithTheirMarks)
{
    const QStringList painted = {"slider.horizontal.3",
                                 "info.circle.fill",
                                 "shield",
                                 "shield.lefthalf.filled",
                                 "checkmark.shield.fill",
                                 "exclamationmark.shield.fill",
                                 "lock.shield.fill",
                                 "flame",
                                 "arrow.down.circle",
                                 "arrow.down.circle.fill",
                                 "circle.lefthalf.filled",
                                 "questionmark.circle.fill",
                                 "folder.fill",
                                 "chevron.right",
                                 "chevron.down",
                                 "chevron.up"};
    for (const QString& name : painted) {
        SCOPED_TRACE(name.toStdString());
        EXPECT_TRUE(Symbols::isCatalogued(name));
        EXPECT_TRUE(Symbols::isPainted(name));
        EXPECT_FALSE(Symbols::themeIconName(name).has_value());
        const QImage image = Symbols::pixmap(name, 48, QColor(Qt::red), 1).toImage();
        EXPECT_TRUE(anyPixelPainted(image));
    }
    // Points of each symbol drawn 100 pixels square, clear (alpha 0) or filled (255).
    struct Probe {
        const char* symbol;
        QPoint at;
        int alpha;
    };
    const Probe probes[] = {
        // The marks are cut out of the filled shapes: the middle of the shield
        // with a warning is clear where its stroke runs, filled where the
        // checkmark's shield has no mark.
        {"exclamationmark.shield.fill", {50, 40}, 0},
        {"exclamationmark.shield.fill", {30, 40}, 255},
        {"checkmark.shield.fill", {50, 40}, 255},
        {"info.circle.fill", {50, 60}, 0},
        {"info.circle.fill", {25, 50}, 255},
        // The appearance symbol: the left half filled, the right half open inside its ring.
        {"circle.lefthalf.filled", {30, 50}, 255},
        {"circle.lefthalf.filled", {70, 50}, 0},
        {"circle.lefthalf.filled", {92, 50}, 255},
        // The unverified mark: a disc with the question mark's dot cut out.
        {"questionmark.circle.fill", {50, 74}, 0},
        {"questionmark.circle.fill", {20, 50}, 255},
        // The filled folder is solid in its middle, where an outline would be clear.
        {"folder.fill", {50, 56}, 255},
        {"folder.fill", {80, 18}, 0},
        // Chevrons are open strokes that reach across the square, not small triangles.
        {"chevron.right", {66, 50}, 255},
        {"chevron.right", {36, 14}, 255},
        {"chevron.right", {40, 50}, 0},
        {"chevron.down", {50, 65}, 255},
        {"chevron.down", {50, 40}, 0},
    };
    for (const Probe& probe : probes) {
        SCOPED_TRACE(probe.symbol);
        const QImage image = Symbols::pixmap(QString::fromLatin1(probe.symbol), 100, Qt::black, 1).toImage();
        EXPECT_EQ(image.pixelColor(probe.at).alpha(), probe.alpha) << probe.at.x() << "," << probe.at.y();
    }
    EXPECT_FALSE(Symbols::isPainted(QStringLiteral("trash")));
    EXPECT_FALSE(Symbols::isPainted(QStringLiteral("no.such.symbol")));
}
