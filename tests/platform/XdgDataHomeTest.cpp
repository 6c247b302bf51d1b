#include "platform/XdgDataHome.h"
#include "platform/HomeFolder.h"
#include "support/QtPrinters.h"

#include <gtest/gtest.h>

using namespace harborlite;

TEST(XdgDataHome, FollowsASubstitutedHomeWhateverTheEnvironmentSays)
{
    const QByteArray saved = qgetenv("XDG_DATA_HOME");
    qputenv("XDG_DATA_HOME", "/elsewhere/share");
    EXPECT_EQ(platform::xdgDataHome().get(), QStringLiteral("/elsewhere/share"));
    {
        platform::Seam<QString>::Override home(platform::homeFolder(), QStringLiteral("/fixture/home"));
        EXPECT_EQ(platform::xdgDataHome().get(), QStringLiteral("/fixture/home/.local/share"));
        platform::Seam<QString>::Override data(platform::xdgDataHome(), QStringLiteral("/fixture/data"));
        EXPECT_EQ(platform::xdgDataHome().get(), QStringLiteral("/fixture/data"));
    }
    qputenv("XDG_DATA_HOME", "relative/share");
    EXPECT_EQ(platform::xdgDataHome().get(), platform::homeFolder().get() + QStringLiteral("/.local/share"));
    if (saved.isNull()) {
        qunsetenv("XDG_DATA_HOME");
    } else {
        qputenv("XDG_DATA_HOME", saved);
    }
}
