#include "GeriYukle.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QHeaderView>
#include <QLocale>

#include "AutoBackup.h"
#include "Dataset.h"
#include "Dialogs.h"
#include "Error.h"
#include "Icons.h"
#include "Maintenance.h"
#include "OtoYedek.h"
#include "tamir.h"

namespace ab = records::autobackup;

namespace {
enum Column { Date, Records, Size, Place };

QString sizeText(qint64 bytes)
{
    return QLocale(QLocale::Turkish, QLocale::Turkey).formattedDataSize(bytes, 1, QLocale::DataSizeTraditionalFormat);
}

QString dateText(const QDateTime &stamp)
{
    return stamp.toString(QStringLiteral("dd.MM.yyyy HH:mm:ss"));
}
}  // namespace

TFrmGeriYukle::TFrmGeriYukle(records::Dataset *dataset, QWidget *parent) : QDialog(parent), dataset_(dataset)
{
    setupUi(this);
    ListView1->header()->setSectionResizeMode(Place, QHeaderView::Stretch);
    ListView1->setColumnWidth(Date, 140);
    ListView1->setColumnWidth(Records, 80);
    ListView1->setColumnWidth(Size, 80);
    BtnGeriYukle->setIcon(kalpiyonIcon(IconId::Ok));
    BtnKapat->setIcon(kalpiyonIcon(IconId::Close));
    connect(BtnDosya, &QPushButton::clicked, this, &TFrmGeriYukle::BtnDosyaClick);
    connect(BtnGeriYukle, &QPushButton::clicked, this, &TFrmGeriYukle::BtnGeriYukleClick);
    connect(BtnKapat, &QPushButton::clicked, this, &QDialog::reject);
    connect(ListView1, &QTreeWidget::itemDoubleClicked, this, &TFrmGeriYukle::BtnGeriYukleClick);
    refresh();
}

void TFrmGeriYukle::addRow(const QString &path, const QString &where)
{
    const ab::BackupInfo info = ab::describe(path);
    auto *item = new QTreeWidgetItem(ListView1);
    item->setText(Date, dateText(info.stamp));
    item->setText(Records, info.records < 0 ? QStringLiteral("okunamıyor") : QString::number(info.records));
    item->setText(Size, sizeText(info.size));
    item->setText(Place, where);
    item->setTextAlignment(Records, Qt::AlignRight | Qt::AlignVCenter);
    item->setTextAlignment(Size, Qt::AlignRight | Qt::AlignVCenter);
    item->setData(Date, Qt::UserRole, info.path);
    item->setToolTip(Place, QDir::toNativeSeparators(info.path) + (info.error.isEmpty() ? QString() : QLatin1Char('\n') + info.error));
}

void TFrmGeriYukle::refresh()
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    ListView1->clear();
    const ab::Folders folders = ab::backupFolders(maintenance::databasePath(dataset_));
    // "Yer" names the folder in a word; the paths are said once below the list and on hover.
    for (const QString &file : chosenFiles_)
        addRow(file, QFileInfo(file).fileName());
    for (const ab::Generation &g : ab::generations(folders.primary))
        addRow(g.path, QStringLiteral("Yedek klasörü"));
    if (!folders.second.isEmpty())
        for (const ab::Generation &g : ab::generations(folders.second))
            addRow(g.path, QStringLiteral("İkinci klasör"));
    if (ListView1->topLevelItemCount())
        ListView1->setCurrentItem(ListView1->topLevelItem(0));
    QString where = QStringLiteral("Yedek klasörü: %1").arg(QDir::toNativeSeparators(folders.primary));
    if (!folders.second.isEmpty())
        where += QStringLiteral("\nİkinci klasör: %1").arg(QDir::toNativeSeparators(folders.second));
    LabelDurum->setText(ListView1->topLevelItemCount()
                            ? QStringLiteral("Geri yüklenecek yedeği seçin. Şimdiki veritabanı silinmez, tarihli bir adla saklanır.\n") + where
                            : QStringLiteral("Yedek klasöründe yedek yok.\n") + where);
    QApplication::restoreOverrideCursor();
}

void TFrmGeriYukle::BtnDosyaClick()
{
    const QString path = ui::getOpenFileName(this, QStringLiteral("Yedek Dosyası Seç"), QString(),
                                             QStringLiteral("Veritabanı (*.mdb);;Tüm dosyalar (*)"));
    if (path.isEmpty())
        return;
    chosenFiles_.removeAll(QFileInfo(path).absoluteFilePath());
    chosenFiles_.prepend(QFileInfo(path).absoluteFilePath());
    refresh();
}

QString TFrmGeriYukle::chosenPath() const
{
    const QTreeWidgetItem *item = ListView1->currentItem();
    return item ? item->data(Date, Qt::UserRole).toString() : QString();
}

void TFrmGeriYukle::BtnGeriYukleClick()
{
    const QString path = chosenPath();
    if (path.isEmpty()) {
        ui::messageDlg(QStringLiteral("Geri yüklenecek yedek seçilmedi !"), ui::Kind::Warning, ui::Ok, this);
        return;
    }
    qint64 count = 0;
    try {
        count = records::verifyBackupFile(path);  // opens, integrity, schema
    } catch (const Error &e) {
        ui::messageDlg(QStringLiteral("Bu yedek geri yüklenemez; hiçbir şey değiştirilmedi.\n%1").arg(e.message()),
                       ui::Kind::Error, ui::Ok, this, e.details());
        return;
    }
    const QString question =
        QStringLiteral("%1 tarihli yedek (%2 kayıt) geri yüklensin mi?\n\nŞimdiki veritabanı silinmez, "
                       "\"%3\" adıyla saklanır. Program ardından yeniden başlar.")
            .arg(dateText(ab::describe(path).stamp))
            .arg(count)
            .arg(ab::keptCopyName(maintenance::databasePath(dataset_), QDateTime::currentDateTime()));
    if (ui::messageDlg(question, ui::Kind::Confirmation, ui::Yes | ui::No, this) != ui::Yes)
        return;
    if (restore(path)) {
        accept();
        TFrmTamir::restartProgram();
        QCoreApplication::quit();
    }
}

bool TFrmGeriYukle::restore(const QString &path)
{
    const QString data = maintenance::databasePath(dataset_);
    const bool wasOpen = dataset_ && dataset_->active();
    if (wasOpen) {
        dataset_->checkBrowseMode();  // a pending edit goes into the kept copy
        dataset_->close();
    }
    QString kept;
    try {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        kept = ab::restore(path, data);
        QApplication::restoreOverrideCursor();
    } catch (const Error &e) {
        QApplication::restoreOverrideCursor();
        if (wasOpen)
            dataset_->open(data);
        ui::messageDlg(e.message(), ui::Kind::Error, ui::Ok, this, e.details());
        return false;
    }
    ui::messageDlg(QStringLiteral("Geri yükleme tamamlandı.%1\nProgram yeniden başlatılıyor.")
                       .arg(kept.isEmpty() ? QString()
                                           : QStringLiteral("\nÖnceki veritabanı saklandı: %1").arg(QDir::toNativeSeparators(kept))),
                   ui::Kind::Information, ui::Ok, this);
    return true;
}

void showRestoreWindow(records::Dataset *dataset, QWidget *parent)
{
    TFrmGeriYukle window(dataset, parent);
    ui::execDialog(window);
}
