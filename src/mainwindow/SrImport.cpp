#include "SrImport.h"

#include <QCheckBox>
#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLocale>
#include <QMenu>
#include <QPushButton>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <thread>

#include "DateText.h"
#include "Dialogs.h"
#include "EditorTable.h"
#include "Error.h"
#include "Inbox.h"
#include "Receiver.h"
#include "Schema.h"
#include "Settings.h"
#include "Unit1.h"

namespace srimport {
namespace {

// The receiver on a thread of its own, owned by the main window: stopped and joined when
// the window goes.
class ReceiverService : public QObject {
public:
    ReceiverService(TForm1 *window, const dicom::ReceiverOptions &options) : QObject(window), receiver_(options) {}
    ~ReceiverService() override
    {
        receiver_.stop();
        if (thread_.joinable())
            thread_.join();
    }
    void start()
    {
        receiver_.open();  // throws when the port cannot be opened
        thread_ = std::thread([this] { receiver_.run(); });
    }

private:
    dicom::Receiver receiver_;
    std::thread thread_;
};

void startReceiver(TForm1 *window)
{
    const dicom::ReceiverOptions options = dicom::ReceiverOptions::fromSettings(dataFolder(window));
    if (!options.enabled)
        return;
    auto *service = new ReceiverService(window, options);
    try {
        service->start();
    } catch (const Error &e) {
        delete service;
        ui::messageDlg(e.message() + QStringLiteral("\nRaporlar ağdan alınamayacak; \"Ayarlar\" → \"Seçenekler...\" penceresine (%1) bakın.")
                                         .arg(settings::sectionPlaceOf(settings::Key::DicomEnabled)),
                       ui::Kind::Warning, ui::Ok, window);
    }
}

// Editor name of a field (EditAd for Adi_Soyadi ...).
QString editorOf(const QString &field)
{
    for (const mainwindow::EditorDef &e : mainwindow::kGroupEditors)
        if (field == QLatin1String(e.field))
            return QLatin1String(e.name);
    for (const mainwindow::PlacedEditorDef &e : mainwindow::placedEditors())
        if (field == QLatin1String(e.field))
            return QLatin1String(e.name);
    return QString();
}

// A value as the editor shows it: dates in the user's short date format.
QString editorText(const dicom::FieldValue &v)
{
    if (v.field == QLatin1String("Tarih"))
        return records::formatDateTime(QDateTime(QDate::fromString(v.value, Qt::ISODate), QTime(0, 0), Qt::UTC));
    return v.value;
}

QString shownText(QWidget *w)
{
    if (auto *e = qobject_cast<ui::DBEdit *>(w))
        return e->text();
    if (auto *c = qobject_cast<ui::DBComboBox *>(w))
        return c->currentText();
    return QString();
}

// Places a value into its editor as the user's own change.
void place(QWidget *w, const QString &text)
{
    if (auto *c = qobject_cast<ui::DBComboBox *>(w)) {
        c->setUserText(text);
    } else if (auto *e = qobject_cast<ui::DBEdit *>(w)) {
        e->link()->startEditing();
        e->setText(text);
        e->link()->setModified(true);
    }
}

QString sameName(const QString &name)
{
    return QLocale(QLocale::Turkish).toUpper(name).simplified();
}

QString summary(const dicom::SrReport &report, const QStringList &filled, const QStringList &kept)
{
    QString text = QStringLiteral("%1 alan dolduruldu: %2.").arg(filled.size()).arg(filled.join(QStringLiteral(", ")));
    if (!kept.isEmpty())
        text += QStringLiteral("\nDolu olduğu için değiştirilmeyen: %1.").arg(kept.join(QStringLiteral(", ")));
    if (!report.skipped.isEmpty()) {
        text += QStringLiteral("\n\nAtlanan öğeler (%1):").arg(report.skipped.size());
        const int shown = std::min<int>(report.skipped.size(), 12);
        for (int i = 0; i < shown; ++i)
            text += QStringLiteral("\n• %1: %2").arg(report.skipped[i].item, report.skipped[i].reason);
        if (report.skipped.size() > shown)
            text += QStringLiteral("\n… ve %1 öğe daha.").arg(report.skipped.size() - shown);
    }
    return text + QStringLiteral("\n\nDeğerler kaydedilmedi: \"Kaydet\" ile saklanır.");
}

}  // namespace

QString dataFolder(const TForm1 *window)
{
    const QString db = window->Query1->fileName().isEmpty() ? QStringLiteral("Data.mdb") : window->Query1->fileName();
    return QFileInfo(db).absolutePath();
}

void install(TForm1 *window, QMenu *menu)
{
    menu->addSeparator();
    QAction *action = menu->addAction(QStringLiteral("DICOM Raporu Al..."));
    action->setObjectName(QStringLiteral("DicomRaporuAl1"));
    QObject::connect(action, &QAction::triggered, window, [window] {
        TSrImportFrm frm(window);
        ui::execDialog(frm);
    });
    QTimer::singleShot(0, window, [window] { startReceiver(window); });
}

bool takeReport(TForm1 *window, const dicom::SrReport &report, bool intoCurrent)
{
    records::Dataset *data = window->Query1;
    if (intoCurrent && !data->isEmpty()) {
        const QString current = shownText(window->editor(QStringLiteral("EditAd")));
        if (sameName(current) != sameName(report.patientName)) {
            const ui::Button b = ui::messageDlg(QStringLiteral("Raporun hasta adı (%1) açık kayıttaki adla (%2) aynı değil.\n"
                                                               "Rapor yeni bir kayda alınsın mı?").arg(report.patientName, current),
                                                ui::Kind::Warning, ui::Yes | ui::No, window);
            if (b != ui::Yes)
                return false;
            intoCurrent = false;
        }
    } else {
        intoCurrent = false;
    }
    struct Change {
        QWidget *editor;
        QString field, text;
    };
    QList<Change> changes;
    QStringList changing;
    for (const dicom::FieldValue &v : report.values) {
        QWidget *w = window->editor(editorOf(v.field));
        if (!w)
            continue;
        const QString text = editorText(v), now = intoCurrent ? shownText(w) : QString();
        if (!now.isEmpty() && now != text)
            changing << QStringLiteral("%1: %2 → %3").arg(v.field, now, text);
        changes.append({w, v.field, text});
    }
    bool replace = true;
    if (!changing.isEmpty()) {
        const ui::Button b = ui::messageDlg(QStringLiteral("Şu alanlar dolu ve rapordaki değer farklı:\n%1\n\n"
                                                           "Dolu alanlar rapordaki değerlerle değiştirilsin mi?\n"
                                                           "(Hayır: yalnızca boş alanlar doldurulur.)").arg(changing.join(u'\n')),
                                            ui::Kind::Confirmation, ui::Yes | ui::No | ui::Cancel, window);
        if (b == ui::Cancel)
            return false;
        replace = b == ui::Yes;
    }
    if (!intoCurrent)
        window->BtnYeniClick();
    QStringList filled, kept;
    for (const Change &c : changes) {
        const QString now = shownText(c.editor);
        if (intoCurrent && !replace && !now.isEmpty() && now != c.text) {
            kept << c.field;
            continue;
        }
        place(c.editor, c.text);
        filled << c.field;
    }
    ui::messageDlg(summary(report, filled, kept), ui::Kind::Information, ui::Ok, window);
    return true;
}

}  // namespace srimport

