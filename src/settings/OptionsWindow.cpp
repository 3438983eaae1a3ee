#include "OptionsWindow.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <QStorageInfo>

#include "AutoBackup.h"
#include "Dialogs.h"
#include "Echo.h"
#include "Error.h"
#include "Locations.h"
#include "RecordStore.h"
#include "ui_OptionsWindow.h"

using settings::Key;

namespace {

namespace ab = records::autobackup;

struct WaitCursor {
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
};

// A port as typed: a decimal number in 1..65535, else 0.
int portOf(const QString &text)
{
    bool ok = false;
    const int port = text.trimmed().toInt(&ok);
    return ok && port >= 1 && port <= 65535 ? port : 0;
}

bool isFolder(const QString &path)
{
    return QFileInfo(path).isDir();
}

// Free space and the newest backup of a folder, or why there is none.
QString folderInfo(const QString &folder, const QString &missing)
{
    if (folder.isEmpty())
        return QString();
    if (!isFolder(folder))
        return QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(folder), missing);
    const QLocale turkish(QLocale::Turkish, QLocale::Turkey);
    const QString free = turkish.formattedDataSize(QStorageInfo(folder).bytesAvailable(), 1, QLocale::DataSizeTraditionalFormat);
    const QList<ab::Generation> generations = ab::generations(folder);
    const QString last = generations.isEmpty()
                             ? QStringLiteral("henüz yedek yok")
                             : QStringLiteral("son yedek %1").arg(generations.first().stamp.toString(QStringLiteral("dd.MM.yyyy HH:mm")));
    return QStringLiteral("%1: %2 boş, %3").arg(QDir::toNativeSeparators(folder), free, last);
}

}  // namespace

