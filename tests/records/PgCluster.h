#pragma once
// A private PostgreSQL cluster for one test (scripts/pg-cluster) in a temporary folder, so
// stopping or freezing it disturbs no other test.
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QObject>
#include <QProcess>
#include <QTest>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <atomic>
#include <chrono>
#include <csignal>
#include <memory>
#include <thread>
#include <sys/types.h>

namespace testpg {

inline QString run(const QString &program, const QStringList &args, int *exitCode = nullptr, const QString &cwd = {})
{
    QProcess p;
    if (!cwd.isEmpty())
        p.setWorkingDirectory(cwd);
    p.start(program, args);
    p.waitForFinished(120000);
    if (exitCode)
        *exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    return QString::fromUtf8(p.readAllStandardOutput()).trimmed();
}

// A private cluster in a folder the server account can reach.
class Cluster {
public:
    Cluster()
    {
        QFile::setPermissions(dir_.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner |
                                               QFileDevice::ExeGroup | QFileDevice::ExeOther);
        address_ = start();
    }
    ~Cluster() { stop(); }
    QString start()
    {
        int rc = 0;
        const QString uri = run(script(), {QStringLiteral("start"), folder()}, &rc);
        return rc == 0 ? uri : QString();
    }
    void stop() { run(script(), {QStringLiteral("stop"), folder()}); }
    QString address() const { return address_; }
    QString folder() const { return dir_.filePath(QStringLiteral("pg")); }

    // Every process of this cluster: the postmaster (from its pid file) and its children.
    QList<pid_t> processes() const
    {
        QFile pidFile(folder() + QStringLiteral("/data/postmaster.pid"));
        if (!pidFile.open(QIODevice::ReadOnly))
            return {};
        const pid_t postmaster = pid_t(pidFile.readLine().trimmed().toInt());
        if (postmaster <= 1)
            return {};  // never kill(0) or kill(-1): that would signal far more than the cluster
        QList<pid_t> pids{postmaster};
        for (const QString &entry : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs)) {
            QFile stat(QStringLiteral("/proc/%1/stat").arg(entry));
            if (!stat.open(QIODevice::ReadOnly))
                continue;
            const QByteArray text = stat.readAll();
            const QList<QByteArray> after = text.mid(text.lastIndexOf(')') + 2).split(' ');
            if (after.size() > 1 && after[1].toInt() == postmaster && entry.toInt() > 1)
                pids << pid_t(entry.toInt());
        }
        return pids;
    }
    // Sends `sig` to every process of the cluster (SIGSTOP freezes it, SIGCONT thaws it).
    void signalAll(int sig) const
    {
        for (pid_t pid : processes())
            ::kill(pid, sig);
    }

private:
    static QString script() { return QStringLiteral(KALPIYON_SCRIPTS "/pg-cluster"); }
    QTemporaryDir dir_;
    QString address_;
};

// Thaws the cluster after `ms` unless destroyed first (then at once), so that a desk that waits
// for a frozen server without bound makes the test fail instead of hanging it.
class Thaw {
public:
    Thaw(const Cluster &cluster, int ms)
        : thread_([this, &cluster, ms] {
              QElapsedTimer t;
              t.start();
              while (!done_ && t.elapsed() < ms)
                  std::this_thread::sleep_for(std::chrono::milliseconds(20));
              cluster.signalAll(SIGCONT);
          })
    {
    }
    ~Thaw()
    {
        done_ = true;
        thread_.join();
    }

private:
    std::atomic<bool> done_{false};
    std::thread thread_;
};

// The test object of a server test: its cases run on a private cluster of their own, started
// before the first; without one every case is skipped with the reason.
class ClusterTest : public QObject {
    Q_OBJECT

protected:
    std::unique_ptr<Cluster> cluster_;

private slots:
    void initTestCase()
    {
        if (QStandardPaths::findExecutable(QStringLiteral("pg_ctl"), {QStringLiteral("/usr/lib/postgresql/15/bin")}).isEmpty())
            QSKIP("PostgreSQL is not installed");
        cluster_ = std::make_unique<Cluster>();
        if (cluster_->address().isEmpty())
            QSKIP("a private PostgreSQL cluster could not be started");
    }
};

}  // namespace testpg
