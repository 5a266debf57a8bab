#include "desktop/DialogRules.h"

#include <QDialog>
#include <QEvent>
#include <QPushButton>

#include "desktop/ScreenFit.h"

namespace tt {

namespace {

// A push button with "auto default" on becomes the dialog's default button while
// it has the focus, so Enter presses it; when the focus leaves it, Enter goes to
// the dialog's own default button again.
class FocusedButtonTakesEnter : public QObject {
  public:
    explicit FocusedButtonTakesEnter(QDialog& dialog) : QObject(&dialog) {
        dialog.installEventFilter(this);
    }

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Show) {
            for (QPushButton* button : watched->findChildren<QPushButton*>())
                button->setAutoDefault(true);
        }
        return false;
    }
};

}  // namespace

void ApplyDialogRules(QDialog& dialog) {
    new FocusedButtonTakesEnter(dialog);
    KeepOnScreen(dialog);
}

}  // namespace tt
