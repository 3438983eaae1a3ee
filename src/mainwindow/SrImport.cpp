#include "SrImport.h"

#include <QCheckBox>
#include <QDir>
#include <QDirIterator>
#include <QRegularExpression>
#include <utility>
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
#include "EchoFields.h"
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
                       ui::Kind::Warning, ui::Ok, window, e.details());
    }
}

// Reports taken into the record being edited. They count as taken only once that record is
// stored: a waiting file then moves to Gelen/Alinan and the take is noted by its UID; a
// record left unsaved (cancelled, deleted) leaves them waiting.
class PendingTakes : public QObject {
public:
    struct Take {
        QString path;  // in Gelen/, or empty for a file from elsewhere
        QString uid;
    };

    explicit PendingTakes(TForm1 *window) : QObject(window), window_(window)
    {
        setObjectName(QStringLiteral("PendingTakes"));
        records::Dataset *data = window->Query1;
        connect(data, &records::Dataset::posted, this, [this] { noteTaken(std::exchange(takes_, {})); });
        connect(data, &records::Dataset::stateChanged, this, [this] {
            if (!window_->Query1->editing())
                takes_.clear();
        });
    }

    static PendingTakes *of(TForm1 *window) { return window->findChild<PendingTakes *>(QStringLiteral("PendingTakes"), Qt::FindDirectChildrenOnly); }

    void add(const Take &take)
    {
        if (window_->Query1->editing())
            takes_.append(take);
    }

private:
    void noteTaken(const QList<Take> &takes)
    {
        if (takes.isEmpty())
            return;
        const records::Dataset *data = window_->Query1;
        dicom::TakenReport record{QString(), QDateTime::currentDateTime(), data->value(QStringLiteral("Adi_Soyadi")).toString(),
                                  data->value(QStringLiteral("Tarih")).toDateTime().date(), data->value(QStringLiteral("Prot_No")).toString()};
        QStringList failed;
        for (const Take &t : takes) {
            record.sopInstanceUid = t.uid;
            if (!dicom::recordTaken(dataFolder(window_), record, t.path))
                failed << (t.path.isEmpty() ? t.uid : t.path);
        }
        // Said once the save is over: the dataset is still inside post() here.
        if (!failed.isEmpty())
            QTimer::singleShot(0, window_, [window = window_, failed] {
                ui::messageDlg(QStringLiteral("Kayıt saklandı, ancak alınan rapor \"Gelen/Alinan\" klasörüne işlenemedi; rapor listede "
                                              "beklemeye devam edecek. Klasörün yazılabilir olduğunu denetleyin.\n%1")
                                   .arg(failed.join(u'\n')),
                               ui::Kind::Warning, ui::Ok, window);
            });
    }

    TForm1 *window_;
    QList<Take> takes_;
};

// The main window's editor of a field (EditAd for Adi_Soyadi ...) and the caption beside it
// ("LA", "M.K.G (PEAK)", "Adı Soyadı"); a caption several groups share is followed by its
// group ("Yetmezlik (MİTRAL KAPAK)").
struct EditorOfField {
    QString name, label;
};

QString caption(const char *label)
{
    QString text = QString::fromUtf8(label).trimmed();
    if (text.endsWith(u':'))
        text.chop(1);
    return text.trimmed();
}

EditorOfField editorOf(const QString &field)
{
    for (const mainwindow::EditorDef &e : mainwindow::kGroupEditors) {
        if (field != QLatin1String(e.field))
            continue;
        const int sharing = int(std::count_if(mainwindow::kGroupEditors.begin(), mainwindow::kGroupEditors.end(),
                                              [&e](const mainwindow::EditorDef &o) { return caption(o.label) == caption(e.label); }));
        QString label = caption(e.label);
        for (const mainwindow::GroupDef &g : mainwindow::kGroups)
            if (sharing > 1 && QLatin1String(g.id) == QLatin1String(e.group))
                label += QStringLiteral(" (%1)").arg(caption(g.caption));
        return {QLatin1String(e.name), label};
    }
    for (const mainwindow::PlacedEditorDef &e : mainwindow::placedEditors())
        if (field == QLatin1String(e.field))
            return {QLatin1String(e.name), caption(e.label).isEmpty() ? field : caption(e.label)};
    return {QString(), field};
}

QString labelOf(const QString &field)
{
    return editorOf(field).label;
}

