#pragma once
// Stands in for the desktop's web-address opener while it lives: a program
// of that name, first on PATH, that writes down the arguments it was given
// (their count, then each on a line) instead of opening anything.

#include <string>

namespace vorn::testhost {

class FakeWebOpener {
public:
    explicit FakeWebOpener(const char* programName);
    ~FakeWebOpener();  // PATH as it was, the files removed
    FakeWebOpener(const FakeWebOpener&) = delete;
    FakeWebOpener& operator=(const FakeWebOpener&) = delete;

    bool ready() const { return !folder.empty(); }
    // What the program wrote down; empty until it has run.
    std::string record() const;

private:
    std::string folder, program, recordPath, savedPath;
};

}  // namespace vorn::testhost
