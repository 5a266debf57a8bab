#include "cli/NameEscape.h"

#include <algorithm>

#include "text/ControlBytes.h"

namespace tt::cli {

std::string PrintableName(const std::string& name, bool toTerminal) {
    const bool breaksLine =
        std::any_of(name.begin(), name.end(), [](char c) { return c == '\t' || c == '\n'; });
    if (toTerminal || breaksLine)
        return EscapeControlBytes(name);
    return name;
}

}  // namespace tt::cli
