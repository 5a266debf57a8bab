#pragma once

namespace tt::cli {

// SIGINT, SIGTERM and SIGHUP stop a rename or copy at the next file boundary
// instead of ending the tool in the middle of a file step; so does SIGPIPE (the
// reader of standard output went away). Installed once at start.
void CatchStopSignals();
// The signal that asked to stop, 0 while none did.
int StopSignal();
// The exit status after a stop by `signal`: 128 + its number (130, 143, 129).
inline int ExitStatusAfter(int signal) {
    return 128 + signal;
}

}  // namespace tt::cli
