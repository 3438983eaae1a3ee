#pragma once
// What the two print commands write into their templates before preparing them, and PDF
// output of prepared pages.

#include <QString>

#include "Dataset.h"
#include "Engine.h"

namespace settings {
class Settings;
}

namespace reports {

// The header texts of the reports: the fixed information "02" to "07".
struct FixedTexts {
    QString workplace, address, reportTitle, listTitle, doctor, doctorTitle;
    static FixedTexts defaults();
    // Read from a settings file with the program's keys and defaults.
    static FixedTexts fromSettingsFile(const QString &path);
    static FixedTexts from(const settings::Settings &ayarlar);
};

// The twenty measurement cells with their units, M11, and the header and signature memos.
void fillEchoReport(ReportTemplate &rapor, const records::Dataset &dataset, const FixedTexts &fixed);
// The list's three header memos.
void fillRecordList(ReportTemplate &raporKisi, const FixedTexts &fixed);

// Writes the prepared pages as a PDF of A4 pages; throws Error when the file cannot be written.
void writePdf(const PreparedReport &report, const QString &path);

}  // namespace reports
