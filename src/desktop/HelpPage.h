#pragma once

#include <QString>

class QWidget;

namespace tt {

// The help page the Help button opens: "Tunetitler.htm" in German,
// "Tunetitler_e.htm" in English, looked up in the folder that was current at
// start, then in the installed data folder, then in the source tree's data
// folder (a program run from its build folder). Empty when none exists.
QString FindHelpPage(const QString& startDir, bool german);

// The program that opens a page with the desktop's default program; tests name
// one of their own. Where it is missing, Qt's desktop services are asked.
inline QString g_pageOpener = QStringLiteral("xdg-open");

// Opens `page` with the desktop's default program. When there is none, or it
// fails, a message box owned by `owner` says so and names the page's path, so
// the user can open it by hand. Returns at once: the box may come a moment later.
void OpenHelpPage(QWidget* owner, const QString& page);

}  // namespace tt
