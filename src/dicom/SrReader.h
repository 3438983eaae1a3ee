#pragma once
// Reads an adult echocardiography report (DICOM Structured Report, TID 5200 or TID 5300) and
// says, for each Kalpiyon field it can fill, the value as the field stores it. GUI-free.

#include <QDate>
#include <QList>
#include <QString>

class DcmItem;
class DcmFileFormat;

namespace dicom {

struct FieldValue {
    QString field;   // name in table `veriler` (Adi_Soyadi, Yas, Tarih, Prot_No, kalp_la ...)
    QString value;   // exactly as stored; Tarih as YYYY-MM-DD
    QString exact;   // the converted value before rounding (measurements only)
    QString source;  // the item it came from, for the user and for diagnostics
};

struct SkippedItem {
    QString item;    // "LN:18038-0 1.28 {ratio}"
    QString reason;  // Turkish
};

struct SrReport {
    QString patientName;  // Turkish capitals, family name first
    QString age;
    QDate studyDate;
    QString accessionNumber;
    QString sopInstanceUid;  // the object's own UID: a report sent again is the same object
    QString contentTime;  // "YYYY-MM-DD HH:MM" of the report, for lists
    QList<FieldValue> values;  // in the order of table `veriler`, only fields it fills
    QList<SkippedItem> skipped;

    QString value(const QString &field) const;
};

// Reads a file. Throws Error with a Turkish message when the file is not an adult echo
// report (another SOP class, another root concept, not DICOM, damaged or truncated).
SrReport readSrFile(const QString &path);
// The same for a dataset already in memory (the receiver checks what it is sent).
SrReport readSrDataset(DcmItem &dataset);
// Loads a DICOM file into `file` after checking that its nesting is safe to load. Throws
// Error (Turkish; dcmtk's own text under details) when it cannot.
void loadDicomFile(const QString &path, DcmFileFormat &file);

// Patient's Name (PN bytes) decoded by Specific Character Set, first component group,
// family name first, Turkish capitals, cut to the field's 50 characters.
QString patientNameText(const QByteArray &pn, const QString &specificCharacterSet);
// Patient's Age "057Y" -> "57"; empty when absent, then the age from the birth date.
QString ageText(const QString &as, const QDate &birthDate, const QDate &studyDate);

}  // namespace dicom
