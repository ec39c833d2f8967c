#pragma once
// The window system of the unit tests and tools: the software window system
// with nothing shown and nothing opened. Capture, cursor and web addresses
// are recorded so that tests and tools can look at them; no input arrives on
// its own, and paints happen when a test or tool sends them.

#include <optional>
#include <string>
#include <vector>

#include "platform/software/software_window_system.h"

namespace vorn::platform {

class HeadlessWindowSystem final : public SoftwareWindowSystem {
public:
    void destroyWindow(Window window) override;
    void deliverInput(Window) override {}
    void updateWindow(Window) override {}
    // Like Win32 unless a test asks for the X11 policy.
    bool skipsUnchangedFrames() const override { return skipUnchangedFrames; }

    void setCapture(Window window) override;
    void releaseCapture() override;
    void setCursor(Cursor cursor) override;
    void openWebAddress(const char* address) override;

    // --- For tests and tools ---

    void setSkipsUnchangedFrames(bool skip) { skipUnchangedFrames = skip; }
    Window capturedWindow() const { return captured; }
    std::optional<Cursor> lastCursor() const { return cursor; }
    const std::vector<std::string>& openedAddresses() const { return addresses; }

    // Forgets every window, class, object and record, and the policy set.
    void reset();

private:
    Window captured = nullptr;
    std::optional<Cursor> cursor;
    std::vector<std::string> addresses;
    bool skipUnchangedFrames = false;
};

HeadlessWindowSystem& headlessWindowSystem();

}  // namespace vorn::platform