// A skipped item as the user can read it: "Mitral E/A oranı: 1,28 — reason". The reader
// writes an item as "SCHEME:CODE value unit" and names fields by their column in its reasons.
QString skippedText(const dicom::SkippedItem &skipped)
{
    QStringList parts = skipped.item.split(u' ');
    QString value, unit;
    if (parts.size() >= 3) {
        unit = dicom::unitText(parts.takeLast());
        value = parts.takeLast();
    }
    const QString code = parts.join(u' ');
    QString name = dicom::measurementName(dicom::canonicalCode(code.section(u':', 0, 0), code.section(u':', 1)));
    if (name.isEmpty())
        name = dicom::isStandardScheme(code.section(u':', 0, 0)) ? QStringLiteral("Ölçüm %1").arg(code)
                                                                  : QStringLiteral("Cihaza özel ölçüm %1").arg(code);
    QString measured = value == QLatin1String("-") || value.isEmpty() ? QString() : QString(value).replace(u'.', u',');
    if (!measured.isEmpty() && !unit.isEmpty())
        measured += u' ' + unit;
    QString reason = skipped.reason;
    for (const dicom::FieldRule &rule : dicom::echoFieldRules())
        reason.replace(QRegularExpression(QStringLiteral("\\b%1(?= alan)").arg(QLatin1String(rule.field))), labelOf(QLatin1String(rule.field)));
    return measured.isEmpty() ? QStringLiteral("%1 — %2").arg(name, reason) : QStringLiteral("%1: %2 — %3").arg(name, measured, reason);
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

QString summaryOf(const dicom::SrReport &report, const QStringList &filled, const QStringList &kept)
{
    QString text = QStringLiteral("%1 alan dolduruldu: %2.").arg(filled.size()).arg(filled.join(QStringLiteral(", ")));
    if (!kept.isEmpty())
        text += QStringLiteral("\nDolu olduğu için değiştirilmeyen: %1.").arg(kept.join(QStringLiteral(", ")));
    if (!report.skipped.isEmpty()) {
        text += QStringLiteral("\n\nAtlanan öğeler (%1):").arg(report.skipped.size());
        const int shown = std::min<int>(report.skipped.size(), 12);
        for (int i = 0; i < shown; ++i)
            text += QStringLiteral("\n• ") + skippedText(report.skipped[i]);
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
    new PendingTakes(window);
    QObject::connect(action, &QAction::triggered, window, [window] {
        TSrImportFrm frm(window);
        ui::execDialog(frm);
        // Shown once the window is gone, so that it does not cover the editors it talks about.
        if (!frm.summary().isEmpty())
            ui::messageDlg(frm.summary(), ui::Kind::Information, ui::Ok, window);
    });
    QTimer::singleShot(0, window, [window] { startReceiver(window); });
}

std::optional<QString> takeReport(TForm1 *window, const dicom::SrReport &report, bool intoCurrent)
{
    records::Dataset *data = window->Query1;
    if (intoCurrent && !data->isEmpty()) {
        const QString current = shownText(window->editor(QStringLiteral("EditAd")));
        if (sameName(current) != sameName(report.patientName)) {
            const ui::Button b = ui::messageDlg(QStringLiteral("Raporun hasta adı (%1) açık kayıttaki adla (%2) aynı değil.\n"
                                                               "Rapor yeni bir kayda alınsın mı?").arg(report.patientName, current),
                                                ui::Kind::Warning, ui::Yes | ui::No, window);
            if (b != ui::Yes)
                return std::nullopt;
            intoCurrent = false;
        }
    } else {
        intoCurrent = false;
    }
    struct Change {
        QWidget *editor;
        QString label, text;
    };
    QList<Change> changes;
    QStringList changing;
    for (const dicom::FieldValue &v : report.values) {
        const EditorOfField e = editorOf(v.field);
        QWidget *w = window->editor(e.name);
        if (!w)
            continue;
        const QString text = editorText(v), now = intoCurrent ? shownText(w) : QString();
        if (!now.isEmpty() && now != text)
            changing << QStringLiteral("%1: %2 → %3").arg(e.label, now, text);
        changes.append({w, e.label, text});
    }
    bool replace = true;
    if (!changing.isEmpty()) {
        const ui::Button b = ui::messageDlg(QStringLiteral("Şu alanlar dolu ve rapordaki değer farklı:\n%1\n\n"
                                                           "Dolu alanlar rapordaki değerlerle değiştirilsin mi?\n"
                                                           "(Hayır: yalnızca boş alanlar doldurulur.)").arg(changing.join(u'\n')),
                                            ui::Kind::Confirmation, ui::Yes | ui::No | ui::Cancel, window);
        if (b == ui::Cancel)
            return std::nullopt;
        replace = b == ui::Yes;
    }
    if (!intoCurrent)
        window->BtnYeniClick();
    QStringList filled, kept;
    for (const Change &c : changes) {
        const QString now = shownText(c.editor);
        if (intoCurrent && !replace && !now.isEmpty() && now != c.text) {
            kept << c.label;
            continue;
        }
        place(c.editor, c.text);
        filled << c.label;
    }
    return summaryOf(report, filled, kept);
}

}  // namespace srimport

TSrImportFrm::TSrImportFrm(TForm1 *window) : QDialog(window), window_(window)
{
    setupUi(this);
    ReportList->header()->setSectionResizeMode(0, QHeaderView::Stretch);
    connect(BtnDosya, &QPushButton::clicked, this, &TSrImportFrm::BtnDosyaClick);
    connect(BtnKlasor, &QPushButton::clicked, this, &TSrImportFrm::BtnKlasorClick);
    connect(BtnAl, &QPushButton::clicked, this, &TSrImportFrm::BtnAlClick);
    connect(BtnKapat, &QPushButton::clicked, this, &QDialog::reject);
    connect(ReportList, &QTreeWidget::itemDoubleClicked, this, &TSrImportFrm::BtnAlClick);
    connect(&watcher_, &QFileSystemWatcher::directoryChanged, this, &TSrImportFrm::refresh);
    refresh();
}

void TSrImportFrm::refresh()
{
    const int row = ReportList->indexOfTopLevelItem(ReportList->currentItem());
    const QString current = row >= 0 && row < shown_.size() ? shown_[row].path : QString();
    shown_.clear();
    const QLocale locale = QLocale::system();
    for (const dicom::WaitingReport &w : dicom::waitingReports(srimport::dataFolder(window_))) {
        QString origin = QStringLiteral("Gelen (%1)").arg(locale.toString(w.received, QLocale::ShortFormat));
        if (w.taken)
            origin += QStringLiteral(", %1 tarihinde alınmıştı").arg(locale.toString(w.taken->takenAt, QLocale::ShortFormat));
        shown_.append({w.path, w.patientName, w.reportTime, origin, true});
    }
    shown_ += found_;
    ReportList->clear();
    for (const Entry &e : shown_)
        ReportList->addTopLevelItem(new QTreeWidgetItem({e.patientName, e.time, e.origin}));
    int select = 0;
    for (int i = 0; i < shown_.size(); ++i)
        if (shown_[i].path == current)
            select = i;
    if (!shown_.isEmpty())
        ReportList->setCurrentItem(ReportList->topLevelItem(select));
    watchInbox();
}

// Gelen/ is watched while the window is open, and the data folder until Gelen/ exists (the
// receiver creates it with its first report).
void TSrImportFrm::watchInbox()
{
    const QString data = srimport::dataFolder(window_), inbox = dicom::inboxFolder(data);
    for (const QString &folder : {data, inbox})
        if (!watcher_.directories().contains(folder) && QFileInfo(folder).isDir())
            watcher_.addPath(folder);
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
    const Entry chosen = shown_[row];  // the list may be rebuilt while a question is open
    if (take(chosen.path, chosen.waiting))
        accept();
}

bool TSrImportFrm::take(const QString &path, bool waiting)
{
    dicom::SrReport report;
    try {
        report = dicom::readSrFile(path);
    } catch (const Error &e) {
        ui::messageDlg(e.message(), ui::Kind::Error, ui::Ok, this, e.details());
        return false;
    }
    const QString uid = report.sopInstanceUid;
    if (!takeAgain(uid))
        return false;
    const std::optional<QString> summary = srimport::takeReport(window_, report, ChkAcikKayit->isChecked());
    if (!summary)
        return false;
    if (srimport::PendingTakes *pending = srimport::PendingTakes::of(window_))
        pending->add({waiting ? path : QString(), uid});
    summary_ = *summary;
    return true;
}

// A report taken before (the same object sent or opened again): says when and into which
// record, and takes it again only when the user wants to.
bool TSrImportFrm::takeAgain(const QString &uid)
{
    const std::optional<dicom::TakenReport> taken = dicom::findTaken(srimport::dataFolder(window_), uid);
    if (!taken)
        return true;
    QStringList record{taken->patientName.isEmpty() ? QStringLiteral("adı boş") : taken->patientName};
    if (taken->studyDate.isValid())
        record << QStringLiteral("tarih %1").arg(records::formatDateTime(QDateTime(taken->studyDate, QTime(0, 0), Qt::UTC)));
    if (!taken->protocol.isEmpty())
        record << QStringLiteral("prot. no %1").arg(taken->protocol);
    const ui::Button b = ui::messageDlg(
        QStringLiteral("Bu rapor daha önce alındı: %1 tarihinde şu kayda alınıp kaydedildi:\n%2\n\n"
                       "Yine de alınsın mı? (Hayır: hiçbir şey değişmez.)")
            .arg(QLocale::system().toString(taken->takenAt, QLocale::ShortFormat), record.join(QStringLiteral(", "))),
        ui::Kind::Warning, ui::Yes | ui::No, this);
    return b == ui::Yes;
}
