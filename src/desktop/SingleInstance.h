#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>
#include <chrono>
#include <memory>

class QLocalServer;
class QLocalSocket;
class QLockFile;

namespace tt {

// Lets one copy of the program run per user. The first copy takes a lock file and
// listens on a local socket, both named after the application, the main window's
// title and the user; a later copy finds the lock taken, asks the running copy
// over the socket to come to the front (and to list a folder, when it was started
// with one), and ends. The lock decides, so two copies started at the same
// instant end with exactly one running; a lock whose holder has died is taken
// over at once.
class SingleInstance : public QObject {
    Q_OBJECT

  public:
    explicit SingleInstance(QObject* parent = nullptr);
    ~SingleInstance() override;

    enum class Claimed {
        first,          // this process is now the running copy
        answered,       // another copy runs and has acted on the request: end now
        notResponding,  // another copy holds the lock but gave no answer in time
    };
    // `folder`: the absolute path the running copy should list, empty for none.
    // A running copy that does not answer within `answerTimeout` is given up on.
    Claimed Claim(const QByteArray& folder = QByteArray(),
                  std::chrono::milliseconds answerTimeout = std::chrono::seconds(5));

    // Socket path; the lock file is the same path with ".lock" appended.
    static QString ServerName();

  signals:
    // Another start asked this copy to bring its windows to the front.
    void raiseRequested();
    // ... and to list this folder (an absolute path, as the file system knows it).
    // Emitted after the other start has had its answer, from the event loop.
    void folderRequested(const QByteArray& folder);

  private:
    void Listen();
    // Answers one request of a later start and acts on it.
    void Answer(QLocalSocket& socket);

    std::unique_ptr<QLockFile> m_lock;
    QLocalServer* m_server = nullptr;  // owned through Qt's parent
};

// Brings `mainWindow` and the dialog the program is showing to the front, the
// dialog on top. A minimised window is restored first.
void RaiseProgramWindows(QWidget* mainWindow);

// "Tunetitler is already running but does not respond.", captioned with the
// application name, in the stored language; both languages when none is stored
// yet (the running copy may be asking for it).
void ShowNotRespondingBox();

}  // namespace tt
