#pragma once

namespace tt {

// The main window's title, the same in both languages. A running copy is found by
// it (together with the application name and the user), so it never changes.
inline constexpr const char kMainWindowTitle[] =
    "Tunetitler  -  Rename Midi Songs, Yamaha Styles and Solton Patterns";

}  // namespace tt
