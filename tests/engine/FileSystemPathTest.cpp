#include "shared/FileSystem.h"

#include <gtest/gtest.h>

using namespace harborlite;

TEST(FileSystemPath, TrimsTrailingSlashesButKeepsRoot)
{
    EXPECT_EQ(FS::path(QStringLiteral("/a/b/")), QStringLiteral("/a/b"));
    EXPECT_EQ(FS::path(QStringLiteral("/a/b///")), QStringLiteral("/a/b"));
    EXPECT_EQ(FS::path(QStringLiteral("/")), QStringLiteral("/"));
    EXPECT_EQ(FS::path(QStringLiteral("//")), QStringLiteral("/"));
}
