#include "platform/ProcessName.h"
#include "support/FixtureTree.h"

#include <gtest/gtest.h>

using namespace harborlite;
using harborlite::test::FixtureTree;

TEST(ProcessName, ACutCommandNameIsCompletedFromTheProgramOrItsCommandLine)
{
    struct Row {
        const char* why;
        std::string_view command;
        // Empty: no such file for the process.
        QString exe;
        QByteArray cmdline;
        QString expected;
    };
    const Row rows[] = {
        {"the program's file name", "harborlite-acce", "/usr/libexec/harborlite-accessibility", "harborlite-acce\0",
         "harborlite-accessibility"},
        {"a program replaced since it started",
         "harborlite-acce",
         "/opt/harborlite-accessibility (deleted)",
         {},
         "harborlite-accessibility"},
        {"started through a link of another name: the command line", "harborlite-long", "/usr/bin/cat",
         QByteArray("/tmp/links/harborlite-long-name\0--flag\0", 39), "harborlite-long-name"},
        {"another user's process, whose program is hidden",
         "harborlite-acce",
         {},
         QByteArray("harborlite-accessibility\0", 25),
         "harborlite-accessibility"},
        {"a command line rewritten into one string",
         "harborlite-rend",
         {},
         QByteArray("/opt/h/harborlite-renderer --type=gpu --dir=/a/b\0", 49),
         "harborlite-renderer"},
        {"renamed by the process itself", "worker-thread-1", "/usr/bin/python3", QByteArray("python3\0job.py\0", 15),
         "worker-thread-1"},
        {"a kernel thread", "kworker/u16:0-e", {}, {}, "kworker/u16:0-e"},
        {"a name the kernel did not cut", "cat", "/usr/bin/catalogue", QByteArray("catalogue\0", 10), "cat"},
        {"cut inside a character: bytes are compared",
         "harborlite-abc\xc3",
         "/usr/bin/harborlite-abc\u00e9",
         {},
         QStringLiteral("harborlite-abc\u00e9")},
        {"a name of exactly fifteen bytes", "fifteen-letters", "/usr/bin/fifteen-letters", {}, "fifteen-letters"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.why);
        FixtureTree tree;
        tree.folder("proc/42");
        if (!row.exe.isEmpty()) {
            tree.symlink("proc/42/exe", row.exe);
        }
        if (!row.cmdline.isEmpty()) {
            tree.file("proc/42/cmdline", row.cmdline);
        }
        EXPECT_EQ(platform::processName(tree.path("proc"), 42, row.command), row.expected);
    }
}

TEST(ProcessName, AProcessGoneKeepsItsCommandName)
{
    FixtureTree tree;
    tree.folder("proc");
    EXPECT_EQ(platform::processName(tree.path("proc"), 42, "harborlite-acce"), QStringLiteral("harborlite-acce"));
}