TSrImportFrm::TSrImportFrm(TForm1 *window) : QDialog(window), window_(window)
{
    setObjectName(QStringLiteral("SrImportFrm"));
    setWindowTitle(QStringLiteral("DICOM Raporu Al"));
    resize(560, 360);
    ReportList = new QTreeWidget(this);
    ReportList->setObjectName(QStringLiteral("ReportList"));
    ReportList->setHeaderLabels({QStringLiteral("Hasta"), QStringLiteral("Rapor zamanı"), QStringLiteral("Kaynak")});
    ReportList->setRootIsDecorated(false);
    ReportList->header()->setSectionResizeMode(0, QHeaderView::Stretch);
    ReportList->setAccessibleName(QStringLiteral("Raporlar"));
    ChkAcikKayit = new QCheckBox(QStringLiteral("Açık kayda al (hasta adı aynıysa)"), this);
    ChkAcikKayit->setObjectName(QStringLiteral("ChkAcikKayit"));
    const auto button = [this](const char *name, const QString &caption) {
        auto *b = new QPushButton(caption, this);
        b->setObjectName(QLatin1String(name));
        return b;
    };
    BtnDosya = button("BtnDosya", QStringLiteral("Dosya..."));
    BtnKlasor = button("BtnKlasor", QStringLiteral("Klasör..."));
    BtnAl = button("BtnAl", QStringLiteral("Al"));
    BtnKapat = button("BtnKapat", QStringLiteral("Kapat"));
    BtnAl->setDefault(true);
    auto *buttons = new QHBoxLayout;
    for (QPushButton *b : {BtnDosya, BtnKlasor})
        buttons->addWidget(b);
    buttons->addStretch();
    for (QPushButton *b : {BtnAl, BtnKapat})
        buttons->addWidget(b);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("Gelen raporlar ve seçilen klasördekiler:"), this));
    layout->addWidget(ReportList);
    layout->addWidget(ChkAcikKayit);
    layout->addLayout(buttons);
    connect(BtnDosya, &QPushButton::clicked, this, &TSrImportFrm::BtnDosyaClick);
    connect(BtnKlasor, &QPushButton::clicked, this, &TSrImportFrm::BtnKlasorClick);
    connect(BtnAl, &QPushButton::clicked, this, &TSrImportFrm::BtnAlClick);
    connect(BtnKapat, &QPushButton::clicked, this, &QDialog::reject);
    connect(ReportList, &QTreeWidget::itemDoubleClicked, this, &TSrImportFrm::BtnAlClick);
    refresh();
}

