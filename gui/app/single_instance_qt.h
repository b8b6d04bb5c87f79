// One running copy per user: the first start holds a lock on a file in the
// runtime folder and listens on a local socket beside it; a second start
// finds the lock held, asks the first copy to come to the front, and ends.
// The lock is the kernel's (flock): it goes with the process however that
// ends, so a copy that died leaves nothing to clear away, and taking it
// writes nothing to disk.
// The socket is a plain Unix-domain socket watched by a socket notifier, so
// the program needs no network library (and none of what it pulls in) to
// start.
#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>
#include <map>

class QSocketNotifier;

namespace vrm {

class SingleInstance final : public QObject {
    Q_OBJECT
public:
    // `name` is the program's file name; `folder` the runtime folder ("" for
    // the user's runtime folder, falling back to the temporary folder).
    SingleInstance(const QString& name, const QString& folder = QString(), QObject* parent = nullptr);
    ~SingleInstance() override;

    // True when this copy is the first: it then holds the lock and listens
    // (or the lock cannot be made at all, and it runs unguarded). False when
    // another copy runs; that copy has then been asked to come to the front
    // (as far as it could be reached).
    bool Claim();

    QString LockPath() const { return lockPath_; }
    QString ServerPath() const { return serverPath_; }

signals:
    // A later start asked this copy to come to the front.
    void activationRequested();

private:
    bool NotifyFirst();
    bool Listen();
    void OnConnection();
    void OnClientData(int fd);

    QString lockPath_;
    QString serverPath_;
    int lockFd_ = -1;
    int listenFd_ = -1;
    QSocketNotifier* listener_ = nullptr;
    std::map<int, QByteArray> clients_;  // accepted sockets and what each sent so far
};

}  // namespace vrm
