#include "ReportCommands.h"

#include <QCoreApplication>

#include "DatasetAdapter.h"
#include "Dialogs.h"
#include "Preview.h"
#include "Printing.h"

namespace reports {

ReportSession::ReportSession(records::Dataset *dataset) : dataset_(dataset)
{
}

void ReportSession::runEchoReport(const FixedTexts &fixed, bool preview, QWidget *parent)
{
    fillEchoReport(rapor, *dataset_, fixed);
    run(rapor, raporPages, preview, parent);
}

void ReportSession::runRecordList(const FixedTexts &fixed, bool preview, QWidget *parent)
{
    fillRecordList(raporKisi, fixed);
    run(raporKisi, raporKisiPages, preview, parent);
}

void ReportSession::run(ReportTemplate &tmpl, PreparedReport &pages, bool preview, QWidget *parent)
{
    DatasetAdapter adapter(dataset_, fieldsUsedBy(tmpl));
    QStringList errors;
    if (!preview) {
        if (!BuildPages(tmpl, &adapter, pages, &errors)) {
            // A failed preparation is reported and nothing is printed.
            ui::messageDlg(errorMessage(errors), ui::Kind::Error, ui::Ok, parent);
            return;
        }
        PrintPrepared(pages, parent, 1);  // no preview: "Geçerli sayfa" is page 1
        return;
    }
    pages.pages.clear();
    pages.tmpl = &tmpl;
    TfrxPreviewForm *form = nullptr;
    int rows = 0;
    BuildOptions options;
    options.clear = false;
    options.onPage = [&](int) {
        if (form)
            form->pageArrived();
    };
    options.perRow = [&] {
        if (++rows % 256 == 0)  // the window stays responsive while pages are built
            QCoreApplication::processEvents();
    };
    options.stopRequested = [&] { return form && form->stopRequested(); };
    TfrxPreviewForm dialog(pages, tmpl.navigator, [&] {
        if (!BuildPages(tmpl, &adapter, pages, &errors, options))
            ui::messageDlg(errorMessage(errors), ui::Kind::Error, ui::Ok, form);
    }, parent);
    form = &dialog;
    dialog.setTemplates({&rapor, &raporKisi});
    ui::execDialog(dialog);
}

}  // namespace reports