void TSrImportFrm::refresh()
{
    shown_.clear();
    for (const dicom::WaitingReport &w : dicom::waitingReports(srimport::dataFolder(window_)))
        shown_.append({w.path, w.patientName, w.reportTime,
                       QStringLiteral("Gelen (%1)").arg(QLocale::system().toString(w.received, QLocale::ShortFormat)), true});
    shown_ += found_;
    ReportList->clear();
    for (const Entry &e : shown_)
        ReportList->addTopLevelItem(new QTreeWidgetItem({e.patientName, e.time, e.origin}));
    if (!shown_.isEmpty())
        ReportList->setCurrentItem(ReportList->topLevelItem(0));
}

void TSrImportFrm::BtnDosyaClick()
{
    const QString path = ui::getOpenFileName(this, QStringLiteral("DICOM Raporu Aç"), QDir::homePath(),
                                             QStringLiteral("DICOM dosyaları (*.dcm *.DCM *);;Tüm dosyalar (*)"));
    if (!path.isEmpty() && take(path, false))
        accept();
}

void TSrImportFrm::BtnKlasorClick()
{
    const QString folder = ui::getExistingDirectory(this, QStringLiteral("DICOM Raporlarının Klasörü"), QDir::homePath());
    if (folder.isEmpty())
        return;
    addFolder(folder);
    refresh();
    if (found_.isEmpty())
        ui::messageDlg(QStringLiteral("Bu klasörde ekokardiyografi raporu bulunamadı:\n%1").arg(folder), ui::Kind::Information, ui::Ok, this);
}

// Every readable echo report below `folder` (a USB stick holds them in sub-folders, often
// without an extension); files that do not start like DICOM are passed over unopened.
void TSrImportFrm::addFolder(const QString &folder)
{
    found_.clear();
    QDirIterator it(folder, QDir::Files, QDirIterator::Subdirectories);
    for (int seen = 0; it.hasNext() && seen < 5000; ++seen) {
        const QString path = it.next();
        QFile f(path);
        if (!f.open(QIODevice::ReadOnly) || f.read(132).mid(128) != "DICM")
            continue;
        try {
            const dicom::SrReport r = dicom::readSrFile(path);
            found_.append({path, r.patientName, r.contentTime, QDir(folder).relativeFilePath(path), false});
        } catch (const Error &) {
        }
    }
}

void TSrImportFrm::BtnAlClick()
{
    const int row = ReportList->indexOfTopLevelItem(ReportList->currentItem());
    if (row < 0 || row >= shown_.size()) {
        ui::messageDlg(QStringLiteral("Önce listeden bir rapor seçin."), ui::Kind::Information, ui::Ok, this);
        return;
    }
    if (take(shown_[row].path, shown_[row].waiting))
        accept();
}

bool TSrImportFrm::take(const QString &path, bool waiting)
{
    dicom::SrReport report;
    try {
        report = dicom::readSrFile(path);
    } catch (const Error &e) {
        ui::messageDlg(e.message(), ui::Kind::Error, ui::Ok, this);
        return false;
    }
    if (!srimport::takeReport(window_, report, ChkAcikKayit->isChecked()))
        return false;
    if (waiting && !dicom::markTaken(path))
        ui::messageDlg(QStringLiteral("Rapor alındı, ancak \"Gelen\" klasöründen taşınamadı:\n%1").arg(path), ui::Kind::Warning, ui::Ok, this);
    return true;
}
