#pragma once
// Where the program takes its automatic backups and shows what became of them: at the end of
// a normal run, right before "Veritabanı Temizle" deletes the records, and the report of
// failed copies at the next start. The work itself is records::autobackup.

#include <QString>

class QWidget;

namespace records {
class Dataset;
}

namespace maintenance {

// The database file the program works on, as an absolute path.
QString databasePath(const records::Dataset *dataset);

// At the end of a normal run: a generation in each backup folder that has none of today.
// The main window disappears first, so the backup does not hold up the user. Shows nothing;
// a failure is recorded for the next start and the program closes all the same. A database
// that could not be opened is not backed up.
void backupAtClose(const records::Dataset *dataset, QWidget *mainWindow);

// Right before clearing: a generation whatever the day. When it cannot be written the user is
// asked whether to clear all the same; true means go on.
bool backupBeforeClearing(const records::Dataset *dataset, QWidget *parent);

// At start: the failures recorded since the last start, shown once in a warning.
void reportBackupProblems(QWidget *parent);

}  // namespace maintenance
