// TForm1: the commands that open other windows, the print commands and the settings file.
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include "Ayar.h"
#include "Dialogs.h"
#include "Error.h"
#include "Hakkinda.h"
#include "Locations.h"
#include "ProfileFile.h"
#include "Sil.h"
#include "UYedek.h"
#include "Unit1.h"
#include "Unit2.h"
#include "tamir.h"

namespace {
const char *const kSabitKeys[] = {"01", "02", "03", "04", "05", "06", "07"};
}  // namespace

void setSettingsFolderForTests(const QString &folder)
{
    settings::setSettingsFolderForTests(folder);
}

QString TForm1::SettingsFileName() const
{
    return settings::ayarlarPath();
}

void TForm1::LoadSettings()
{
    const settings::ProfileFile ini(SettingsFileName());
    for (int i = 0; i < 7; ++i) {
        QLineEdit *box = Form2->edit(i + 1);
        box->setText(ini.readText(QStringLiteral("Sabit"), QLatin1String(kSabitKeys[i]), box->text()));
    }
    AyarFrm->ChkYazdir->setChecked(ini.readBool(QStringLiteral("Tercih"), QStringLiteral("Print"), AyarFrm->ChkYazdir->isChecked()));
    AyarFrm->ChkAlan->setChecked(ini.readBool(QStringLiteral("Tercih"), QStringLiteral("Alan"), AyarFrm->ChkAlan->isChecked()));
}

void TForm1::SaveSettings()
{
    const settings::ProfileFile ini(SettingsFileName());
    for (int i = 0; i < 7; ++i)
        ini.writeText(QStringLiteral("Sabit"), QLatin1String(kSabitKeys[i]), Form2->edit(i + 1)->text());
    ini.writeBool(QStringLiteral("Tercih"), QStringLiteral("Print"), AyarFrm->ChkYazdir->isChecked());
    ini.writeBool(QStringLiteral("Tercih"), QStringLiteral("Alan"), AyarFrm->ChkAlan->isChecked());
}

void TForm1::BtnYazdir1Click()
{
    if (!printEchoReport)
        throw Error(QStringLiteral("Rapor hazırlanamıyor: rapor bileşeni yüklenmedi."));
    printEchoReport();
}

void TForm1::BtnYazdir2Click()
{
    if (!printRecordList)
        throw Error(QStringLiteral("Rapor hazırlanamıyor: rapor bileşeni yüklenmedi."));
    printRecordList();
}

void TForm1::SabitBilgiler1Click()
{
    ui::execDialog(*Form2);
}

void TForm1::Alifresi1Click()
{
    ui::execDialog(*AyarFrm);
}

void TForm1::KaytSil1Click()
{
    ui::execDialog(*Form3);
}

void TForm1::VeritabannYedekle1Click()
{
    ui::execDialog(*FrmYedek);
}

void TForm1::Hakknda1Click()
{
    ui::execDialog(*Form4);
}

void TForm1::VeritabannOnar1Click()
{
    // The repair window owns the file from now on; a pending edit is dropped unasked.
    Query1->close();
    hide();
    FrmTamir->show();
}
