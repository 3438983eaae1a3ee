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
#include "Settings.h"
#include "Sil.h"
#include "UYedek.h"
#include "Unit1.h"
#include "Unit2.h"
#include "tamir.h"

namespace {
// The boxes of "Sabit Bilgiler" in order, Edit1 to Edit7.
constexpr settings::Key kFixedTextKeys[] = {settings::Key::ProgramName, settings::Key::Workplace, settings::Key::Address,
                                            settings::Key::ReportTitle, settings::Key::ListTitle, settings::Key::Doctor,
                                            settings::Key::DoctorTitle};
}  // namespace

QString TForm1::SettingsFileName() const
{
    return settings::ayarlarPath();
}

void TForm1::LoadSettings()
{
    const settings::Settings ayarlar = settings::Settings::load(settings::File::Ayarlar, SettingsFileName());
    for (int i = 0; i < 7; ++i)
        Form2->edit(i + 1)->setText(ayarlar.text(kFixedTextKeys[i]));
    AyarFrm->ChkYazdir->setChecked(ayarlar.flag(settings::Key::ShowPreview));
    AyarFrm->ChkAlan->setChecked(ayarlar.flag(settings::Key::FillNewRecord));
}

void TForm1::SaveSettings()
{
    settings::Settings ayarlar(settings::File::Ayarlar, SettingsFileName());
    for (int i = 0; i < 7; ++i)
        ayarlar.setText(kFixedTextKeys[i], Form2->edit(i + 1)->text());
    ayarlar.setFlag(settings::Key::ShowPreview, AyarFrm->ChkYazdir->isChecked());
    ayarlar.setFlag(settings::Key::FillNewRecord, AyarFrm->ChkAlan->isChecked());
    ayarlar.save();
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
