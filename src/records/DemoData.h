#pragma once
// Realistic, reproducible examination records for trying the program out and for benchmarks.

#include <QVariant>
#include <QVector>
#include <random>

namespace records {

class DemoData {
public:
    explicit DemoData(quint32 seed) : rng_(seed) {}
    // The values of record number `index` (kFieldCount values as the dataset holds them).
    QVector<QVariant> record(int index);

private:
    std::mt19937 rng_;
    int pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng_); }
    bool chance(int percent) { return pick(100) < percent; }
    QString measure(double low, double high);  // "3,5": one decimal, decimal comma
};

// Writes a new database with `count` demo records in one transaction (refuses an existing
// file unless `overwrite`); a failure removes the half-written file.
void writeDemoDatabase(const QString &path, int count, quint32 seed = 1, bool overwrite = false);

}  // namespace records
