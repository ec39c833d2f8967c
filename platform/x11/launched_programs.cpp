#include "platform/x11/launched_programs.h"

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

#include <algorithm>
#include <cerrno>

extern char** environ;

namespace vorn::platform {
namespace {

// Hosts often ignore these, and an ignored signal stays ignored across exec:
// a browser started with SIGCHLD ignored could not wait for its own children.
constexpr int kSignalsToReset[] = {SIGPIPE, SIGCHLD};

}  // namespace

bool LaunchedPrograms::start(const char* program, const char* argument) {
    if (!program || !argument) return false;
    reapEnded();

    posix_spawnattr_t attributes;
    if (posix_spawnattr_init(&attributes) != 0) return false;
    // Audio threads often block signals; the new program starts with none blocked.
    sigset_t noSignals, resetSignals;
    sigemptyset(&noSignals);
    sigemptyset(&resetSignals);
    for (int signal : kSignalsToReset) sigaddset(&resetSignals, signal);
    posix_spawnattr_setsigmask(&attributes, &noSignals);
    posix_spawnattr_setsigdefault(&attributes, &resetSignals);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);

    char* const arguments[] = {const_cast<char*>(program), const_cast<char*>(argument), nullptr};
    pid_t child = 0;
    const int error = posix_spawnp(&child, program, nullptr, &attributes, arguments, environ);
    posix_spawnattr_destroy(&attributes);
    if (error != 0) return false;
    running.push_back(child);
    return true;
}

void LaunchedPrograms::reapEnded() {
    running.erase(std::remove_if(running.begin(), running.end(),
                                 [](pid_t child) {
                                     int status = 0;
                                     const pid_t answer = waitpid(child, &status, WNOHANG);
                                     // ECHILD: the host reaps children itself.
                                     return answer == child || (answer < 0 && errno != EINTR);
                                 }),
                  running.end());
}

}  // namespace vorn::platform
