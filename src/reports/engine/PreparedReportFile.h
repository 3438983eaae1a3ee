#pragma once
// Prepared pages saved to and read from a file (".fp3"): an XML document whose root element
// is "preparedreport". Reading trusts nothing in the file: a damaged, truncated, enormous or
// hostile file gives an Error and leaves the pages in memory as they were.

#include <QByteArray>
#include <QString>

#include "Engine.h"

namespace reports {

QByteArray savePreparedReport(const PreparedReport &report);
void savePreparedReportFile(const PreparedReport &report, const QString &path);

// Reads pages for `tmpl` (the file must have been saved from a template of the same name);
// on success `out` holds the pages read and refers to `tmpl`.
void loadPreparedReport(const QByteArray &data, const ReportTemplate &tmpl, PreparedReport &out);
void loadPreparedReportFile(const QString &path, const ReportTemplate &tmpl, PreparedReport &out);

// Limits that keep a hostile file from exhausting memory.
inline constexpr qint64 kMaxFileBytes = 512LL * 1024 * 1024;
inline constexpr int kMaxPages = 200000;

}  // namespace reports
