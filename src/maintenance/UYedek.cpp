#include "Locations.h"
#include "RecordStore.h"
#include "UYedek.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QFrame>
#include <QGroupBox>
#include <QHeaderView>
#include <QStorageInfo>

#include "Dialogs.h"
#include "Error.h"
#include "Icons.h"
#include "Maintenance.h"
#include "Pause.h"

TFrmYedek *FrmYedek = nullptr;

TFrmYedek::TFrmYedek(QWidget *parent) : QDialog(parent, Qt::Tool)
{
    setObjectName(QStringLiteral("FrmYedek"));
    setWindowTitle(QStringLiteral(" Veritabanı Yedekleme Sihirbazı"));
    resize(436, 282);
    auto *panel = new QFrame(this);
    panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
    panel->setGeometry(10, 10, 406, 232);

    auto *l1 = new QLabel(QStringLiteral("Yedekleme Klasörü"), panel);
    l1->move(16, 24);
    Edit1 = new QLineEdit(QStringLiteral("Yedek"), panel);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setGeometry(16, 40, 193, 21);
    l1->setBuddy(Edit1);
    auto *l3 = new QLabel(QStringLiteral("Yedekleme Konumu"), panel);
    l3->move(16, 72);
    DriveComboBox1 = new QComboBox(panel);
    DriveComboBox1->setObjectName(QStringLiteral("DriveComboBox1"));
    DriveComboBox1->setGeometry(16, 88, 193, 21);
    l3->setBuddy(DriveComboBox1);

    DirectoryOutline1 = new QTreeView(panel);
    DirectoryOutline1->setObjectName(QStringLiteral("DirectoryOutline1"));
    DirectoryOutline1->setGeometry(16, 112, 193, 97);
    DirectoryOutline1->header()->hide();
    startDirectory_ = QDir::currentPath();

    auto *l2 = new QLabel(QStringLiteral("Durum"), panel);
    l2->move(224, 24);
    ProgressBar1 = new QProgressBar(panel);
    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    ProgressBar1->setGeometry(224, 40, 161, 21);
    ProgressBar1->setRange(0, 100);
    ProgressBar1->setValue(0);
    ProgressBar1->setTextVisible(false);
    auto *group = new QGroupBox(QStringLiteral(" Yedeklenecek Veriler "), panel);
    group->setGeometry(224, 88, 161, 89);
    CheckBox1 = new QCheckBox(QStringLiteral("Veritabanı"), group);
    CheckBox1->setObjectName(QStringLiteral("CheckBox1"));
    CheckBox1->move(24, 24);
    CheckBox1->setChecked(true);
    CheckBox2 = new QCheckBox(QStringLiteral("Ayar Dosyaları"), group);
    CheckBox2->setObjectName(QStringLiteral("CheckBox2"));
    CheckBox2->move(24, 48);
    BitBtn1 = new QPushButton(kalpiyonIcon(IconId::Save), QStringLiteral("Yedekle"), panel);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn1->setGeometry(224, 184, 161, 25);

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
    QString failure;
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
    }
    QApplication::restoreOverrideCursor();
    ProgressBar1->setValue(0);
    if (!failure.isEmpty()) {
        ui::messageDlg(QStringLiteral("Yedekleme tamamlanamadı.\n%1").arg(failure), ui::Kind::Error, ui::Ok, this);
        return;
    }
    ui::messageDlg(QStringLiteral("Yedekleme işlemi başarıyla tamamlandı."), ui::Kind::Custom, ui::Ok, this);
}
