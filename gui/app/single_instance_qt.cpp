#include "gui/app/single_instance_qt.h"

#include <QDir>
#include <QElapsedTimer>
#include <QLocalServer>
#include <QLocalSocket>
#include <QStandardPaths>
#include <QThread>

namespace vrm {
namespace {

constexpr char kActivate[] = "activate\n";

QString RuntimeFolder(const QString& folder) {
    if (!folder.isEmpty()) return folder;
    QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (runtime.isEmpty() || !QDir(runtime).exists()) runtime = QDir::tempPath();
    return runtime;
}

}  // namespace

SingleInstance::SingleInstance(const QString& name, const QString& folder, QObject* parent) : QObject(parent) {
    const QString base = QDir(RuntimeFolder(folder)).filePath(name);
    lockPath_ = base + QStringLiteral(".lock");
    serverPath_ = base + QStringLiteral(".socket");
}

SingleInstance::~SingleInstance() {
    if (server_) server_->close();
    if (lock_) lock_->unlock();
}

bool SingleInstance::Claim() {
    lock_ = std::make_unique<QLockFile>(lockPath_);
    // A lock left by a copy that died is stale at once: its process is gone.
    lock_->setStaleLockTime(0);
    if (!lock_->tryLock(0)) {
        const QLockFile::LockError error = lock_->error();
        lock_.reset();
        if (error != QLockFile::LockFailedError) {
            // The lock cannot be made at all (a folder we may not write):
            // that says nothing about another copy, so this one runs.
            return true;
        }
        NotifyFirst();
        return false;
    }
    server_ = new QLocalServer(this);
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    QLocalServer::removeServer(serverPath_);
    server_->listen(serverPath_);
    connect(server_, &QLocalServer::newConnection, this, &SingleInstance::OnConnection);
    return true;
}

bool SingleInstance::NotifyFirst() {
    // The first copy may still be starting; give it a moment to listen.
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < 3000) {
        QLocalSocket socket;
        socket.connectToServer(serverPath_);
        if (socket.waitForConnected(500)) {
            socket.write(kActivate, sizeof kActivate - 1);
            const bool sent = socket.waitForBytesWritten(1000);
            socket.disconnectFromServer();
            return sent;
        }
        QThread::msleep(100);
    }
    return false;
}

void SingleInstance::OnConnection() {
    while (QLocalSocket* socket = server_->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
            const QByteArray data = socket->readAll();
            if (data.contains("activate")) emit activationRequested();
        });
        if (socket->bytesAvailable() > 0 && socket->readAll().contains("activate")) emit activationRequested();
    }
}

}  // namespace vrm
