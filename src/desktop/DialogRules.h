#pragma once

class QDialog;

namespace tt {

// What every dialog of the program does, shown over the main window or alone:
// Enter presses the push button that has the keyboard focus (elsewhere it goes to
// the default button), and the dialog is kept inside its screen's available area
// each time it is shown. Call once, when the dialog is made; push buttons added
// later follow the rule too.
void ApplyDialogRules(QDialog& dialog);

}  // namespace tt
