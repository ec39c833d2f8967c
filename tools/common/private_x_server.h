#pragma once
// An X server of the program's own (Xvfb), for the programs that open the
// Linux editor in real windows by themselves: the server picks a free display
// number (-displayfd), so programs started together never share one. It runs
// until the object goes. Native builds only.

#include <sys/types.h>

#include <string>

namespace vorn::tools {

class PrivateXServer {
public:
    // Starts the server and waits until it takes connections; see started().
    PrivateXServer();
    ~PrivateXServer();  // ends the server
    PrivateXServer(const PrivateXServer&) = delete;
    PrivateXServer& operator=(const PrivateXServer&) = delete;

    bool started() const { return process > 0; }
    // Why it did not start, e.g. no Xvfb on PATH.
    const std::string& failure() const { return whyNot; }
    // ":N", to put into DISPLAY.
    const std::string& display() const { return name; }
    pid_t pid() const { return process; }

private:
    pid_t process = 0;
    std::string name;
    std::string whyNot;
};

}  // namespace vorn::tools
