#include "desktop/SingleInstance.h"

#include <unistd.h>

#include <QApplication>
#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QStandardPaths>
#include <QThread>
#include <QTimer>
#include <QWidget>
#include <algorithm>

#include "desktop/MainWindowTitle.h"
#include "desktop/MessageBoxes.h"
#include "desktop/SettingsStore.h"

namespace tt {

namespace {

const QByteArray kRaiseRequest = "raise\n";
const QByteArray kOpenRequest = "open ";  // followed by the folder in base64 and a line end
const QByteArray kRaiseDone = "done\n";

// A starting copy may hold the lock a moment before it listens: try again after
// this pause until the answer time is up.
constexpr std::chrono::milliseconds kAttemptPause(50);

int MsLeft(const QDeadlineTimer& deadline) {
    return static_cast<int>(std::max<qint64>(deadline.remainingTime(), 0));
}

// Asks the running copy to act on `request` and waits for its answer until
// `deadline`. False when it could not be reached or did not answer.
bool AskRunningCopy(const QByteArray& request, const QDeadlineTimer& deadline) {
    QLocalSocket socket;
    socket.connectToServer(SingleInstance::ServerName());
    if (!socket.waitForConnected(MsLeft(deadline)))
        return false;
    socket.write(request);
    if (!socket.waitForBytesWritten(MsLeft(deadline)))
        return false;
    // Wait for the answer, so the running copy has acted before this one ends.
    while (!socket.canReadLine()) {
        if (deadline.hasExpired() || !socket.waitForReadyRead(MsLeft(deadline)))
            return false;
    }
    return socket.readLine() == kRaiseDone;
}

}  // namespace

SingleInstance::SingleInstance(QObject* parent) : QObject(parent) {}

SingleInstance::~SingleInstance() = default;

QString SingleInstance::ServerName() {
    const QString app = QCoreApplication::applicationName();
    QByteArray identity = app.toUtf8();
    identity += '\n';
    identity += kMainWindowTitle;
    identity += '\n';
    identity += QByteArray::number(static_cast<qulonglong>(::getuid()));
    const QByteArray hash =
        QCryptographicHash::hash(identity, QCryptographicHash::Sha1).toHex().left(16);
    // The runtime folder is the user's own; the hash keeps the path short enough
    // for a socket whatever the program file is called.
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    return QDir(folder).filePath(app.left(32) + QLatin1Char('-') + QString::fromLatin1(hash));
}

SingleInstance::Claimed SingleInstance::Claim(const QByteArray& folder,
                                              std::chrono::milliseconds answerTimeout) {
    const QString name = ServerName();
    m_lock = std::make_unique<QLockFile>(name + QStringLiteral(".lock"));
    // A lock is stale only when its holder has died, however long a run lasts.
    m_lock->setStaleLockTime(0);
    const QByteArray request =
        folder.isEmpty() ? kRaiseRequest : kOpenRequest + folder.toBase64() + '\n';
    const QDeadlineTimer deadline(answerTimeout);
    for (;;) {
        if (m_lock->tryLock(0)) {
            Listen();
            return Claimed::first;
        }
        if (m_lock->error() != QLockFile::LockFailedError)
            return Claimed::first;  // no lock can be made here: run without the guard
        if (AskRunningCopy(request, deadline))
            return Claimed::answered;
        // The holder lives but has not answered (it may be starting, or hang).
        if (deadline.hasExpired())
            return Claimed::notResponding;
        QThread::msleep(static_cast<unsigned long>(
            std::min<qint64>(kAttemptPause.count(), deadline.remainingTime())));
    }
}

void SingleInstance::Listen() {
    const QString name = ServerName();
    QLocalServer::removeServer(name);  // left behind by a copy that died; we hold the lock
    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    if (!m_server->listen(name))
        return;
    connect(m_server, &QLocalServer::newConnection, this, [this]() {
        while (QLocalSocket* socket = m_server->nextPendingConnection()) {
            connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            connect(socket, &QLocalSocket::readyRead, this, [this, socket]() {
                if (socket->canReadLine())
                    Answer(*socket);
            });
        }
    });
}

void SingleInstance::Answer(QLocalSocket& socket) {
    const QByteArray request = socket.readLine();
    if (request != kRaiseRequest && !request.startsWith(kOpenRequest)) {
        socket.disconnectFromServer();
        return;
    }
    // A start that gave up waiting (this copy hung a while) has told its user so
    // and ended: its request is void, not acted on later.
    socket.write(kRaiseDone);
    if (!socket.flush()) {
        socket.abort();
        return;
    }
    socket.disconnectFromServer();
    emit raiseRequested();
    // Listing a folder can take a while: the other start has its answer first, so
    // it never waits on the listing.
    const QByteArray folder =
        request.startsWith(kOpenRequest)
            ? QByteArray::fromBase64(request.mid(kOpenRequest.size()).trimmed())
            : QByteArray();
    if (!folder.isEmpty())
        QTimer::singleShot(0, this, [this, folder]() { emit folderRequested(folder); });
}

void RaiseProgramWindows(QWidget* mainWindow) {
    auto bringUp = [](QWidget* window) {
        if (window == nullptr || window->isHidden())
            return;
        // A minimised window raised stays minimised: what is raised must be seen.
        if (window->isMinimized())
            window->setWindowState(window->windowState() & ~Qt::WindowMinimized);
        window->show();
        window->raise();
        window->activateWindow();
    };
    bringUp(mainWindow);
    // Window managers minimise a dialog together with the window it belongs to:
    // it comes back with it, on top.
    QWidget* dialog = QApplication::activeModalWidget();
    if (dialog != mainWindow)
        bringUp(dialog);
}

void ShowNotRespondingBox() {
    const char* english = "Tunetitler is already running but does not respond.";
    const char* german = "Tunetitler läuft bereits, reagiert aber nicht.";
    // Only what was stored counts: this start must not ask for a language.
    const QString language = settings::ReadString(QStringLiteral("Language"), QString());
    QString text = QString::fromUtf8(english) + QLatin1Char('\n') + QString::fromUtf8(german);
    if (language == QLatin1String("E"))
        text = QString::fromUtf8(english);
    else if (language == QLatin1String("G"))
        text = QString::fromUtf8(german);
    ShowWarningBox(nullptr, text);
}

}  // namespace tt
