#include "Locations.h"
#include "RecordStore.h"
#include "tamir.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <QProcess>

#include "Dialogs.h"
#include "Error.h"
#include "Icons.h"
#include "Maintenance.h"
#include "Pause.h"

TFrmTamir *FrmTamir = nullptr;

std::function<void(const QString &, const QString &)> TFrmTamir::startProgram = [](const QString &program,
                                                                                    const QString &folder) {
    QProcess::startDetached(program, {}, folder);
};

std::function<void(const QString &)> TFrmTamir::beforeStep = [](const QString &) {};

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

QLabel *label(QWidget *parent, const QString &text, int x, int y, const QColor &c = Qt::gray)
{
    auto *l = new QLabel(text, parent);
    l->move(x, y);
    colour(l, c);
    return l;
}

QToolButton *flatButton(QWidget *parent, const QString &text, IconId icon, const QRect &rect)
{
    auto *b = new QToolButton(parent);
    b->setText(text);
    b->setIcon(kalpiyonIcon(icon));
    b->setToolButtonStyle(text.isEmpty() ? Qt::ToolButtonIconOnly : Qt::ToolButtonTextBesideIcon);
    b->setAutoRaise(true);
    b->setGeometry(rect);
    return b;
}

const char *const kExplanation[] = {
    "          Özellikle resimlerin eklenip silindiği veritabanlarının boyutları ",
    "zamanla büyüyecektir. Kullanım yoğunluğuna göre belli periyotlar-",
    "la onarım programını çalıştırarak veritabanından maksimum perfor-",
    "mans elde edilebilir.",
    "      ",
    "          GÖRÜŞ VE ÖNERİLER İÇİN",
    "                    www.kalpiyon.com.tr",
    "                    destek.kalpiyon.com.tr",
};
}  // namespace

TFrmTamir::TFrmTamir(QWidget *parent) : QDialog(parent, Qt::Tool)
{
    setObjectName(QStringLiteral("FrmTamir"));
    setWindowTitle(QStringLiteral("Veritabanı Bakım ve Onarımı"));
    setFixedSize(349 + 12, 129 + 12);

    Panel1 = new QFrame(this);
    Panel1->setFrameStyle(QFrame::Box | QFrame::Plain);
    Panel1->setGeometry(6, 6, 349, 129);
    auto *heading = label(Panel1, QStringLiteral("Veritabanı boyutu :"), 16, 8);
    heading->setEnabled(false);
    auto *sizes = new QFrame(Panel1);
    sizes->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    sizes->setGeometry(16, 24, 320, 25);
    sizes->setStyleSheet(QStringLiteral("background: silver"));
    label(sizes, QStringLiteral("İşlem öncesi :"), 8, 4);
    Label5 = label(sizes, QStringLiteral("..."), 80, 4);
    Label5->setObjectName(QStringLiteral("Label5"));
    Label5->setMinimumWidth(90);
    label(sizes, QStringLiteral("İşlem sonrası :"), 176, 4);
    Label6 = label(sizes, QStringLiteral("..."), 248, 4);
    Label6->setObjectName(QStringLiteral("Label6"));
    Label6->setMinimumWidth(70);
    Label3 = label(Panel1, QStringLiteral("Gösterge paneli"), 16, 56, palette().color(QPalette::WindowText));
    Label3->setObjectName(QStringLiteral("Label3"));
    QFont bold = Label3->font();
    bold.setBold(true);
    Label3->setFont(bold);
    Label3->setEnabled(false);
    Label3->setMinimumWidth(290);
    SpeedButton1 = flatButton(Panel1, QString(), IconId::Today, {314, 49, 23, 22});
    SpeedButton1->setObjectName(QStringLiteral("SpeedButton1"));
    SpeedButton1->setToolTip(QStringLiteral("Açıklama"));
    ProgressBar1 = new QProgressBar(Panel1);
    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    ProgressBar1->setGeometry(16, 72, 321, 17);
    ProgressBar1->setRange(0, 100);
    ProgressBar1->setValue(0);
    ProgressBar1->setTextVisible(false);
    Button1 = flatButton(Panel1, QStringLiteral("Başla"), IconId::Ok, {16, 96, 145, 22});
    Button1->setObjectName(QStringLiteral("Button1"));
    Button6 = flatButton(Panel1, QStringLiteral("İptal"), IconId::Cancel, {192, 96, 145, 22});
    Button6->setObjectName(QStringLiteral("Button6"));

    Panel3 = new QFrame(this);
    Panel3->setFrameStyle(QFrame::Box | QFrame::Plain);
    Panel3->setGeometry(6, 6, 349, 129);
    Memo1 = new QPlainTextEdit(Panel3);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setReadOnly(true);
    Memo1->setGeometry(8, 9, 333, 85);
    QStringList lines;
    for (const char *line : kExplanation)
        lines << QString::fromUtf8(line);
    Memo1->setPlainText(lines.join(QLatin1Char('\n')));
    SpeedButton2 = flatButton(Panel3, QString(), IconId::Prior, {8, 97, 333, 22});
    SpeedButton2->setObjectName(QStringLiteral("SpeedButton2"));
    SpeedButton2->setToolTip(QStringLiteral("Geri "));
    Panel3->hide();

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
        beforeStep(QStringLiteral("compact"));
        // Verified against Data.mdb before anything is replaced; Data.mdb is held against
        // other processes' writes from here until the copy has taken its place. A server
        // compacts its table itself, at the replacing step.
        if (!records::isServerAddress(databaseInUse()))
            run_ = std::make_unique<records::Compaction>(kData, kCopy);
    } catch (const Error &e) {
        run_.reset();
        failed(e.message());
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
        beforeStep(QStringLiteral("replace"));
        // One atomic rename puts the verified copy in place: Data.mdb is never missing.
        if (run_)
            run_->replace();
        else
            records::compactServer(databaseInUse());
        run_.reset();
    } catch (const Error &e) {
        run_.reset();  // the hold ends; a copy that never replaced anything goes with it
        failed(e.message() + QStringLiteral(" Data.mdb değişmedi."));
        return;
    }
    for (int i = 0; i < 3; ++i) {
        maintenance::pause(1500);
        ProgressBar1->setValue(ProgressBar1->value() + 10);
    }
    try {
        beforeStep(QStringLiteral("finish"));
    } catch (const Error &e) {
        failed(e.message());
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

void TFrmTamir::failed(const QString &reason)
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
    ui::messageDlg(advice, ui::Kind::Error, ui::Ok, this);
}

void TFrmTamir::Button6Click()
{
    startProgram(QCoreApplication::applicationFilePath(), QDir::currentPath());
    QCoreApplication::quit();
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
