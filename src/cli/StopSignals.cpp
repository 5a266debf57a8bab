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
    // Not restarted: a question waiting for its answer on the terminal ends as
    // Cancel. The file layer takes up reads and writes the signal cut short.
    action.sa_flags = 0;
    // A closed output (the reader of a pipe ended) stops the run the same way:
    // the lines of the files done can no longer be told.
    for (const int signal : {SIGINT, SIGTERM, SIGHUP, SIGPIPE})
        ::sigaction(signal, &action, nullptr);
}

int StopSignal() {
    return g_stopSignal;
}

}  // namespace tt::cli
