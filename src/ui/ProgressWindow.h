#pragma once

#include <QDialog>
#include <QElapsedTimer>
#include <cstdint>

#include "engine/WorkProgress.h"

class QLabel;
class QProgressBar;
class QPushButton;

namespace tt {

// The window that shows over the main window while a folder scan, a rename or a
// copy runs longer than a second (or is estimated to): what is being done, the
// count of files done, a bar and Cancel. It is window-modal, so no other control
// of the program takes input while it shows.
//
// The work runs in the caller's thread. Events are processed only in Step and
// StopRequested, which the work calls between files, and only once the window
// shows: before that nothing else can run in the middle of the work.
class ProgressWindow : public QDialog {
    Q_OBJECT

  public:
    explicit ProgressWindow(QWidget* parent);
    ~ProgressWindow() override;

    // A new piece of work starts; the window stays hidden for now.
    void Begin(EngineWork kind, std::int32_t total);
    // `done` of `total` files are done.
    void Step(std::int32_t done, std::int32_t total);
    // At a file boundary: true once the user chose Cancel (the button, Esc or the
    // close box) during this piece of work.
    bool StopRequested();
    // The work is over: the window hides.
    void End();
    bool IsWorking() const { return m_working; }

    // Shows the window at once with the given state, without timing anything.
    void ShowState(EngineWork kind, std::int32_t done, std::int32_t total);

    // Time the user spends answering a question the work asks (overwrite, edit
    // name, a warning) does not count as time the work takes.
    class Pause {
      public:
        explicit Pause(ProgressWindow& window);
        Pause(const Pause&) = delete;
        Pause& operator=(const Pause&) = delete;
        ~Pause();

      private:
        ProgressWindow& m_window;
        QElapsedTimer m_clock;
    };

  protected:
    void reject() override;  // Cancel, Esc and the close box

  private:
    void SetTexts(EngineWork kind);
    void Display();
    // Shows the window when the work has run, or will run, longer than a second.
    void ShowWhenSlow();
    void Appear();
    // Lets the window repaint and see Cancel, at most every few milliseconds.
    void ProcessEvents();

    QLabel* m_text = nullptr;
    QProgressBar* m_bar = nullptr;
    QLabel* m_count = nullptr;
    QPushButton* m_cancel = nullptr;

    bool m_working = false;
    bool m_cancelled = false;
    bool m_busyCursor = false;  // this window's pointer is pushed while it shows
    std::int32_t m_done = 0;
    std::int32_t m_total = 0;
    QElapsedTimer m_clock;          // since Begin
    qint64 m_pausedMs = 0;          // spent in questions since Begin
    qint64 m_lastProcessedMs = -1;  // when events were last processed
};

}  // namespace tt
