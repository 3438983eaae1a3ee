// The idle main window on a real X server, against a plain Qt window measured the same way:
//   xvfb-run -a bench_idle [N] [--seconds S]
// Starts the program (xcb, under openbox when it is there) in a private folder with a demo
// database of N records (100,000 by default), waits until it has settled, then counts for S seconds (30 by default) the
// processor ticks (/proc/PID/stat) and the wake-ups, the context switches of all its threads
// (/proc/PID/task/*/status).
#include <QApplication>
#include <QDir>
#include <QMap>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <QWidget>
#include <cstdio>
#include <unistd.h>

#include "../BenchData.h"

namespace {

struct Sample {
    long long ticks = 0;     // user + system time of the process
    long long switches = 0;  // voluntary + involuntary context switches, every thread
    QMap<QString, long long> byThread;
};

Sample sample(qint64 pid)
{
    Sample s;
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (stat.open(QIODevice::ReadOnly)) {
        const QByteArray line = stat.readAll();
        const QList<QByteArray> fields = line.mid(line.lastIndexOf(')') + 2).split(' ');
        if (fields.size() > 12)
            s.ticks = fields[11].toLongLong() + fields[12].toLongLong();  // utime, stime
    }
    const QStringList tasks = QDir(QStringLiteral("/proc/%1/task").arg(pid)).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString &task : tasks) {
        QFile status(QStringLiteral("/proc/%1/task/%2/status").arg(pid).arg(task));
        if (!status.open(QIODevice::ReadOnly))
            continue;
        for (const QByteArray &l : status.readAll().split('\n'))
            if (l.startsWith("voluntary_ctxt_switches:") || l.startsWith("nonvoluntary_ctxt_switches:")) {
                const long long n = l.mid(l.indexOf(':') + 1).trimmed().toLongLong();
                s.switches += n;
                s.byThread[task] += n;
            }
    }
    return s;
}

// Waits until the process has not woken for two seconds: its start-up is over and the text
// caret has stopped blinking (it does ten seconds after the last input). Returns the seconds
// waited.
double waitUntilSettled(qint64 pid)
{
    long long last = -1;
    int quiet = 0, i = 0;
    for (; i < 240 && quiet < 4; ++i) {
        QThread::msleep(500);
        const long long now = sample(pid).switches;
        quiet = now == last ? quiet + 1 : 0;
        last = now;
    }
    return i * 0.5;
}

void measure(const char *what, QProcess &process, int seconds)
{
    if (!process.waitForStarted(10000)) {
        std::printf("%s: did not start: %s\n", what, qPrintable(process.errorString()));
        return;
    }
    const qint64 pid = process.processId();
    const double settled = waitUntilSettled(pid);
    // Sampled twice a second, thread by thread, so that a thread ending meanwhile (a pool
    // thread expiring) takes none of the count away.
    const Sample before = sample(pid);
    Sample last = before, now;
    long long woken = 0;
    for (int i = 0; i < seconds * 2; ++i) {
        QThread::msleep(500);
        now = sample(pid);
        for (auto it = now.byThread.cbegin(); it != now.byThread.cend(); ++it)
            woken += it.value() - last.byThread.value(it.key(), 0);
        last = now;
    }
    Sample after = now;
    after.switches = before.switches + woken;
    const double ticksPerSecond = double(sysconf(_SC_CLK_TCK));
    std::printf("%-28s %6.3f %% processor, %6.2f wake-ups/s (%lld ticks, %lld switches in %d s; quiet %.1f s after start)\n",
                what, 100.0 * double(after.ticks - before.ticks) / (ticksPerSecond * seconds),
                double(after.switches - before.switches) / seconds, after.ticks - before.ticks,
                after.switches - before.switches, seconds, settled);
    process.kill();
    process.waitForFinished(10000);
}

}  // namespace

int main(int argc, char **argv)
{
    if (argc > 1 && QByteArray(argv[1]) == "--plain-window") {
        QApplication app(argc, argv);
        QWidget w;
        w.resize(800, 600);
        w.show();
        return app.exec();
    }
    if (qEnvironmentVariableIsEmpty("DISPLAY")) {
        std::printf("needs an X server: xvfb-run -a %s\n", argv[0]);
        return 1;
    }
    const int count = bench::recordCount(argc, argv);
    int seconds = 30;
    for (int i = 1; i + 1 < argc; ++i)
        if (QByteArray(argv[i]) == "--seconds")
            seconds = std::atoi(argv[i + 1]);
    QTemporaryDir dir;
    for (const char *sub : {"home", "config", "runtime"})
        QDir(dir.path()).mkpath(QLatin1String(sub));
    QFile::setPermissions(dir.filePath(QStringLiteral("runtime")), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    bench::demoDatabase(dir.filePath(QStringLiteral("Data.mdb")), count);

    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    env.insert(QStringLiteral("LANG"), QStringLiteral("tr_TR.UTF-8"));
    env.insert(QStringLiteral("HOME"), dir.filePath(QStringLiteral("home")));
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), dir.filePath(QStringLiteral("config")));
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), dir.filePath(QStringLiteral("runtime")));
    std::printf("records: %d, idle for %d s after start-up\n", count, seconds);

    // A window manager makes the window active, so that its search box has the focus and a
    // blinking caret, as on a desktop.
    QProcess windowManager;
    windowManager.start(QStringLiteral("openbox"), {});
    const bool managed = windowManager.waitForStarted(5000);
    std::printf("window manager: %s\n", managed ? "openbox" : "none");
    QThread::msleep(500);

    QProcess program;
    program.setProcessEnvironment(env);
    program.setWorkingDirectory(dir.path());
    program.start(QStringLiteral(KALPIYON_PROGRAM), {});
    measure("idle main window:", program, seconds);

    QProcess plain;
    plain.setProcessEnvironment(env);
    plain.start(QFile::symLinkTarget(QStringLiteral("/proc/self/exe")),
                {QStringLiteral("--plain-window")});
    measure("  baseline plain Qt window:", plain, seconds);
    if (managed) {
        windowManager.terminate();
        windowManager.waitForFinished(5000);
    }
    return 0;
}
