#include "OtoYedek.h"

#include <QApplication>
#include <QFileInfo>
#include <QWidget>

#include "AutoBackup.h"
#include "Dataset.h"
#include "RecordStore.h"
#include "Dialogs.h"
#include "Settings.h"

namespace maintenance {

namespace ab = records::autobackup;

namespace {
struct WaitCursor {
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
};
}  // namespace

QString databasePath(const records::Dataset *dataset)
{
    const QString name = dataset && !dataset->fileName().isEmpty() ? dataset->fileName() : QStringLiteral("Data.mdb");
    return records::isServerAddress(name) ? name : QFileInfo(name).absoluteFilePath();
}

void backupAtClose(const records::Dataset *dataset, QWidget *mainWindow)
{
    if (!dataset || !dataset->active())
        return;
    mainWindow->hide();
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);  // off the screen now
    WaitCursor wait;
    ab::takeBackup(databasePath(dataset), ab::Occasion::Closing);
}

bool backupBeforeClearing(const records::Dataset *dataset, QWidget *parent)
{
    ab::Result r;
    {
        WaitCursor wait;
        r = ab::takeBackup(databasePath(dataset), ab::Occasion::BeforeClearing);
    }
    // With one copy written, a failed second folder waits for the next start like any other.
    if (r.problems.isEmpty() || !r.written.isEmpty())
        return true;
    // Shown now, so not again at the next start.
    ab::takeReportedProblems(databasePath(dataset));
    const QString question = QStringLiteral("Silmeden önce yedek alınamadı:\n%1\n\nKayıtlar yine de silinsin mi?")
                                 .arg(r.problems.join(QLatin1Char('\n')));
    return ui::messageDlg(question, ui::Kind::Warning, ui::Yes | ui::No, parent) == ui::Yes;
}

void reportBackupProblems(QWidget *parent)
{
    const QStringList problems = ab::takeReportedProblems(databasePath(nullptr));
    if (problems.isEmpty())
        return;
    ui::messageDlg(QStringLiteral("Son otomatik yedekleme tam yapılamadı:\n%1\n\nYedek klasörünü denetleyin "
                                  "(\"Ayarlar\" → \"Seçenekler...\"; %2).")
                       .arg(problems.join(QLatin1Char('\n')), settings::sectionPlaceOf(settings::Key::BackupFolder)),
                   ui::Kind::Warning, ui::Ok, parent);
}

}  // namespace maintenance
