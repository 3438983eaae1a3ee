#pragma once
// The folder `Gelen/` under the data folder, where the receiver leaves each report it was
// sent until the user takes it into a record. Readable by its owner only.

#include <QDateTime>
#include <QList>
#include <QString>

namespace dicom {

// dataFolder/Gelen, created owner-only when `create` is set.
QString inboxFolder(const QString &dataFolder, bool create = false);

struct WaitingReport {
    QString path;
    QString patientName;
    QString reportTime;   // "YYYY-MM-DD HH:MM" of the report
    QDateTime received;   // when the file arrived
};

// The adult echo reports waiting in the inbox, newest first. Files that cannot be read as
// such are left out.
QList<WaitingReport> waitingReports(const QString &dataFolder);

// Moves a report that was taken into a record into Gelen/Alinan, so it no longer waits.
// Returns false (the file stays) when it cannot.
bool markTaken(const QString &path);

// The file name a received object gets: its SOP Instance UID (digits and dots only).
QString inboxFileName(const QString &sopInstanceUid);

}  // namespace dicom
