#pragma once
// What a plug-in may leave behind in its host's process, read from /proc:
// open file descriptors (a connection not closed) and child processes (one
// started and never reaped). Linux only.

namespace vorn::testhost {

int openFileCount();
// Children of this process, running or ended and not yet reaped.
int childProcessCount();

}  // namespace vorn::testhost
