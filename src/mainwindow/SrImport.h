#pragma once
// Taking echo measurements from DICOM Structured Reports into the main window: the command
// "DICOM Raporu Al..." (after the entries of menu "Dosya", behind a separator), its window
// listing the reports waiting in Gelen/ and those of a file or folder the user picks, and the
// receiver that runs while the program is open when Secenekler turns it on.

#include <QDialog>
#include <QFileSystemWatcher>
#include <QList>
#include <optional>

#include "SrReader.h"

#include "ui_SrImport.h"

class QCheckBox;
class QMenu;
class QPushButton;
class QTreeWidget;
class TForm1;

namespace srimport {

// Adds the command to `menu` and starts the receiver (when enabled) once the event loop runs.
void install(TForm1 *window, QMenu *menu);

// The values of `report` as pending changes of a new record, or of the current record when
// `intoCurrent` is set and the names agree; asks before changing filled fields. Returns the
// summary to show the user, nothing when nothing was taken (the user declined).
std::optional<QString> takeReport(TForm1 *window, const dicom::SrReport &report, bool intoCurrent);

// The data folder: where Data.mdb is, and Gelen/ below it.
QString dataFolder(const TForm1 *window);

}  // namespace srimport

// The window of the command: reports to choose from, by patient name and time.
class TSrImportFrm : public QDialog, public Ui::SrImportFrm {
    Q_OBJECT
public:
    explicit TSrImportFrm(TForm1 *window);


    // Lists the reports waiting in Gelen/ (and those found before in a chosen folder); runs
    // again whenever Gelen/ changes while the window is open.
    void refresh();

    // What was taken, for the user once the window has closed; empty when nothing was.
    QString summary() const { return summary_; }

public slots:
    void BtnDosyaClick();
    void BtnKlasorClick();
    void BtnAlClick();

private:
    struct Entry {
        QString path;
        QString patientName, time, origin;
        bool waiting;  // in Gelen/: moved on once the record holding it is saved
    };
    void addFolder(const QString &folder);
    void watchInbox();
    bool take(const QString &path, bool waiting);
    bool takeAgain(const QString &uid);

    TForm1 *window_;
    QString summary_;
    QFileSystemWatcher watcher_;
    QList<Entry> found_;  // from a folder the user picked
    QList<Entry> shown_;
};
