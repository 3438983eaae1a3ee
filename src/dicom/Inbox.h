#pragma once
// The folder `Gelen/` under the data folder, where the receiver leaves each report it was
// sent until the user takes it into a record, and `Gelen/Alinan/`, where a report goes once
// the record holding it is saved, with a list of every report taken (by SOP Instance UID)
// so that one sent or opened again is recognised. Readable by its owner only.

#include <QDate>
#include <QDateTime>
#include <QList>
#include <QString>
#include <optional>

namespace dicom {

// dataFolder/Gelen, created owner-only when `create` is set.
QString inboxFolder(const QString &dataFolder, bool create = false);

// Where a received report was taken into a record: enough to find the record again.
struct TakenReport {
    QString sopInstanceUid;
    QDateTime takenAt;
    QString patientName;
    QDate studyDate;  // the record's Tarih (may be null)
    QString protocol; // the record's Prot_No
};

struct WaitingReport {
    QString path;
    QString patientName;
    QString reportTime;   // "YYYY-MM-DD HH:MM" of the report
    QDateTime received;   // when the file arrived
    std::optional<TakenReport> taken;  // sent again after it had been taken
};

// The adult echo reports waiting in the inbox, newest first. Files that cannot be read as
// such are left out.
QList<WaitingReport> waitingReports(const QString &dataFolder);

// The SOP Instance UID of a DICOM file; empty when the file cannot be read.
QString sopInstanceUidOf(const QString &path);

// The earlier take of the report with this UID, if any (the latest when several).
std::optional<TakenReport> findTaken(const QString &dataFolder, const QString &sopInstanceUid);

// Notes that the report was taken into a saved record and, when `waitingPath` is a file in
// the inbox, moves it into Gelen/Alinan (beside, never over, an earlier copy of the same
// object). False when the note could not be written; the file then stays waiting.
bool recordTaken(const QString &dataFolder, const TakenReport &taken, const QString &waitingPath);

// The file name a received object gets: its SOP Instance UID (digits and dots only).
QString inboxFileName(const QString &sopInstanceUid);

// Where the receiver stores an object with this UID (creating Gelen/), or an empty string
// when a copy of it already waits there: the first copy is kept, the repeat is not written.
QString inboxPath(const QString &dataFolder, const QString &sopInstanceUid);

}  // namespace dicom
