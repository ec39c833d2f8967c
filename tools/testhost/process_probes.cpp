#include "tools/testhost/process_probes.h"

#include <dirent.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace vorn::testhost {
namespace {

// Entries of a /proc folder whose names are numbers, each handed to `visit`.
template <typename Visit>
int countNumberedEntries(const char* folder, Visit visit) {
    DIR* directory = opendir(folder);
    if (!directory) return -1;
    int count = 0;
    while (const dirent* entry = readdir(directory)) {
        char* end = nullptr;
        const long number = std::strtol(entry->d_name, &end, 10);
        if (end == entry->d_name || *end != '\0') continue;
        if (visit(number)) ++count;
    }
    closedir(directory);
    return count;
}

// The parent's pid from /proc/<pid>/stat: the fourth field, after the name
// in parentheses (which may itself hold spaces and parentheses).
long parentOf(long pid) {
    const std::string path = "/proc/" + std::to_string(pid) + "/stat";
    FILE* file = std::fopen(path.c_str(), "r");
    if (!file) return -1;
    char line[512] = {};
    const bool read = std::fgets(line, sizeof line, file) != nullptr;
    std::fclose(file);
    if (!read) return -1;
    const std::string text = line;
    const size_t nameEnd = text.rfind(')');
    char state = 0;
    long parent = -1;
    if (nameEnd == std::string::npos ||
        std::sscanf(text.c_str() + nameEnd + 1, " %c %ld", &state, &parent) != 2)
        return -1;
    return parent;
}

}  // namespace

int openFileCount() {
    // The folder's own descriptor, open while it is read, is counted too:
    // the same in every call.
    return countNumberedEntries("/proc/self/fd", [](long) { return true; });
}

int childProcessCount() {
    const long self = getpid();
    return countNumberedEntries("/proc", [self](long pid) { return parentOf(pid) == self; });
}

}  // namespace vorn::testhost
