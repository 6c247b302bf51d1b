#include "engine/apps/NameOrder.h"
#include "support/QtPrinters.h"

#include <QStringList>

#include <gtest/gtest.h>

using namespace harborlite;

TEST(NameOrder, CaseInsensitiveNumericAndStable)
{
    struct Entry {
        QString name;
        int found;
    };
    QList<Entry> entries = {{"App 10", 0}, {"app 2", 1}, {"App 1", 2}, {"beta", 3}, {"Alpha", 4},
                            {"item10", 5}, {"item2", 6}, {"Beta", 7},  {"Ärger", 8}};
    NameOrder().sort(entries, [](const Entry& e) { return e.name; });
    QStringList names;
    QList<int> order;
    for (const Entry& e : entries) {
        names << e.name;
        order << e.found;
    }
    EXPECT_EQ(names.mid(0, 4), (QStringList{"Alpha", "App 1", "app 2", "App 10"}));
    EXPECT_EQ(names.indexOf("item2") + 1, names.indexOf("item10"));
    EXPECT_LT(names.indexOf("Alpha"), names.indexOf("Ärger"));
    EXPECT_LT(names.indexOf("Ärger"), names.indexOf("beta"));
    // "beta" and "Beta" compare equal without case: discovery order holds.
    EXPECT_LT(names.indexOf("beta"), names.indexOf("Beta"));
}
