#pragma once
// What the record benchmarks share: the record count from the command line, a demo
// database of that size (made once per folder when KALPIYON_BENCH_DATA names one, then
// copied), a measurement in a child process (so that one figure's memory never counts in
// another's) and the bare baseline of opening the list.
#include <QByteArray>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QString>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <sqlite3.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unicode/ucol.h>
#include <unistd.h>
#include <vector>

#include "DemoData.h"
#include "Measure.h"

namespace bench {

// bench_x [N]: N records, 100,000 by default.
inline int recordCount(int argc, char **argv, int defaultCount = 100000)
{
    for (int i = 1; i < argc; ++i)
        if (argv[i][0] != '-')
            return std::atoi(argv[i]);
    return defaultCount;
}

// Puts a demo database of `count` records (seed 1) at `path`.
inline void demoDatabase(const QString &path, int count)
{
    const QString folder = qEnvironmentVariable("KALPIYON_BENCH_DATA");
    if (folder.isEmpty()) {
        records::writeDemoDatabase(path, count);
        return;
    }
    const QString cached = QDir(folder).filePath(QStringLiteral("demo-%1.mdb").arg(count));
    if (!QFileInfo::exists(cached)) {
        std::printf("(making %s once)\n", qPrintable(cached));
        records::writeDemoDatabase(cached + QStringLiteral(".new"), count, 1, true);
        QFile::rename(cached + QStringLiteral(".new"), cached);
    }
    QFile::remove(path);
    if (!QFile::copy(cached, path)) {
        std::printf("cannot copy %s\n", qPrintable(cached));
        std::exit(1);
    }
}

struct ChildFigures {
    double ms = -1;      // as the child measured it
    double residentMB = -1;  // growth of the child's resident memory while it ran `work`
    double peakMB = -1;  // the child's peak resident memory
    double cpuMs = -1;   // the child's processor time (user + system), whole run
};

// Runs `work` in a forked child and returns its time and memory; what `work` leaves allocated
// counts as its resident growth.
inline ChildFigures inChild(const std::function<void()> &work)
{
    int fds[2];
    if (pipe(fds) != 0)
        return {};
    std::fflush(stdout);
    const pid_t pid = fork();
    if (pid == 0) {
        close(fds[0]);
        const double before = residentMB();
        QElapsedTimer t;
        t.start();
        work();
        ChildFigures f{ms(t), residentMB() - before, -1};
        if (write(fds[1], &f, sizeof f) != ssize_t(sizeof f))
            _exit(1);
        _exit(0);
    }
    close(fds[1]);
    ChildFigures f;
    if (read(fds[0], &f, sizeof f) != ssize_t(sizeof f))
        f = {};
    close(fds[0]);
    int status = 0;
    rusage usage{};
    wait4(pid, &status, 0, &usage);
    f.peakMB = usage.ru_maxrss / 1024.0;
    f.cpuMs = usage.ru_utime.tv_sec * 1e3 + usage.ru_utime.tv_usec / 1e3 + usage.ru_stime.tv_sec * 1e3 + usage.ru_stime.tv_usec / 1e3;
    return f;
}

// The bare baseline of opening the list: one scan of key and name, Turkish sort keys from
// the collator straight into one memory block, and the sort by them (ties in key order).
struct BaselineList {
    struct Row {
        qint64 key;
        size_t at;
        quint32 nameBytes, keyBytes;
    };
    std::vector<Row> rows;
    std::vector<char> block;  // each row's name (UTF-8) and sort key
    std::vector<int> order;   // rows in name order
};

inline BaselineList *scanAndSortBaseline(const QString &path)
{
    auto *list = new BaselineList;
    sqlite3 *db = nullptr;
    sqlite3_open_v2(QFile::encodeName(path).constData(), &db, SQLITE_OPEN_READONLY, nullptr);
    sqlite3_stmt *st = nullptr;
    sqlite3_prepare_v2(db, "SELECT rowid, Adi_Soyadi FROM veriler", -1, &st, nullptr);
    UErrorCode status = U_ZERO_ERROR;
    UCollator *collator = ucol_open("tr_TR", &status);
    std::vector<char> &block = list->block;
    while (sqlite3_step(st) == SQLITE_ROW) {
        const auto *name = reinterpret_cast<const char *>(sqlite3_column_text(st, 1));
        const int nameBytes = sqlite3_column_bytes(st, 1);
        const QString text = QString::fromUtf8(name, nameBytes);
        BaselineList::Row r{sqlite3_column_int64(st, 0), block.size(), quint32(nameBytes), 0};
        block.insert(block.end(), name, name + nameBytes);
        const size_t keyAt = block.size();
        block.resize(keyAt + 256);
        r.keyBytes = quint32(ucol_getSortKey(collator, reinterpret_cast<const UChar *>(text.utf16()), int(text.size()),
                                             reinterpret_cast<uint8_t *>(block.data() + keyAt), 256));
        if (r.keyBytes > 256) {
            block.resize(keyAt + r.keyBytes);
            ucol_getSortKey(collator, reinterpret_cast<const UChar *>(text.utf16()), int(text.size()),
                            reinterpret_cast<uint8_t *>(block.data() + keyAt), int(r.keyBytes));
        }
        block.resize(keyAt + r.keyBytes);
        list->rows.push_back(r);
    }
    sqlite3_finalize(st);
    sqlite3_close(db);
    ucol_close(collator);
    list->order.resize(list->rows.size());
    for (size_t i = 0; i < list->order.size(); ++i)
        list->order[i] = int(i);
    std::stable_sort(list->order.begin(), list->order.end(), [&](int a, int b) {
        const BaselineList::Row &x = list->rows[size_t(a)], &y = list->rows[size_t(b)];
        return std::strcmp(block.data() + x.at + x.nameBytes, block.data() + y.at + y.nameBytes) < 0;
    });
    return list;
}

}  // namespace bench
