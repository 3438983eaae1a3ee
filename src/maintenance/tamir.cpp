#include "Locations.h"
#include "RecordStore.h"
#include "tamir.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QLocale>

#include "Dialogs.h"
#include "Error.h"
#include "Icons.h"
#include "Maintenance.h"
#include "AutoSize.h"
#include "Pause.h"
#include "TestSeam.h"

TFrmTamir *FrmTamir = nullptr;

namespace {
const QString kData = QStringLiteral("Data.mdb");
const QString kCopy = QStringLiteral("Yedek.mdb");
const QColor kMaroon(128, 0, 0);

void colour(QLabel *label, const QColor &c)
{
    QPalette p = label->palette();
    p.setColor(QPalette::WindowText, c);
    label->setPalette(p);
}
}  // namespace

TFrmTamir::TFrmTamir(QWidget *parent) : QDialog(parent, Qt::Tool)
{
    setupUi(this);
    ui::sizeMarkedToContents(this);
    const std::pair<QToolButton *, IconId> icons[] = {
        {SpeedButton1, IconId::Today}, {Button1, IconId::Ok}, {Button6, IconId::Cancel}, {SpeedButton2, IconId::Prior}};
    for (const auto &[button, icon] : icons)
        button->setIcon(kalpiyonIcon(icon));
    colour(Label3, palette().color(QPalette::WindowText));  // disabled, not greyed

    connect(Button1, &QToolButton::clicked, this, &TFrmTamir::Button1Click);
    connect(Button6, &QToolButton::clicked, this, &TFrmTamir::Button6Click);
    connect(SpeedButton1, &QToolButton::clicked, this, [this] { Panel1->hide(); Panel3->show(); });
    connect(SpeedButton2, &QToolButton::clicked, this, [this] { Panel3->hide(); Panel1->show(); });
}

TFrmTamir::~TFrmTamir() = default;

namespace {
// Data.mdb, or the server named in Secenekler.
QString databaseInUse()
{
    return settings::databaseAddress();
}
}  // namespace

QString TFrmTamir::DatabaseSizeText(const QString &fileName)
{
    if (records::isServerAddress(fileName)) {  // the table's size on the server
        try {
            return QLocale(QLocale::Turkish, QLocale::Turkey)
                .formattedDataSize(records::openRecordStore(fileName)->sizeBytes(), 2, QLocale::DataSizeTraditionalFormat);
        } catch (const Error &) {
            return QStringLiteral("*.mbd dosyası bulunamadı!");
        }
    }
    if (!QFileInfo(fileName).isFile())  // a FIFO or a device would block the open
        return QStringLiteral("*.mbd dosyası bulunamadı!");
    QFile f(fileName);
    if (!f.open(QIODevice::ReadOnly))
        return QStringLiteral("*.mbd dosyası bulunamadı!");
    return QLocale(QLocale::Turkish, QLocale::Turkey).formattedDataSize(f.size(), 2, QLocale::DataSizeTraditionalFormat);
}

void TFrmTamir::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    colour(Label5, kMaroon);
    Label5->setText(DatabaseSizeText(databaseInUse()));
}

void TFrmTamir::Button1Click()
{
    if (stage_ == Stage::Done) {
        Button6Click();
        return;
    }
    stage_ = Stage::Running;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    Button6->setEnabled(false);
    Button1->setEnabled(false);
    try {
        seam::at("compaction:compact");  // test seam: tests throw here to stop the run
        // Verified against Data.mdb before anything is replaced; Data.mdb is held against
        // other processes' writes from here until the copy has taken its place. A server
        // compacts its table itself, at the replacing step.
        if (!records::isServerAddress(databaseInUse()))
            run_ = std::make_unique<records::Compaction>(kData, kCopy);
    } catch (const Error &e) {
        run_.reset();
        failed(e.message(), e.details());
        return;
    }
    Button1->setText(QStringLiteral("Bekleyiniz ..."));
    const struct {
        int pause, step;
    } steps[] = {{1000, 20}, {1000, 20}, {1000, 30}};
    for (const auto &s : steps) {
        maintenance::pause(s.pause);
        ProgressBar1->setValue(ProgressBar1->value() + s.step);
    }
    try {
        seam::at("compaction:replace");
        // One atomic rename puts the verified copy in place: Data.mdb is never missing.
        if (run_)
            run_->replace();
        else
            records::compactServer(databaseInUse());
        run_.reset();
    } catch (const Error &e) {
        run_.reset();  // the hold ends; a copy that never replaced anything goes with it
        failed(e.message() + QStringLiteral(" Data.mdb değişmedi."), e.details());
        return;
    }
    for (int i = 0; i < 3; ++i) {
        maintenance::pause(1500);
        ProgressBar1->setValue(ProgressBar1->value() + 10);
    }
    try {
        seam::at("compaction:finish");
    } catch (const Error &e) {
        failed(e.message(), e.details());
        return;
    }
    succeeded();
}

void TFrmTamir::succeeded()
{
    Label3->setEnabled(true);
    Label3->setText(QStringLiteral("İşlem başarıyla tamamlandı"));
    Button1->setEnabled(true);
    Button1->setText(QStringLiteral("Programı Başlat"));
    stage_ = Stage::Done;
    QApplication::restoreOverrideCursor();
    colour(Label6, Qt::blue);
    Label6->setText(DatabaseSizeText(databaseInUse()));
    if (Label5->text() == Label6->text())
        ui::messageDlg(QStringLiteral("Veritabanı performansı en iyi durumda. Değişik yapılmadı."), ui::Kind::Custom, ui::Ok, this);
}

void TFrmTamir::failed(const QString &reason, const QString &details)
{
    ProgressBar1->setValue(ProgressBar1->value() + 20);
    maintenance::pause(2000);
    Label3->setEnabled(true);
    QFont regular = Label3->font();
    regular.setBold(false);
    Label3->setFont(regular);
    colour(Label3, kMaroon);
    Label3->setText(QStringLiteral("Hata! Veritabanının adı değiştirilmiş veya kullanımda !"));
    // What happened and what to do, in full, where the status line has no room.
    Label3->setToolTip(reason);
    QString advice = reason;
    if (QFileInfo::exists(kCopy))
        advice += QStringLiteral("\n\nÖnceki bir işlemden kalan Yedek.mdb dosyasını inceleyip silin ya da başka bir yere "
                                 "taşıyın, sonra onarımı yeniden başlatın.");
    Button1->setEnabled(true);
    Button1->setText(QStringLiteral("İşlem Başarısız"));
    stage_ = Stage::Done;
    QApplication::restoreOverrideCursor();
    ui::messageDlg(advice, ui::Kind::Error, ui::Ok, this, details);
}

void TFrmTamir::Button6Click()
{
    restartProgram();
    QCoreApplication::quit();
}

void TFrmTamir::restartProgram()
{
    seam::startProgram(QCoreApplication::applicationFilePath(), QDir::currentPath());
}

void TFrmTamir::closeEvent(QCloseEvent *event)
{
    if (stage_ == Stage::Running) {
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
    // The main window asks its questions; with no window left to return to, the program
    // ends whatever the answer.
    if (parentWidget())
        parentWidget()->close();
    QCoreApplication::quit();
}
