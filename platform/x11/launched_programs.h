#pragma once
// Programs the editor starts (the desktop's opener for a web address) and
// must not leave behind as zombies in the host's process: each is started
// without a shell, its one argument handed over as it is, and reaped by a
// later call instead of being waited for.

#include <sys/types.h>

#include <vector>

namespace vorn::platform {

class LaunchedPrograms {
public:
    LaunchedPrograms() = default;
    LaunchedPrograms(const LaunchedPrograms&) = delete;
    LaunchedPrograms& operator=(const LaunchedPrograms&) = delete;

    // Starts `program`, found on PATH, with `argument` as its only argument.
    // False if it could not be started.
    bool start(const char* program, const char* argument);

    // Collects those that have ended, without waiting for the others.
    void reapEnded();
    // Started and not yet collected.
    size_t runningCount() const { return running.size(); }

private:
    std::vector<pid_t> running;
};

}  // namespace vorn::platform
