#pragma once
// Prepared pages saved to and read from a file (".fp3"): an XML document whose root element
// is "preparedreport". Reading trusts nothing in the file: a damaged, truncated, enormous or
// hostile file gives an Error and leaves the pages in memory as they were.

#include <QByteArray>
#include <QString>
#include <vector>

#include "Engine.h"

namespace reports {

QByteArray savePreparedReport(const PreparedReport &report);

// Written owner-only (the pages hold patient data), synced, renamed over any earlier file
// and the folder synced.
void savePreparedReportFile(const PreparedReport &report, const QString &path);

// Reads pages saved from one of `templates` (the file names its template); on success `out`
// holds the pages read and refers to that template. On failure `out` is untouched.
void loadPreparedReport(const QByteArray &data, const std::vector<const ReportTemplate *> &templates, PreparedReport &out);
void loadPreparedReportFile(const QString &path, const std::vector<const ReportTemplate *> &templates, PreparedReport &out);
// Pages of `tmpl` only.
inline void loadPreparedReport(const QByteArray &data, const ReportTemplate &tmpl, PreparedReport &out)
{
    loadPreparedReport(data, std::vector<const ReportTemplate *>{&tmpl}, out);
}
inline void loadPreparedReportFile(const QString &path, const ReportTemplate &tmpl, PreparedReport &out)
{
    loadPreparedReportFile(path, std::vector<const ReportTemplate *>{&tmpl}, out);
}

// Limits that keep a small hostile file from exhausting memory or time. A page holds no more
// bands than fit on it one below the other (maxBandsPerPage); a text is at most
// kMaxTextChars long; and the pages read may take at most kMemoryPerFileByte bytes of memory
// per byte of the file, plus kMemorySlack (the program's own files take less than two).
inline constexpr qint64 kMaxFileBytes = 512LL * 1024 * 1024;
inline constexpr int kMaxPages = 200000;
inline constexpr int kMaxTextChars = 65536;
inline constexpr qint64 kMemoryPerFileByte = 8;
inline constexpr qint64 kMemorySlack = 4LL * 1024 * 1024;
int maxBandsPerPage(const ReportTemplate &tmpl);

}  // namespace reports
