#include "ui/ProgressWindow.h"

#include <QApplication>
#include <QCursor>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <algorithm>

#include "desktop/DialogRules.h"
#include "desktop/DialogUnits.h"
#include "text/UiLanguage.h"

namespace tt {

namespace {

// Work that has taken this long shows the window.
constexpr qint64 kShowAfterMs = 1000;
// Before this much time has passed the files done tell too little to estimate
// the whole work from.
constexpr qint64 kEstimateAfterMs = 100;
// Events are processed at most this often: often enough for the bar to move
// smoothly and Cancel to answer at once, rarely enough to cost a fast scan nothing.
constexpr qint64 kProcessEveryMs = 30;

const char* WorkText(EngineWork kind) {
    switch (kind) {
        case EngineWork::scan:
            return Tr("Reading song titles…", "Songtitel werden gelesen…");
        case EngineWork::rename:
            return Tr("Renaming files…", "Dateien werden umbenannt…");
        case EngineWork::copy:
            return Tr("Copying files…", "Dateien werden kopiert…");
    }
    return "";
}

}  // namespace

ProgressWindow::ProgressWindow(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QApplication::applicationName());
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setWindowModality(Qt::WindowModal);
    setObjectName(QStringLiteral("progress"));

    const DialogUnits du(font());
    setFixedSize(du.Size(200, 56));
    m_text = new QLabel(this);
    m_text->setGeometry(du.Rect(7, 7, 186, 10));
    m_bar = new QProgressBar(this);
    m_bar->setGeometry(du.Rect(7, 19, 186, 10));
    m_bar->setTextVisible(false);  // the count beside the button says it in words
    m_count = new QLabel(this);
    m_count->setGeometry(du.Rect(7, 37, 120, 10));
    m_cancel = new QPushButton(this);
    m_cancel->setGeometry(du.Rect(143, 35, 50, 14));
    m_cancel->setDefault(true);
    connect(m_cancel, &QPushButton::clicked, this, &ProgressWindow::reject);
    ApplyDialogRules(*this);
}

ProgressWindow::~ProgressWindow() {
    if (m_busyCursor)
        QApplication::restoreOverrideCursor();
}

void ProgressWindow::SetTexts(EngineWork kind) {
    // The language is settled once the main window is set up, after this
    // window was made: the texts are picked when work starts.
    const QString text = QString::fromUtf8(WorkText(kind));
    m_text->setText(text);
    m_bar->setAccessibleName(text);  // a bar has no text of its own
    m_cancel->setText(QString::fromUtf8(Tr("Cancel", "Abbrechen")));
    m_cancel->setEnabled(true);
}

void ProgressWindow::Begin(EngineWork kind, std::int32_t total) {
    SetTexts(kind);
    m_working = true;
    m_cancelled = false;
    m_done = 0;
    m_total = total;
    m_pausedMs = 0;
    m_lastProcessedMs = -1;
    m_clock.start();
}

void ProgressWindow::Step(std::int32_t done, std::int32_t total) {
    if (!m_working)
        return;
    m_done = done;
    m_total = total;
    ShowWhenSlow();
    ProcessEvents();
}

bool ProgressWindow::StopRequested() {
    if (!m_working)
        return false;
    ShowWhenSlow();
    ProcessEvents();
    return m_cancelled;
}

void ProgressWindow::End() {
    m_working = false;
    hide();
    if (m_busyCursor) {
        m_busyCursor = false;
        QApplication::restoreOverrideCursor();
    }
}

void ProgressWindow::ShowState(EngineWork kind, std::int32_t done, std::int32_t total) {
    SetTexts(kind);
    m_done = done;
    m_total = total;
    Display();
    show();
}

void ProgressWindow::reject() {
    if (!m_working) {
        QDialog::reject();
        return;
    }
    // The work sees it at the next file boundary and ends the window then.
    m_cancelled = true;
    m_cancel->setEnabled(false);
}

void ProgressWindow::Display() {
    m_bar->setRange(0, std::max(m_total, std::int32_t{1}));
    m_bar->setValue(std::clamp(m_done, std::int32_t{0}, m_total));
    m_count->setText(QStringLiteral("%1 / %2").arg(m_done).arg(m_total));
}

void ProgressWindow::ShowWhenSlow() {
    if (isVisible())
        return;
    const qint64 worked = m_clock.elapsed() - m_pausedMs;
    const bool slow = worked >= kShowAfterMs || (m_done > 0 && worked >= kEstimateAfterMs &&
                                                 worked * m_total >= kShowAfterMs * m_done);
    if (slow)
        Appear();
}

void ProgressWindow::Appear() {
    // The wait cursor would say Cancel cannot be clicked: over this window the
    // pointer says the program is busy but listening.
    if (!m_busyCursor) {
        m_busyCursor = true;
        QApplication::setOverrideCursor(QCursor(Qt::BusyCursor));
    }
    Display();
    show();
    raise();
    activateWindow();
    m_lastProcessedMs = -1;
}

void ProgressWindow::ProcessEvents() {
    if (!isVisible())
        return;
    const qint64 now = m_clock.elapsed();
    if (m_lastProcessedMs >= 0 && now - m_lastProcessedMs < kProcessEveryMs)
        return;
    Display();
    QApplication::processEvents();
    m_lastProcessedMs = m_clock.elapsed();
}

ProgressWindow::Pause::Pause(ProgressWindow& window) : m_window(window) {
    m_clock.start();
}

ProgressWindow::Pause::~Pause() {
    m_window.m_pausedMs += m_clock.elapsed();
}

}  // namespace tt
