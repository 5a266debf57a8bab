// Tunetitler: the desktop program.
#include <QApplication>

#include "app/CommandLine.h"

int main(int argc, char** argv) {
    if (const auto status = tt::HandleCommandLine(argc, argv))
        return *status;
    QApplication app(argc, argv);
    return 0;
}
