#include "tools/common/private_x_server.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>

namespace vorn::tools {
namespace {

constexpr const char* kServer = "Xvfb";
constexpr auto kStartWait = std::chrono::seconds(10);
// As scripts/xvfb.sh starts it: one 24-bit screen, no TCP, and no reset when
// the last client leaves, so a program may close its one connection and open
// another.
constexpr const char* kScreen = "1024x768x24";

struct Pipe {
    int readEnd = -1, writeEnd = -1;
    ~Pipe() {
        if (readEnd >= 0) close(readEnd);
        if (writeEnd >= 0) close(writeEnd);
    }
};

// The display number the server writes, with its newline, once it takes
// connections; empty if it does not within the wait or ends first.
std::string readDisplayNumber(int from) {
    std::string text;
    const auto deadline = std::chrono::steady_clock::now() + kStartWait;
    while (text.find('\n') == std::string::npos) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) return {};
        pollfd ready = {from, POLLIN, 0};
        const int answer = poll(&ready, 1, static_cast<int>(left.count()));
        if (answer < 0 && errno == EINTR) continue;
        if (answer <= 0) return {};
        char buffer[32];
        const ssize_t got = read(from, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) return {};
        text.append(buffer, static_cast<size_t>(got));
    }
    return text.substr(0, text.find('\n'));
}

}  // namespace

PrivateXServer::PrivateXServer() {
    Pipe pipe;
    int ends[2];
    if (::pipe(ends) != 0) {
        whyNot = std::string("no pipe: ") + std::strerror(errno);
        return;
    }
    pipe.readEnd = ends[0];
    pipe.writeEnd = ends[1];
    fcntl(pipe.readEnd, F_SETFD, FD_CLOEXEC);  // the server keeps only the write end

    const std::string numberFd = std::to_string(pipe.writeEnd);
    const char* arguments[] = {kServer, "-displayfd", numberFd.c_str(), "-noreset",
                               "-screen", "0", kScreen, "-nolisten", "tcp", nullptr};
    // Started by hand rather than with posix_spawn, so that the server ends
    // with this program even when it crashes or is killed.
    const pid_t parent = getpid();
    const pid_t child = fork();
    if (child < 0) {
        whyNot = std::string("cannot start ") + kServer + ": " + std::strerror(errno);
        return;
    }
    if (child == 0) {
        prctl(PR_SET_PDEATHSIG, SIGTERM);
        if (getppid() != parent) _exit(1);  // the program ended meanwhile
        const int nowhere = open("/dev/null", O_WRONLY);
        if (nowhere >= 0) {
            dup2(nowhere, STDOUT_FILENO);
            dup2(nowhere, STDERR_FILENO);
        }
        execvp(kServer, const_cast<char* const*>(arguments));
        _exit(127);
    }
    close(pipe.writeEnd);
    pipe.writeEnd = -1;

    const std::string number = readDisplayNumber(pipe.readEnd);
    if (number.empty()) {
        kill(child, SIGTERM);
        int status = 0;
        waitpid(child, &status, 0);
        whyNot = WIFEXITED(status) && WEXITSTATUS(status) == 127
                     ? std::string("cannot start ") + kServer + ": not found on PATH"
                     : std::string(kServer) + " did not take connections within " +
                           std::to_string(kStartWait.count()) + " s";
        return;
    }
    process = child;
    name = ":" + number;
}

PrivateXServer::~PrivateXServer() {
    if (process <= 0) return;
    kill(process, SIGTERM);
    while (waitpid(process, nullptr, 0) < 0 && errno == EINTR) {
    }
}

}  // namespace vorn::tools
