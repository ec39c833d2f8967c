#include "tests/through_entry/check.h"

#include <cstring>

namespace vorn::checks {
namespace {

int passedCount = 0;
int failedCount = 0;
const char* currentGroup = "";

}  // namespace

std::vector<Group>& groups() {
    static std::vector<Group> all;
    return all;
}

void report(bool passed, const std::string& what, const char* file, int line) {
    if (passed) {
        ++passedCount;
        return;
    }
    ++failedCount;
    std::printf("FAILED [%s] %s:%d: %s\n", currentGroup, file, line, what.c_str());
}

int runAll(const char* filter) {
    int groupsRun = 0;
    for (const Group& group : groups()) {
        if (filter && !std::strstr(group.name, filter)) continue;
        currentGroup = group.name;
        int failedBefore = failedCount;
        group.run();
        ++groupsRun;
        std::printf("%s %s\n", failedCount == failedBefore ? "ok    " : "FAILED", group.name);
    }
    std::printf("checks: %d passed, %d failed\n", passedCount, failedCount);
    std::fflush(stdout);
    if (groupsRun == 0) return 2;
    return failedCount == 0 ? 0 : 1;
}

}  // namespace vorn::checks
