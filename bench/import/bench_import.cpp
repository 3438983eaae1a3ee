// Import speed: the real 40-row Access fixture imported again and again (no larger Access
// file can be written here), reported as rows per second including opening and committing.
//   bench_import [ROUNDS]
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <cstdio>

#include "AccessImport.h"

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const int rounds = argc > 1 ? atoi(argv[1]) : 250;
    QTemporaryDir dir;
    const QString source = QStringLiteral(KALPIYON_FIXTURES "/legacy-access/veriler-sample.mdb");
    long rows = 0;
    QElapsedTimer t;
    t.start();
    for (int i = 0; i < rounds; ++i)
        rows += import::importAccess(source, dir.filePath(QStringLiteral("hedef.db")), true).rows;
    const double seconds = t.nsecsElapsed() / 1e9;
    std::printf("imported %ld rows in %d files: %.2f s, %.0f rows/s\n", rows, rounds, seconds, rows / seconds);
    return 0;
}
