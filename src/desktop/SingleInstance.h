#pragma once

#include <QObject>
#include <QString>
#include <memory>

class QLocalServer;
class QLockFile;

namespace tt {

// Lets one copy of the program run per user. The first copy takes a lock file and
// listens on a local socket, both named after the application, the main window's
// title and the user; a later copy finds the lock taken, asks the running copy
// over the socket to come to the front, and ends. The lock decides, so two copies
// started at the same instant end with exactly one running.
class SingleInstance : public QObject {
    Q_OBJECT

  public:
    explicit SingleInstance(QObject* parent = nullptr);
    ~SingleInstance() override;

    // True when this process is now the running copy; false when another copy
    // runs and was asked to raise its windows (this process should then end).
    bool Claim();

    // Socket path; the lock file is the same path with ".lock" appended.
    static QString ServerName();

  signals:
    // Another start asked this copy to bring its windows to the front.
    void raiseRequested();

  private:
    void Listen();
    static bool AskRunningCopyToRaise();

    std::unique_ptr<QLockFile> m_lock;
    QLocalServer* m_server = nullptr;  // owned through Qt's parent
};

// Brings `mainWindow` and the dialog the program is showing to the front, the
// dialog on top. A minimised main window is raised but not restored.
void RaiseProgramWindows(QWidget* mainWindow);

}  // namespace tt
