#include "app/CommandLine.h"

namespace tt {

std::optional<int> HandleCommandLine(int /*argc*/, char** /*argv*/) {
    return std::nullopt;
}

}  // namespace tt