OptionsWindow::OptionsWindow(const QString &dataPath, QWidget *parent)
    : QDialog(parent), ui(std::make_unique<Ui::OptionsWindow>()), dataPath_(dataPath),
      loaded_(settings::Settings::load(settings::File::Secenekler))
{
    ui->setupUi(this);
    load();
    connect(ui->TestServerBtn, &QPushButton::clicked, this, &OptionsWindow::TestServerBtnClick);
    connect(ui->TestDicomBtn, &QPushButton::clicked, this, &OptionsWindow::TestDicomBtnClick);
    connect(ui->BackupFolderBtn, &QPushButton::clicked, this, [this] { chooseFolder(ui->BackupFolderEdit); });
    connect(ui->SecondFolderBtn, &QPushButton::clicked, this, [this] { chooseFolder(ui->SecondFolderEdit); });
    connect(ui->BackupFolderEdit, &QLineEdit::textChanged, this, &OptionsWindow::showFolders);
    connect(ui->SecondFolderEdit, &QLineEdit::textChanged, this, &OptionsWindow::showFolders);
    connect(ui->OKBtn, &QPushButton::clicked, this, &OptionsWindow::OKBtnClick);
    connect(ui->CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
    showFolders();
}

OptionsWindow::~OptionsWindow() = default;

void OptionsWindow::load()
{
    ui->ServerEdit->setText(loaded_.text(Key::ServerAddress));
    ui->DicomEnabledChk->setChecked(loaded_.flag(Key::DicomEnabled));
    ui->DicomPortEdit->setText(QString::number(loaded_.number(Key::DicomPort)));
    ui->DicomAeEdit->setText(loaded_.text(Key::DicomAeTitle));
    ui->BackupFolderEdit->setText(loaded_.text(Key::BackupFolder));
    ui->SecondFolderEdit->setText(loaded_.text(Key::SecondBackupFolder));
}

settings::Settings OptionsWindow::fromFields() const
{
    settings::Settings s = loaded_;
    s.setText(Key::ServerAddress, ui->ServerEdit->text().trimmed());
    s.setFlag(Key::DicomEnabled, ui->DicomEnabledChk->isChecked());
    s.setText(Key::DicomPort, ui->DicomPortEdit->text().trimmed());
    s.setText(Key::DicomAeTitle, ui->DicomAeEdit->text().trimmed());
    s.setText(Key::BackupFolder, ui->BackupFolderEdit->text().trimmed());
    s.setText(Key::SecondBackupFolder, ui->SecondFolderEdit->text().trimmed());
    return s;
}

OptionsWindow::Problem OptionsWindow::check() const
{
    if (!portOf(ui->DicomPortEdit->text()))
        return {QStringLiteral("Kapı numarası 1 ile 65535 arasında bir tam sayı olmalı."), ui->DicomPortEdit};
    if (const QString ae = dicom::aeTitleProblem(ui->DicomAeEdit->text().trimmed()); !ae.isEmpty())
        return {ae, ui->DicomAeEdit};
    const ab::Folders folders = ab::backupFolders(dataPath_, fromFields());
    // The default folder is made by the first backup; a chosen one must be there already.
    const bool chosen = fromFields().text(Key::BackupFolder) != settings::defaultText(Key::BackupFolder);
    if (chosen && !isFolder(folders.primary))
        return {QStringLiteral("Yedek klasörü bulunamadı: %1\nVar olan bir klasör seçin.").arg(QDir::toNativeSeparators(folders.primary)),
                ui->BackupFolderEdit};
    if (!folders.second.isEmpty() && !isFolder(folders.second))
        return {QStringLiteral("İkinci yedek klasörü bulunamadı: %1\nUSB belleği takın ya da var olan bir klasör seçin.")
                    .arg(QDir::toNativeSeparators(folders.second)),
                ui->SecondFolderEdit};
    return {};
}

bool OptionsWindow::refuse(const Problem &problem)
{
    if (!problem.field)
        return false;
    ui::messageDlg(problem.text, ui::Kind::Warning, ui::Ok, this);
    problem.field->setFocus();
    return true;
}

void OptionsWindow::TestServerBtnClick()
{
    const QString address = settings::databaseAddressFrom(ui->ServerEdit->text());
    QString answer;
    try {
        WaitCursor wait;
        const std::unique_ptr<records::RecordStore> store = records::openRecordStore(address);
        store->checkSchema();
        answer = QStringLiteral("Bağlantı kuruldu: %1 (%2 kayıt).").arg(store->name()).arg(store->recordCount());
    } catch (const Error &e) {
        ui::messageDlg(QStringLiteral("Veritabanına bağlanılamadı. Adresi, sunucunun açık olduğunu ve parolanızı "
                                      "(~/.pgpass) denetleyin.\n\n%1")
                           .arg(e.message()),
                       ui::Kind::Warning, ui::Ok, this, e.details());
        return;
    }
    ui::messageDlg(answer, ui::Kind::Information, ui::Ok, this);
}

void OptionsWindow::TestDicomBtnClick()
{
    const Problem problem = check();
    if (problem.field == ui->DicomPortEdit || problem.field == ui->DicomAeEdit) {
        refuse(problem);
        return;
    }
    dicom::EchoResult r;
    {
        WaitCursor wait;
        r = dicom::echo(QStringLiteral("127.0.0.1"), portOf(ui->DicomPortEdit->text()), ui->DicomAeEdit->text().trimmed());
    }
    ui::messageDlg(r.message, r.ok ? ui::Kind::Information : ui::Kind::Warning, ui::Ok, this, r.details);
}

void OptionsWindow::chooseFolder(QLineEdit *edit)
{
    const ab::Folders folders = ab::backupFolders(dataPath_, fromFields());
    const QString start = edit == ui->BackupFolderEdit ? folders.primary : folders.second;
    const QString folder = ui::getExistingDirectory(this, QStringLiteral("Yedek Klasörü"), start);
    if (!folder.isEmpty())
        edit->setText(QDir::toNativeSeparators(folder));
}

void OptionsWindow::showFolders()
{
    const ab::Folders folders = ab::backupFolders(dataPath_, fromFields());
    ui->BackupFolderInfo->setText(folderInfo(folders.primary, QStringLiteral("henüz yok, ilk yedekte oluşturulur")));
    ui->SecondFolderInfo->setText(folderInfo(folders.second, QStringLiteral("bulunamadı")));
}

void OptionsWindow::OKBtnClick()
{
    if (refuse(check()))
        return;
    try {
        fromFields().save();
    } catch (const Error &e) {
        ui::messageDlg(QStringLiteral("Seçenekler kaydedilemedi; ayar klasörünün yazılabilir olduğunu denetleyin.\n\n%1").arg(e.message()),
                       ui::Kind::Error, ui::Ok, this, e.details());
        return;
    }
    accept();
}
