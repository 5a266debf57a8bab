#pragma once

#include <QMessageBox>
#include <QString>
#include <functional>

class QWidget;

namespace tt::test {

// Runs `action` on the next modal widget that becomes active (a message box, a
// dialog) once the code under test opens it; call it right before that code.
// The widget is found from a timer, so `action` runs inside the modal loop.
// Fails the current test when no modal widget shows within `timeoutMs`.
void AnswerNextModal(std::function<void(QWidget*)> action, int timeoutMs = 5000);

// Answers the next message box with `button` (NoButton: closes it), its text into
// `text` when given.
void AnswerNextMessageBox(QMessageBox::StandardButton button, QString* text = nullptr);

// From now on, a message box that stays open a second while no AnswerNextModal
// waits fails the current test, naming the box, and is closed (rejected), so a box
// the test did not expect never leaves the test waiting for its time limit. Call in
// main() once the application object exists.
void FailUnexpectedMessageBoxes();

// Presses the button of a message box or dialog whose text is `text`.
void ClickButton(QWidget* dialog, const QString& text);

// Points the settings store at a fresh empty folder for this process. Call in
// main() before the application object exists.
void UseTemporaryConfigHome();

}  // namespace tt::test

// main() of a window test: settings in a fresh folder, then the application.
#define TT_GUI_TEST_MAIN(TestClass)             \
    int main(int argc, char** argv) {           \
        tt::test::UseTemporaryConfigHome();     \
        QApplication app(argc, argv);           \
        tt::test::FailUnexpectedMessageBoxes(); \
        TestClass test;                         \
        return QTest::qExec(&test, argc, argv); \
    }
