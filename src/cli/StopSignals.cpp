#include "cli/StopSignals.h"

#include <csignal>
#include <initializer_list>

namespace tt::cli {

namespace {

volatile std::sig_atomic_t g_stopSignal = 0;

extern "C" void NoteStopSignal(int signal) {
    if (g_stopSignal == 0)
        g_stopSignal = signal;
}

}  // namespace

void CatchStopSignals() {
    struct sigaction action {};
    action.sa_handler = NoteStopSignal;
    sigemptyset(&action.sa_mask);
    // Restarted: a file step on a FUSE medium must not fail because of the signal;
    // the stop comes at the next file boundary.
    action.sa_flags = SA_RESTART;
    // A closed output (the reader of a pipe ended) stops the run the same way:
    // the lines of the files done can no longer be told.
    for (const int signal : {SIGINT, SIGTERM, SIGHUP, SIGPIPE})
        ::sigaction(signal, &action, nullptr);
}

int StopSignal() {
    return g_stopSignal;
}

}  // namespace tt::cli
