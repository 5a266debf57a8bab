#pragma once

#include <QString>

#include "engine/OverwriteAnswer.h"

class QWidget;

namespace tt {

// The program's message boxes, captioned with the application name and owned by
// `parent` (the main window or the dialog it shows).

// A warning or error: exclamation icon, OK.
void ShowWarningBox(QWidget* parent, const QString& text);
// The overwrite question: question icon, Yes/No/Cancel. Closing the box is Cancel.
OverwriteAnswer AskOverwriteBox(QWidget* parent, const QString& text);

// Texts of the core (UTF-8 bytes) for display.
QString FromCore(const std::string& text);
// A path shown in the window back to the bytes the file system knows it by.
std::string PathToCore(const QString& path);
QString PathFromCore(const std::string& path);

}  // namespace tt
