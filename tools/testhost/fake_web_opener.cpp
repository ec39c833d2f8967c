#include "tools/testhost/fake_web_opener.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

namespace vorn::testhost {
namespace {

constexpr mode_t kExecutable = 0755;

}  // namespace

FakeWebOpener::FakeWebOpener(const char* programName) {
    char pattern[] = "/tmp/vorn-opener.XXXXXX";
    if (!mkdtemp(pattern)) return;
    folder = pattern;
    program = folder + "/" + programName;
    recordPath = folder + "/record";
    // Written to a second name and moved into place, so that a reader never
    // sees half of it.
    std::ofstream script(program);
    script << "#!/bin/sh\n"
           << "printf '%s\\n' \"$#\" \"$@\" > '" << recordPath << ".part'\n"
           << "mv '" << recordPath << ".part' '" << recordPath << "'\n";
    script.close();
    chmod(program.c_str(), kExecutable);

    const char* path = std::getenv("PATH");
    savedPath = path ? path : "";
    setenv("PATH", (folder + ":" + savedPath).c_str(), 1);
}

FakeWebOpener::~FakeWebOpener() {
    if (folder.empty()) return;
    setenv("PATH", savedPath.c_str(), 1);
    std::remove(recordPath.c_str());
    std::remove((recordPath + ".part").c_str());
    std::remove(program.c_str());
    rmdir(folder.c_str());
}

std::string FakeWebOpener::record() const {
    std::ifstream file(recordPath);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

}  // namespace vorn::testhost
