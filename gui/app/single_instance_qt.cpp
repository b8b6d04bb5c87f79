#include "gui/app/single_instance_qt.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QSocketNotifier>
#include <QStandardPaths>
#include <QThread>
#include <cerrno>
#include <cstring>

namespace vrm {
namespace {

constexpr char kActivate[] = "activate\n";

QString RuntimeFolder(const QString& folder) {
    if (!folder.isEmpty()) return folder;
    QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (runtime.isEmpty() || !QDir(runtime).exists()) runtime = QDir::tempPath();
    return runtime;
}

// The socket address of `path`; false when the path does not fit one.
bool Address(const QString& path, sockaddr_un& address) {
    const QByteArray bytes = QFile::encodeName(path);
    std::memset(&address, 0, sizeof address);
    address.sun_family = AF_UNIX;
    if (bytes.size() >= static_cast<qsizetype>(sizeof address.sun_path)) return false;
    std::memcpy(address.sun_path, bytes.constData(), static_cast<size_t>(bytes.size()));
    return true;
}

}  // namespace

SingleInstance::SingleInstance(const QString& name, const QString& folder, QObject* parent) : QObject(parent) {
    const QString base = QDir(RuntimeFolder(folder)).filePath(name);
    lockPath_ = base + QStringLiteral(".lock");
    serverPath_ = base + QStringLiteral(".socket");
}

SingleInstance::~SingleInstance() {
    for (const auto& client : clients_) ::close(client.first);
    if (listenFd_ >= 0) {
        ::close(listenFd_);
        QFile::remove(serverPath_);
    }
    // The lock file stays: removing it while a later start may have it open
    // would let two copies each lock a file of that name.
    if (lockFd_ >= 0) ::close(lockFd_);
}

bool SingleInstance::Claim() {
    const int fd = ::open(QFile::encodeName(lockPath_).constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    // The lock cannot be made at all (a folder we may not write): that says
    // nothing about another copy, so this one runs.
    if (fd < 0) return true;
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const bool held = errno == EWOULDBLOCK;
        ::close(fd);
        if (!held) return true;
        NotifyFirst();
        return false;
    }
    lockFd_ = fd;
    // Without a socket this copy still runs; a later start then only fails
    // to bring it to the front.
    Listen();
    return true;
}

bool SingleInstance::Listen() {
    sockaddr_un address{};
    if (!Address(serverPath_, address)) return false;
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd < 0) return false;
    ::unlink(address.sun_path);  // left by a copy that died; we hold the lock
    // Only this user may connect (the socket is made without group or other
    // rights, as the lock folder may be shared).
    const mode_t old = ::umask(077);
    const bool bound = ::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
    ::umask(old);
    if (!bound || ::listen(fd, 8) != 0) {
        ::close(fd);
        return false;
    }
    listenFd_ = fd;
    listener_ = new QSocketNotifier(fd, QSocketNotifier::Read, this);
    connect(listener_, &QSocketNotifier::activated, this, &SingleInstance::OnConnection);
    return true;
}

bool SingleInstance::NotifyFirst() {
    sockaddr_un address{};
    if (!Address(serverPath_, address)) return false;
    // The first copy may still be starting; give it a moment to listen.
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < 3000) {
        const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        if (fd < 0) return false;
        if (::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0) {
            const ssize_t sent = ::send(fd, kActivate, sizeof kActivate - 1, MSG_NOSIGNAL);
            ::close(fd);
            return sent == static_cast<ssize_t>(sizeof kActivate - 1);
        }
        ::close(fd);
        QThread::msleep(100);
    }
    return false;
}

void SingleInstance::OnConnection() {
    for (;;) {
        const int fd = ::accept4(listenFd_, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
        if (fd < 0) return;  // nothing more waiting (EAGAIN) or a failed accept
        clients_[fd];
        auto* notifier = new QSocketNotifier(fd, QSocketNotifier::Read, this);
        connect(notifier, &QSocketNotifier::activated, this, [this, notifier, fd] {
            OnClientData(fd);
            if (!clients_.count(fd)) notifier->deleteLater();
        });
        OnClientData(fd);  // what arrived with the connection
    }
}

// Reads what the client sent; at its end (or a full request) the client is
// done: an "activate" request brings this copy to the front.
void SingleInstance::OnClientData(int fd) {
    auto it = clients_.find(fd);
    if (it == clients_.end()) return;
    char buffer[64];
    ssize_t n = 0;
    while ((n = ::recv(fd, buffer, sizeof buffer, 0)) > 0 && it->second.size() < 256) it->second.append(buffer, n);
    const bool ended = n == 0 || (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK) || it->second.contains('\n') ||
                       it->second.size() >= 256;
    if (!ended) return;
    const bool activate = it->second.contains("activate");
    ::close(fd);
    clients_.erase(it);
    if (activate) emit activationRequested();
}

}  // namespace vrm
