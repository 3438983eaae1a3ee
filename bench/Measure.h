#pragma once
// What the benchmarks measure with: elapsed time and resident memory.

#include <QElapsedTimer>
#include <QFile>
#include <fcntl.h>
#include <spawn.h>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <vector>

extern char **environ;

inline double ms(const QElapsedTimer &t)
{
    return t.nsecsElapsed() / 1e6;
}

// Resident memory of this process, from /proc (Linux); -1 where it cannot be read.
inline double residentMB()
{
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : f.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toDouble() / 1024;
    return -1;
}

namespace bench {

// What running another program cost it: elapsed and processor time, peak resident memory, and
// the size of what it wrote.
struct Run {
    double ms = -1, cpuMs = -1, peakMB = -1;
    double outputMB = -1;
};

// Runs a program with standard output into `output` (standard error is dropped). The peak
// memory is the program's own: it is started by GNU time, a small process, because a process
// started straight from this one counts this one's resident memory as its own peak.
inline Run run(const std::vector<std::string> &argv, const QString &output)
{
    const QString peakFile = output + QStringLiteral(".peak");
    std::vector<std::string> command{"/usr/bin/time", "-f", "%M", "-o", QFile::encodeName(peakFile).toStdString()};
    command.insert(command.end(), argv.begin(), argv.end());
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, QFile::encodeName(output).constData(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    std::vector<char *> args;
    for (const std::string &a : command)
        args.push_back(const_cast<char *>(a.c_str()));
    args.push_back(nullptr);
    QElapsedTimer t;
    t.start();
    pid_t pid = 0;
    Run r;
    const int spawned = posix_spawn(&pid, args[0], &actions, nullptr, args.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0)
        return r;
    int status = 0;
    rusage usage{};
    wait4(pid, &status, 0, &usage);
    r.ms = ms(t);
    r.cpuMs = usage.ru_utime.tv_sec * 1e3 + usage.ru_utime.tv_usec / 1e3 + usage.ru_stime.tv_sec * 1e3 + usage.ru_stime.tv_usec / 1e3;
    QFile peak(peakFile);
    if (peak.open(QIODevice::ReadOnly))
        r.peakMB = peak.readAll().trimmed().split('\n').last().toDouble() / 1024;  // kilobytes
    QFile::remove(peakFile);
    r.outputMB = QFile(output).size() / 1048576.0;
    return r;
}

}  // namespace bench
