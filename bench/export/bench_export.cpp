// kalpiyon-veri export-csv at 100,000 records (or the count given) against sqlite3 -csv on the
// same file, both writing to a file: elapsed time, processor time and peak memory.
//   bench_export [N]
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <cstdio>
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>

#include "../BenchData.h"

extern char **environ;

namespace {
struct Run {
    double ms = -1, cpuMs = -1, peakMB = -1;
    double outputMB = -1;
};

// Runs a program with standard output into `output`.
Run run(const std::vector<std::string> &argv, const QString &output)
{
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, QFile::encodeName(output).constData(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    std::vector<char *> args;
    for (const std::string &a : argv)
        args.push_back(const_cast<char *>(a.c_str()));
    args.push_back(nullptr);
    QElapsedTimer t;
    t.start();
    pid_t pid = 0;
    Run r;
    if (posix_spawnp(&pid, args[0], &actions, nullptr, args.data(), environ) != 0)
        return r;
    int status = 0;
    rusage usage{};
    wait4(pid, &status, 0, &usage);
    r.ms = ms(t);
    r.cpuMs = usage.ru_utime.tv_sec * 1e3 + usage.ru_utime.tv_usec / 1e3 + usage.ru_stime.tv_sec * 1e3 + usage.ru_stime.tv_usec / 1e3;
    r.peakMB = usage.ru_maxrss / 1024.0;
    r.outputMB = QFile(output).size() / 1048576.0;
    posix_spawn_file_actions_destroy(&actions);
    return r;
}

void print(const char *what, const Run &r)
{
    std::printf("%-26s %8.1f ms (%.1f ms processor), peak %6.1f MB, output %.1f MB\n", what, r.ms, r.cpuMs, r.peakMB, r.outputMB);
}
}  // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const int count = bench::recordCount(argc, argv);
    QTemporaryDir dir;
    const QString data = dir.filePath(QStringLiteral("Data.mdb"));
    bench::demoDatabase(data, count);
    const std::string file = QFile::encodeName(data).toStdString();
    std::printf("records: %d\n", count);
    // Once each beforehand, so that both read the file from the page cache.
    run({"sqlite3", "-csv", file, "SELECT count(*) FROM veriler"}, dir.filePath(QStringLiteral("warm.txt")));
    const Run tool = run({KALPIYON_VERI, "export-csv", file}, dir.filePath(QStringLiteral("tool.csv")));
    const Run bare = run({"sqlite3", "-csv", "-header", file, "SELECT * FROM veriler"}, dir.filePath(QStringLiteral("bare.csv")));
    print("kalpiyon-veri export-csv:", tool);
    print("  baseline sqlite3 -csv:", bare);
    std::printf("  ratio %.2f (time), %.2f (processor), %.2f (peak memory)\n", tool.ms / bare.ms, tool.cpuMs / bare.cpuMs,
                tool.peakMB / bare.peakMB);
    return 0;
}
