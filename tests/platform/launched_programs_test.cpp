// Programs started without a shell and reaped without waiting.

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>

#include "platform/x11/launched_programs.h"

namespace vorn::platform {
namespace {

// A program that writes its argument count and arguments, one a line.
class RecordingProgram : public ::testing::Test {
protected:
    std::string folder, program, record;

    void SetUp() override {
        char pattern[] = "/tmp/vorn-launch-test.XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        folder = pattern;
        program = folder + "/recorder";
        record = folder + "/record";
        std::ofstream(program) << "#!/bin/sh\nprintf '%s\\n' \"$#\" \"$@\" > '" << record
                               << ".part'\nmv '" << record << ".part' '" << record << "'\n";
        chmod(program.c_str(), 0755);
    }
    void TearDown() override {
        std::remove(record.c_str());
        std::remove(program.c_str());
        rmdir(folder.c_str());
    }

    // Reaps until nothing is left running, for at most five seconds.
    static bool reapAll(LaunchedPrograms& programs) {
        for (int attempt = 0; attempt < 500 && programs.runningCount() != 0; ++attempt) {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
            programs.reapEnded();
        }
        return programs.runningCount() == 0;
    }
    std::string recorded() const {
        std::stringstream text;
        text << std::ifstream(record).rdbuf();
        return text.str();
    }
};

TEST_F(RecordingProgram, TheArgumentArrivesAloneAndAsItIsWhateverItHolds) {
    const std::string argument = "https://example.invalid/a b?x=1&y='2' \"$(touch " + folder +
                                 "/hacked)\"; touch " + folder + "/hacked2 | `id` *";
    LaunchedPrograms programs;
    ASSERT_TRUE(programs.start(program.c_str(), argument.c_str()));
    ASSERT_TRUE(reapAll(programs));
    EXPECT_EQ(recorded(), "1\n" + argument + "\n");
    EXPECT_NE(access((folder + "/hacked").c_str(), F_OK), 0);
    EXPECT_NE(access((folder + "/hacked2").c_str(), F_OK), 0);
}

TEST_F(RecordingProgram, EndedProgramsAreReapedAndAMissingOneStartsNothing) {
    LaunchedPrograms programs;
    EXPECT_FALSE(programs.start((folder + "/missing").c_str(), "x"));
    EXPECT_FALSE(programs.start(nullptr, "x"));
    EXPECT_EQ(programs.runningCount(), 0u);

    // Programs that outlive the second start, so that both are still counted.
    ASSERT_TRUE(programs.start("sleep", "2"));
    ASSERT_TRUE(programs.start("sleep", "2"));
    EXPECT_EQ(programs.runningCount(), 2u);
    EXPECT_TRUE(reapAll(programs));
    // Nothing of ours is left for anyone to wait for, not even a zombie.
    EXPECT_EQ(waitpid(-1, nullptr, WNOHANG), -1);
}

}  // namespace
}  // namespace vorn::platform
