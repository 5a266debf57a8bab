#pragma once

#include <QString>

namespace tt {

// The help page the Help button opens: "Tunetitler.htm" in German,
// "Tunetitler_e.htm" in English, looked up in the folder that was current at
// start, then in the installed data folder, then in the source tree's data
// folder (a program run from its build folder). Empty when none exists.
QString FindHelpPage(const QString& startDir, bool german);

}  // namespace tt
