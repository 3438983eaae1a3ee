#include "Locations.h"
#include "RecordStore.h"
#include "UYedek.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QStorageInfo>

#include "Dialogs.h"
#include "Error.h"
#include "Icons.h"
#include "Maintenance.h"
#include "AutoSize.h"
#include "Pause.h"

TFrmYedek *FrmYedek = nullptr;

TFrmYedek::TFrmYedek(QWidget *parent) : QDialog(parent, Qt::Tool)
{
    setupUi(this);
    ui::sizeMarkedToContents(this);
    BitBtn1->setIcon(kalpiyonIcon(IconId::Save));
    startDirectory_ = QDir::currentPath();

    connect(BitBtn1, &QPushButton::clicked, this, &TFrmYedek::BitBtn1Click);
    connect(DriveComboBox1, &QComboBox::activated, this, &TFrmYedek::DriveComboBox1Change);
}

// The drive list and the directory tree are read when they are first needed (normally the
// first showing), not when the hidden window is created: a file-system model watches and
// re-lists the folders it has read for as long as it watches.
void TFrmYedek::ensureDrivesAndTree()
{
    if (model_)
        return;
    for (const QStorageInfo &volume : QStorageInfo::mountedVolumes())
        if (volume.isValid() && volume.isReady())
            DriveComboBox1->addItem(QDir::toNativeSeparators(volume.rootPath()), volume.rootPath());
    // Directories only, read when a branch is opened; names as the file system has them.
    model_ = new QFileSystemModel(this);
    model_->setOption(QFileSystemModel::DontWatchForChanges, !isVisible());
    model_->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot);
    model_->setRootPath(QDir::rootPath());
    DirectoryOutline1->setModel(model_);
    for (int c = 1; c < model_->columnCount(); ++c)
        DirectoryOutline1->hideColumn(c);
    setCurrentDirectory(startDirectory_);
}

void TFrmYedek::showEvent(QShowEvent *event)
{
    ensureDrivesAndTree();
    model_->setOption(QFileSystemModel::DontWatchForChanges, false);
    QDialog::showEvent(event);
}

void TFrmYedek::hideEvent(QHideEvent *event)
{
    if (model_)  // a hidden window watches no folders
        model_->setOption(QFileSystemModel::DontWatchForChanges, true);
    QDialog::hideEvent(event);
}

QString TFrmYedek::currentDirectory() const
{
    const_cast<TFrmYedek *>(this)->ensureDrivesAndTree();
    const QString path = model_->filePath(DirectoryOutline1->currentIndex());
    return path.isEmpty() ? QDir::rootPath() : path;
}

void TFrmYedek::setCurrentDirectory(const QString &path)
{
    ensureDrivesAndTree();
    const QModelIndex index = model_->index(path);
    DirectoryOutline1->setCurrentIndex(index);
    DirectoryOutline1->scrollTo(index);
}

void TFrmYedek::DriveComboBox1Change()
{
    ensureDrivesAndTree();
    const QString root = DriveComboBox1->currentData().toString();
    if (!QFileInfo(root).isReadable())
        throw Error(QStringLiteral("'%1' okunamıyor.").arg(root));
    setCurrentDirectory(root);
}

QString TFrmYedek::composeDestination(const QString &dir, const QString &name)
{
    const QString d = QDir::fromNativeSeparators(dir);
    const QString path = d.endsWith(QLatin1Char('/')) ? d + name : d + QLatin1Char('/') + name;
    return path.endsWith(QLatin1Char('/')) ? path : path + QLatin1Char('/');
}

// The working folder's Data.mdb, or the server the program keeps its records on (its records
// are then written as a standalone Data.mdb that opens on any desk).
static QString databaseInUse()
{
    const QString address = settings::databaseAddress();
    return records::isServerAddress(address) ? address : QDir::current().filePath(address);
}

void TFrmYedek::copyOne(const QString &source, const QString &target, int pauseMs, bool database)
{
    ProgressBar1->setValue(0);
    for (int quarter = 0; quarter < 4; ++quarter) {
        ProgressBar1->setValue(ProgressBar1->value() + 25);
        maintenance::pause(pauseMs);
    }
    if (database)
        records::backupRecords(source, target);
    else
        records::copyFileReplacing(source, target);
    ProgressBar1->setValue(0);
    maintenance::pause(pauseMs);
}

void TFrmYedek::BitBtn1Click()
{
    if (!CheckBox1->isChecked() && !CheckBox2->isChecked()) {
        ui::messageDlg(QStringLiteral("Yedekleme için seçim yapılmadı !"), ui::Kind::Warning, ui::Ok, this);
        return;
    }
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const QString destination = composeDestination(currentDirectory(), Edit1->text());
    QString failure, failureDetails;
    try {
        if (!QDir().mkpath(destination))
            throw Error(QStringLiteral("'%1' klasörü oluşturulamadı.").arg(QDir::toNativeSeparators(destination)));
        ProgressBar1->setValue(0);
        // The database in use (the working folder's Data.mdb) and the settings file where the
        // program keeps it.
        if (CheckBox1->isChecked())
            copyOne(databaseInUse(), destination + QStringLiteral("Data.mdb"), 100, true);
        if (CheckBox2->isChecked())
            copyOne(settingsFile ? settingsFile() : QStringLiteral("Ayarlar"), destination + QStringLiteral("Ayarlar"), 50, false);
    } catch (const Error &e) {
        failure = e.message();
        failureDetails = e.details();
    }
    QApplication::restoreOverrideCursor();
    ProgressBar1->setValue(0);
    if (!failure.isEmpty()) {
        ui::messageDlg(QStringLiteral("Yedekleme tamamlanamadı.\n%1").arg(failure), ui::Kind::Error, ui::Ok, this, failureDetails);
        return;
    }
    ui::messageDlg(QStringLiteral("Yedekleme işlemi başarıyla tamamlandı."), ui::Kind::Custom, ui::Ok, this);
}
