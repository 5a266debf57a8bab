#include "desktop/SingleInstance.h"

#include <unistd.h>

#include <QApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QStandardPaths>
#include <QThread>
#include <QWidget>

#include "desktop/MainWindowTitle.h"

namespace tt {

namespace {

const QByteArray kRaiseRequest = "raise\n";
const QByteArray kRaiseDone = "done\n";

// A starting copy may hold the lock a moment before it listens: keep trying this long.
constexpr int kContactAttempts = 100;
constexpr int kAttemptPauseMs = 50;

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

bool SingleInstance::Claim() {
    const QString name = ServerName();
    m_lock = std::make_unique<QLockFile>(name + QStringLiteral(".lock"));
    // A lock is stale only when its holder has died, however long a run lasts.
    m_lock->setStaleLockTime(0);
    for (int attempt = 0; attempt < kContactAttempts; ++attempt) {
        if (m_lock->tryLock(0)) {
            Listen();
            return true;
        }
        if (m_lock->error() != QLockFile::LockFailedError)
            return true;  // no lock can be made here: run without the guard
        if (AskRunningCopyToRaise())
            return false;
        QThread::msleep(kAttemptPauseMs);
    }
    // The holder lives but does not answer: it is still the running copy.
    return false;
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
                if (!socket->canReadLine())
                    return;
                if (socket->readLine() == kRaiseRequest) {
                    emit raiseRequested();
                    socket->write(kRaiseDone);
                    socket->flush();
                }
                socket->disconnectFromServer();
            });
        }
    });
}

bool SingleInstance::AskRunningCopyToRaise() {
    QLocalSocket socket;
    socket.connectToServer(ServerName());
    if (!socket.waitForConnected(500))
        return false;
    socket.write(kRaiseRequest);
    if (!socket.waitForBytesWritten(1000))
        return false;
    // Wait for the answer, so the running copy has acted before this one ends.
    while (!socket.canReadLine()) {
        if (!socket.waitForReadyRead(2000))
            return socket.state() != QLocalSocket::ConnectedState;
    }
    return true;
}

void RaiseProgramWindows(QWidget* mainWindow) {
    auto raise = [](QWidget* window) {
        if (window == nullptr || !window->isVisible())
            return;
        window->raise();
        window->activateWindow();
    };
    raise(mainWindow);
    QWidget* dialog = QApplication::activeModalWidget();
    if (dialog != mainWindow)
        raise(dialog);
}

}  // namespace tt
