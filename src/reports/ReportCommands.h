#pragma once
// The two print commands: fill the template, then preview it (preparing while the preview is
// open) or prepare it and print through the print dialog.

#include <QWidget>

#include "Dataset.h"
#include "ReportFilling.h"

namespace reports {

class ReportSession {
public:
    explicit ReportSession(records::Dataset *dataset);
    void runEchoReport(const FixedTexts &fixed, bool preview, QWidget *parent);
    void runRecordList(const FixedTexts &fixed, bool preview, QWidget *parent);

    // The templates live as long as the main window; so do their prepared pages.
    ReportTemplate rapor = makeRapor();
    ReportTemplate raporKisi = makeRaporKisi();
    PreparedReport raporPages, raporKisiPages;

private:
    void run(ReportTemplate &tmpl, PreparedReport &pages, bool preview, QWidget *parent);
    records::Dataset *dataset_;
};

}  // namespace reports
