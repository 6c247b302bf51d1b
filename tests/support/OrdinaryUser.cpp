#include "support/OrdinaryUser.h"

#include "support/SkippedExit.h"

#include <gtest/gtest.h>

#include <array>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include <fcntl.h>
#include <grp.h>
#include <pwd.h>
#include <spawn.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace harborlite::test {

namespace {

// Set in the child's environment to the pid of the process that waits for it.
constexpr char parentVariable[] = "HARBORLITE_TEST_ORDINARY_USER_OF";

struct Account {
    uid_t user = 65534;
    gid_t group = 65534;
};

Account ordinaryAccount()
{
    if (const passwd* entry = ::getpwnam("nobody")) {
        return {entry->pw_uid, entry->pw_gid};
    }
    return {};
}

std::string ownProgram()
{
    std::array<char, 4096> path{};
    const ssize_t length = ::readlink("/proc/self/exe", path.data(), path.size() - 1);
    return length > 0 ? std::string(path.data(), std::size_t(length)) : std::string();
}

} // namespace

void becomeOrdinaryUserWhenAsked()
{
    const char* parent = std::getenv(parentVariable);
    if (parent == nullptr) {
        return;
    }
    const Account account = ordinaryAccount();
    if (::setgroups(0, nullptr) != 0 || ::setgid(account.group) != 0 || ::setuid(account.user) != 0) {
        std::perror("cannot act as an ordinary user");
        std::_Exit(2);
    }
    // Changing the user cleared both: the leak checker needs a dumpable process,
    // and the child must not outlive a parent stopped by a time limit.
    ::prctl(PR_SET_DUMPABLE, 1);
    ::prctl(PR_SET_PDEATHSIG, SIGKILL);
    if (std::to_string(::getppid()) != parent) {
        std::_Exit(2);
    }
}

void asOrdinaryUser(const std::function<void()>& body)
{
    if (::geteuid() != 0) {
        body();
        return;
    }
    const testing::TestInfo* current = testing::UnitTest::GetInstance()->current_test_info();
    ASSERT_NE(current, nullptr);
    const std::string program = ownProgram();
    ASSERT_FALSE(program.empty());
    const std::string name = std::string(current->test_suite_name()) + "." + current->name();
    std::string filter = "--gtest_filter=" + name;
    std::vector<char*> arguments{const_cast<char*>(program.c_str()), filter.data(), nullptr};
    std::vector<std::string> variables{std::string(parentVariable) + "=" + std::to_string(::getpid())};
    for (char** variable = environ; *variable != nullptr; ++variable) {
        if (std::string(*variable).rfind(std::string(parentVariable) + "=", 0) != 0) {
            variables.emplace_back(*variable);
        }
    }
    std::vector<char*> environment;
    for (std::string& variable : variables) {
        environment.push_back(variable.data());
    }
    environment.push_back(nullptr);

    int channel[2];
    ASSERT_EQ(::pipe2(channel, O_CLOEXEC), 0);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, channel[1], STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(&actions, channel[1], STDERR_FILENO);
    pid_t child = 0;
    const int spawned = ::posix_spawn(&child, program.c_str(), &actions, nullptr, arguments.data(), environment.data());
    posix_spawn_file_actions_destroy(&actions);
    ::close(channel[1]);
    std::string output;
    if (spawned == 0) {
        std::array<char, 4096> buffer{};
        ssize_t n = 0;
        while ((n = ::read(channel[0], buffer.data(), buffer.size())) != 0) {
            if (n > 0) {
                output.append(buffer.data(), std::size_t(n));
            } else if (errno != EINTR) {
                break;
            }
        }
    }
    ::close(channel[0]);
    ASSERT_EQ(spawned, 0) << "cannot start " << program;
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) { }
    if (WIFEXITED(status) && WEXITSTATUS(status) == kSkippedExit
        && output.find("[  SKIPPED ] " + name) != std::string::npos) {
        GTEST_SKIP() << "the test acting as an ordinary user skipped:\n" << output;
    }
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "the test acting as an ordinary user failed:\n"
                                                               << output;
    // A filter that matched nothing would end the child with 0 as well.
    EXPECT_NE(output.find("[       OK ] " + name), std::string::npos) << "the child did not run " << name << ":\n"
                                                                      << output;
}

} // namespace harborlite::test
