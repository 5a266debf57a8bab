// Tunetitler: the desktop program.
#include "app/CommandLine.h"
#include "app/TunetitlerApp.h"

int main(int argc, char** argv) {
    if (const auto status = tt::HandleCommandLine(argc, argv))
        return *status;
    tt::CTunetitlerApp app(argc, argv);
    return app.InitInstance();
}
