#include "Unit1.h"

#include <QApplication>
#include <QCloseEvent>
#include <QCursor>
#include <QFrame>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QMenuBar>
#include <QStatusBar>
#include <QStyle>
#include <QThread>
#include <QVBoxLayout>

#include "Ayar.h"
#include "DateText.h"
#include "Dialogs.h"
#include "EditorTable.h"
#include "Error.h"
#include "Fonts.h"
#include "GeriYukle.h"
#include "HintFollower.h"
#include "Icons.h"
#include "IdleCaret.h"
#include "Locations.h"
#include "OptionsWindow.h"
#include "OtoYedek.h"
#include "PageControl.h"
#include "Placement.h"
#include "RecordStore.h"
#include "Schema.h"
#include "SrImport.h"
#include "TypingFilters.h"
#include "Unit2.h"
#include "Vocabulary.h"

TForm1 *Form1 = nullptr;

using namespace mainwindow;

namespace {

const int kNameField = records::fieldIndex(QStringLiteral("Adi_Soyadi"));

// A control's hint: the short part before "|" is the tooltip, the long part the status text.
void setHint(QWidget *w, const QString &hint)
{
    w->setProperty("hint", hint);
}

QFrame *bevelPanel(QWidget *parent, const QRect &rect, QFrame::Shadow shadow = QFrame::Sunken)
{
    auto *panel = new QFrame(parent);
    panel->setFrameStyle(QFrame::Panel | shadow);
    panel->setGeometry(rect);
    return panel;
}

QLabel *label(QWidget *parent, const QString &text, const QPoint &pos)
{
    auto *l = new QLabel(text, parent);
    l->move(pos);
    l->adjustSize();
    return l;
}

QLabel *unitLabel(QWidget *parent, const QString &unit, const QPoint &pos)
{
    auto *l = new QLabel(parent);
    if (unit == QLatin1String("cm2")) {
        l->setText(QStringLiteral("cm<sup style=\"font-family:Arial\">2</sup>"));
        l->setAccessibleName(QStringLiteral("cm²"));
    } else {
        l->setText(unit);
    }
    l->setStyleSheet(QStringLiteral("color: silver"));
    l->move(pos);
    l->adjustSize();
    return l;
}

QPushButton *commandButton(QWidget *parent, const QString &caption, const QIcon &icon, const QRect &rect,
                           const QString &name, const QString &hint)
{
    auto *b = new QPushButton(icon, caption, parent);
    b->setObjectName(name);
    b->setGeometry(rect);
    setHint(b, hint);
    return b;
}

// While the desk waits for its server the windows keep painting and timers keep running; keys,
// clicks and network input wait until the answer is in, so no second command can start on the
// records meanwhile (the store refuses one that still gets there). The pointer shows the wait.
void keepAnsweringWhileServerWaits()
{
    records::setServerWaitHandler([](qint64 waited) {
        if (QThread::currentThread() != QCoreApplication::instance()->thread())
            return;  // a store on a thread of its own just waits
        static bool busyCursor = false;
        if (waited < 0) {
            if (busyCursor)
                QApplication::restoreOverrideCursor();
            busyCursor = false;
            return;
        }
        if (!busyCursor)
            QApplication::setOverrideCursor(Qt::WaitCursor);
        busyCursor = true;
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents | QEventLoop::ExcludeSocketNotifiers);
    });
}

}  // namespace

TForm1::TForm1(QWidget *parent) : QMainWindow(parent), Query1(new records::Dataset(this))
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Kalpiyon"));
    resize(960, 680);
    setMinimumSize(960, 680);
    ui::centreOnScreen(this);

    DataSetPost1 = new QAction(QStringLiteral("Kaydet"), this);
    DataSetCancel1 = new QAction(QStringLiteral("İptal"), this);
    DataSetPost1->setObjectName(QStringLiteral("DataSetPost1"));
    DataSetCancel1->setObjectName(QStringLiteral("DataSetCancel1"));
    connect(DataSetPost1, &QAction::triggered, this, [this] { Query1->post(); });
    connect(DataSetCancel1, &QAction::triggered, this, [this] { Query1->cancel(); });

    // The client area inside the 5-pixel border: the two columns, a 5-pixel gap, the status bar.
    auto *central = new QWidget(this);
    auto *client = new QVBoxLayout(central);
    client->setContentsMargins(5, 5, 5, 5);
    client->setSpacing(5);
    auto *row = new QHBoxLayout;
    row->setSpacing(5);
    row->addWidget(buildLeftColumn());
    row->addWidget(buildRightArea(), 1);
    client->addLayout(row, 1);
    setCentralWidget(central);
    buildMenus();
    buildStatusBar();

    connect(Query1, &records::Dataset::afterScroll, this, &TForm1::Query1AfterScroll);
    connect(Query1, &records::Dataset::stateChanged, this, &TForm1::AppIdle);

    // The connection and the dataset open while the window is created. When the connection
    // itself fails, the dataset tries it once more and reports its own failure too.
    keepAnsweringWhileServerWaits();
    try {
        Query1->open(settings::databaseAddress());
    } catch (const records::ConnectionError &e) {
        openErrors << e;
        try {
            Query1->open(settings::databaseAddress());
        } catch (const Error &again) {
            openErrors << again;
        }
    } catch (const Error &e) {
        openErrors << e;
    }
    FormCreate();
}

TForm1::~TForm1()
{
    if (Form1 == this)
        Form1 = nullptr;
}

QString TForm1::webAddress()
{
    return QStringLiteral("www.kalpiyon.com.tr");
}

// --- Layout -------------------------------------------------------------------------

QWidget *TForm1::buildLeftColumn()
{
    auto *column = new QWidget(this);
    column->setFixedWidth(193);
    auto *v = new QVBoxLayout(column);
    v->setContentsMargins(0, 0, 0, 0);
    v->setSpacing(5);

    auto *search = new QFrame(column);
    search->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    search->setFixedHeight(37);
    Edit8 = new QLineEdit(search);
    Edit8->setObjectName(QStringLiteral("Edit8"));
    Edit8->setGeometry(8, 8, 137, 21);
    Edit8->setAccessibleName(QStringLiteral("Arama"));
    Edit8->installEventFilter(this);
    setHint(Edit8, QStringLiteral("Arama..."));
    connect(Edit8, &QLineEdit::textChanged, this, &TForm1::Edit8Change);
    SpeedButton2 = new QToolButton(search);
    SpeedButton2->setObjectName(QStringLiteral("SpeedButton2"));
    SpeedButton2->setGeometry(152, 8, 23, 22);
    SpeedButton2->setAutoRaise(true);
    SpeedButton2->setIcon(kalpiyonIcon(IconId::ClearSearch));
    SpeedButton2->setAccessibleName(QStringLiteral("Arama kutusunu temizle"));
    setHint(SpeedButton2, QStringLiteral("Arama kutusunu temizle..."));
    connect(SpeedButton2, &QToolButton::clicked, this, &TForm1::SpeedButton2Click);
    v->addWidget(search);

    StripedDBGrid1 = new ui::TStripedDBGrid(Query1, kNameField, QStringLiteral("Adı Soyadı"), column);
    StripedDBGrid1->setObjectName(QStringLiteral("StripedDBGrid1"));
    StripedDBGrid1->setAccessibleName(QStringLiteral("Kayıtlar"));
    StripedDBGrid1->setColumnWidth(0, 171);
    StripedDBGrid1->setColorAlternative(Qt::white);
    StripedDBGrid1->setColorSelect(Qt::black);
    StripedDBGrid1->setColorSelectText(QColor(0, 255, 0));
    StripedDBGrid1->setBackground(QColor(244, 242, 242));
    setHint(StripedDBGrid1, QStringLiteral("Kayıtlar..."));
    v->addWidget(StripedDBGrid1, 1);

    auto *navBar = new QFrame(column);
    navBar->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    navBar->setFixedHeight(29);
    auto *nav = new QWidget(navBar);
    nav->setObjectName(QStringLiteral("RzDBNavigator1"));
    nav->setGeometry(7, 2, 176, 25);
    struct NavButton {
        const char *name;
        IconId icon;
        const char *hint;
        void (records::Dataset::*move)();
    };
    const NavButton buttons[] = {
        {"First", IconId::First, "Go to First record", &records::Dataset::first},
        {"Prior", IconId::Prior, "Go to Previous record", &records::Dataset::prior},
        {"Next", IconId::Next, "Go to Next record", &records::Dataset::next},
        {"Last", IconId::Last, "Go to Last record", &records::Dataset::last},
    };
    for (int i = 0; i < 4; ++i) {
        auto *b = new QToolButton(nav);
        b->setObjectName(QStringLiteral("RzDBNavigator1") + QLatin1String(buttons[i].name));
        b->setGeometry(i * 44, 0, 44, 25);
        b->setIcon(kalpiyonIcon(buttons[i].icon));
        b->setAccessibleName(QLatin1String(buttons[i].hint));
        setHint(b, QLatin1String(buttons[i].hint));
        const auto move = buttons[i].move;
        connect(b, &QToolButton::clicked, this, [this, move] { (Query1->*move)(); });
    }
    v->addWidget(navBar);
    return column;
}

QWidget *TForm1::buildRightArea()
{
    auto *area = new QWidget(this);
    buildUpperPanel(area);
    buildLowerPanel(area);
    buildEditors();
    return area;
}

QWidget *TForm1::buildUpperPanel(QWidget *area)
{
    QFrame *upper = bevelPanel(area, {0, 0, 737, 257}, QFrame::Raised);
    QFrame *commands = bevelPanel(upper, {8, 8, 233, 57}, QFrame::Plain);
    commands->setStyleSheet(QStringLiteral("QFrame { border: 1px solid gray; border-radius: 4px; }"));
    auto commandTool = [upper](const QString &caption, IconId icon, int left, const QString &name, const QString &hint) {
        auto *b = new QToolButton(upper);
        b->setObjectName(name);
        b->setText(caption);
        b->setIcon(kalpiyonIcon(icon));
        b->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
        b->setGeometry(8 + left, 16, 49, 41);
        setHint(b, hint);
        return b;
    };
    BtnYeni = commandTool(QStringLiteral("Yeni"), IconId::New, 8, QStringLiteral("BtnYeni"), QStringLiteral("Yeni kayıt ekle..."));
    RzBitBtn6 = commandTool(QStringLiteral("Kaydet"), IconId::Save, 64, QStringLiteral("RzBitBtn6"), QStringLiteral("Değişiklikleri kaydet..."));
    BtnSil = commandTool(QStringLiteral("Sil"), IconId::Delete, 120, QStringLiteral("BtnSil"), QStringLiteral("Aktif kaydı sil..."));
    BtnIptal = commandTool(QStringLiteral("İptal"), IconId::Cancel, 176, QStringLiteral("BtnIptal"), QStringLiteral("Değişiklikleri iptal et..."));
    connect(BtnYeni, &QToolButton::clicked, this, &TForm1::BtnYeniClick);
    connect(RzBitBtn6, &QToolButton::clicked, DataSetPost1, &QAction::trigger);
    connect(BtnSil, &QToolButton::clicked, this, &TForm1::BtnSilClick);
    connect(BtnIptal, &QToolButton::clicked, DataSetCancel1, &QAction::trigger);

    personalPages = new ui::PageControl(19, upper);
    personalPages->setGeometry(8, 72, 233, 177);
    auto *personal = new QWidget;
    personal->setObjectName(QStringLiteral("personal"));
    personalPages->addTab(personal, QStringLiteral("KİŞİSEL BİLGİLER "));
    groups_.insert(QStringLiteral("personal"), personal);
    SpeedButton1 = new QToolButton(personal);
    SpeedButton1->setObjectName(QStringLiteral("SpeedButton1"));
    SpeedButton1->setGeometry(152, 112, 23, 22);
    SpeedButton1->setAutoRaise(true);
    SpeedButton1->setIcon(kalpiyonIcon(IconId::Today));
    SpeedButton1->setToolTip(QStringLiteral("Bugün"));
    SpeedButton1->setAccessibleName(QStringLiteral("Bugün"));
    setHint(SpeedButton1, QStringLiteral("Bugün|Bugünün tarihini gir..."));
    connect(SpeedButton1, &QToolButton::clicked, this, &TForm1::SpeedButton1Click);

    findingsPages = new ui::PageControl(19, upper);
    findingsPages->setObjectName(QStringLiteral("findingsPages"));
    findingsPages->setGeometry(244, 6, 485, 243);
    findingsPages->setFocusPolicy(Qt::NoFocus);
    for (const char *caption : {"Kalp Boşlukları", "Mitral Kapat   |   Aort Kapak", "Triküspid Kapak   |   Pulmoner Kapak"})
        findingsPages->addTab(new QWidget, QString::fromUtf8(caption));
    for (const GroupDef &g : kGroups) {
        auto *box = new QGroupBox(QString::fromUtf8(g.caption), findingsPages->widget(g.tab));
        box->setObjectName(QLatin1String(g.id));
        box->setGeometry(g.rect);
        groups_.insert(QLatin1String(g.id), box);
    }
    return upper;
}

QWidget *TForm1::buildLowerPanel(QWidget *area)
{
    QFrame *lower = bevelPanel(area, {0, 262, 737, 331}, QFrame::Raised);
    auto *sonuc = new QGroupBox(QStringLiteral(" SONUÇ "), lower);
    sonuc->setGeometry(8, 8, 353, 313);
    auto *yorum = new QGroupBox(QStringLiteral(" YORUM "), lower);
    yorum->setGeometry(374, 8, 353, 241);
    QFrame *ea = bevelPanel(sonuc, {8, 16, 57, 97}, QFrame::Plain);
    QFrame *ef = bevelPanel(yorum, {8, 16, 57, 81}, QFrame::Plain);
    groups_.insert(QStringLiteral("sonuc"), sonuc);
    groups_.insert(QStringLiteral("yorum"), yorum);
    groups_.insert(QStringLiteral("sonucEA"), ea);
    groups_.insert(QStringLiteral("yorumEF"), ef);

    BtnYazdir1 = commandButton(lower, QStringLiteral("Kalpiyon Raporu"), kalpiyonIcon(IconId::Print), {376, 296, 89, 25},
                               QStringLiteral("BtnYazdir1"), QStringLiteral("Kalpiyon raporu yazdır..."));
    BtnYazdir2 = commandButton(lower, QStringLiteral("Kayıt Listesi"), kalpiyonIcon(IconId::Print), {472, 296, 89, 25},
                               QStringLiteral("BtnYazdir2"), QStringLiteral("Liste Yazdır..."));
    BtnKapat = commandButton(lower, QStringLiteral("Kapat"), kalpiyonIcon(IconId::Close), {636, 296, 89, 25},
                             QStringLiteral("BtnKapat"), QStringLiteral("Programı kapat..."));
    connect(BtnYazdir1, &QPushButton::clicked, this, &TForm1::BtnYazdir1Click);
    connect(BtnYazdir2, &QPushButton::clicked, this, &TForm1::BtnYazdir2Click);
    connect(BtnKapat, &QPushButton::clicked, this, &TForm1::BtnKapatClick);
    return lower;
}

void TForm1::buildEditors()
{
    auto makeEditor = [this](const char *name, const char *fieldName, EditorKind kind, Filter filter, QWidget *parent) {
        const int field = records::fieldIndex(QLatin1String(fieldName));
        QWidget *w;
        if (kind == EditorKind::Combo) {
            const auto list = records::phraseListOfField(field);
            auto *combo = new ui::DBComboBox(Query1, field, list ? records::phrases(*list) : QStringList(), parent);
            if (filter == Filter::Field)
                combo->setKeyFilter([](const QString &t, const QString &, int) { return fieldKeyFilter(t); });
            else if (filter == Filter::Phrase)
                combo->setKeyFilter(phraseKeyFilter);
            w = combo;
        } else {
            auto *edit = new ui::DBEdit(Query1, field, parent);
            if (filter == Filter::Field)
                edit->setKeyFilter([](const QString &t, const QString &, int) { return fieldKeyFilter(t); });
            w = edit;
        }
        w->setObjectName(QLatin1String(name));
        editors_.insert(QLatin1String(name), w);
        return w;
    };

    QHash<QString, int> rowsInGroup;
    for (const EditorDef &e : kGroupEditors) {
        QWidget *group = groups_.value(QLatin1String(e.group));
        const GroupDef *g = nullptr;
        for (const GroupDef &def : kGroups)
            if (QLatin1String(def.id) == QLatin1String(e.group))
                g = &def;
        const int y = g->firstRowY + 24 * rowsInGroup[QLatin1String(e.group)]++;
        QWidget *w = makeEditor(e.name, e.field, e.kind, e.filter, group);
        w->setGeometry(96, y, e.kind == EditorKind::Combo ? 121 : 73, 21);
        auto *l = new QLabel(QString::fromUtf8(e.label), group);
        l->setGeometry(0, y + 3, 94, 16);
        l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        l->setBuddy(w);
        if (*e.unit)
            unitLabel(group, QString::fromUtf8(e.unit), {173, y + 3});
    }
    for (const PlacedEditorDef &e : placedEditors()) {
        QWidget *parent = groups_.value(QLatin1String(e.parent));
        QWidget *w = makeEditor(e.name, e.field, e.kind, e.filter, parent);
        w->setGeometry(e.rect);
        if (*e.label)
            label(parent, QString::fromUtf8(e.label), e.labelPos)->setBuddy(w);
        else
            w->setAccessibleName(QLatin1String(e.field));
        if (*e.unit)
            unitLabel(parent, QString::fromUtf8(e.unit), e.unitPos);
    }
    editor(QStringLiteral("EditEF"))->setLayoutDirection(Qt::LeftToRight);
}

void TForm1::buildMenus()
{
    menuBar()->setFont(ui::menuFont());
    QMenu *dosya = menuBar()->addMenu(QStringLiteral("Dosya"));
    dosya->addAction(kalpiyonIcon(IconId::New), QStringLiteral("Yeni Kayıt"), this, &TForm1::BtnYeniClick);
    dosya->addAction(kalpiyonIcon(IconId::Delete), QStringLiteral("Sil"), this, &TForm1::BtnSilClick);
    dosya->addSeparator();
    dosya->addAction(kalpiyonIcon(IconId::Close), QStringLiteral("Kapat"), this, &TForm1::BtnKapatClick);
    srimport::install(this, dosya);  // DICOM reports, behind a separator after the entries above

    QMenu *ayarlar = menuBar()->addMenu(QStringLiteral("Ayarlar"));
    ayarlar->addAction(QStringLiteral("Sabit Bilgiler"), this, &TForm1::SabitBilgiler1Click);
    ayarlar->addSeparator();
    ayarlar->addAction(QStringLiteral("Genel Ayarlar"), this, &TForm1::Alifresi1Click);
    ayarlar->addSeparator();
    ayarlar->addAction(QStringLiteral("Veritabanını Temizle"), this, &TForm1::KaytSil1Click);
    ayarlar->addAction(QStringLiteral("Veritabanını Onar"), this, &TForm1::VeritabannOnar1Click);
    ayarlar->addAction(QStringLiteral("Veritabanını Yedekle"), this, &TForm1::VeritabannYedekle1Click);
    ayarlar->addSeparator();
    ayarlar->addAction(QStringLiteral("Yedekten Geri Yükle..."), this, [this] { showRestoreWindow(Query1, this); });
    ayarlar->addSeparator();
    ayarlar->addAction(QStringLiteral("Seçenekler..."), this, [this] {
        OptionsWindow window(maintenance::databasePath(Query1), this);
        ui::execDialog(window);
    });

    QMenu *rapor = menuBar()->addMenu(QStringLiteral("Rapor"));
    rapor->addAction(kalpiyonIcon(IconId::Print), QStringLiteral("Kalpiyon Raporu"), this, &TForm1::BtnYazdir1Click);
    rapor->addAction(kalpiyonIcon(IconId::Print), QStringLiteral("Kayıt Listesi"), this, &TForm1::BtnYazdir2Click);

    QAction *hakkinda = menuBar()->addAction(QStringLiteral("Hakkında"));
    connect(hakkinda, &QAction::triggered, this, &TForm1::Hakknda1Click);

    PopupMenu1 = new QMenu(this);
    PopupMenu1->addAction(QStringLiteral("Sabit Bilgiler"), this, &TForm1::SabitBilgiler1Click);
    PopupMenu1->addSeparator();
    PopupMenu1->addAction(QStringLiteral("Genel Ayarlar"), this, &TForm1::Alifresi1Click);
    PopupMenu1->addSeparator();
    // The two report entries run the same commands as the "Rapor" menu.
    PopupMenu1->addAction(kalpiyonIcon(IconId::Print), QStringLiteral("Kalpiyon Raporu"), this, &TForm1::BtnYazdir1Click);
    PopupMenu1->addAction(kalpiyonIcon(IconId::Print), QStringLiteral("Kayıt Listesi"), this, &TForm1::BtnYazdir2Click);
    PopupMenu1->addSeparator();
    PopupMenu1->addAction(kalpiyonIcon(IconId::Close), QStringLiteral("Kapat"), this, &TForm1::BtnKapatClick);
}

void TForm1::buildStatusBar()
{
    // Inside the window's border, so not the main window's own status bar, which spans it.
    auto *bar = new QStatusBar(centralWidget());
    static_cast<QBoxLayout *>(centralWidget()->layout())->addWidget(bar);
    bar->setObjectName(QStringLiteral("StatusBar1"));
    bar->setFixedHeight(19);
    bar->setSizeGripEnabled(true);
    const int widths[] = {140, 150, 100, 0};
    for (int i = 0; i < 4; ++i) {
        auto *panel = new QLabel(bar);
        panel->setObjectName(QStringLiteral("StatusPanel%1").arg(i));
        panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        if (widths[i])
            panel->setFixedWidth(widths[i]);
        bar->addPermanentWidget(panel, widths[i] ? 0 : 1);
        statusPanels << panel;
    }
}

void TForm1::contextMenuEvent(QContextMenuEvent *event)
{
    PopupMenu1->exec(event->globalPos());
}

// --- Start-up and shutdown ----------------------------------------------------------

void TForm1::FormCreate()
{
    // The idle step runs whenever the dataset's state may have changed.
    AppIdle();
}

void TForm1::AppIdle()
{
    const bool editing = Query1->editing();
    BtnYazdir1->setEnabled(!editing);
    BtnYazdir2->setEnabled(!editing);
    DataSetPost1->setEnabled(Query1->active() && editing);
    DataSetCancel1->setEnabled(Query1->active() && editing);
    RzBitBtn6->setEnabled(DataSetPost1->isEnabled());
    BtnIptal->setEnabled(DataSetCancel1->isEnabled());
}

void TForm1::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    if (!shown_) {
        shown_ = true;
        FormShow();
    }
}

void TForm1::FormShow()
{
    try {
        LoadSettings();
    } catch (const Error &e) {
        ui::showException(e, this);
    }
    setWindowTitle(Form2 ? Form2->Edit1->text() : QStringLiteral("Kalpiyon"));
    new HintFollower([this] { updateHint(); }, this);
    new IdleCaret(this);
    statusPanels[3]->setText(QLatin1Char(' ') + webAddress());
}

void TForm1::closeEvent(QCloseEvent *event)
{
    if (FormClose()) {
        event->accept();
        maintenance::backupAtClose(Query1, this);
    } else {
        event->ignore();
    }
}

bool TForm1::FormClose()
{
    if (Query1->editing()) {
        const ui::Button answer = ui::messageBox(QStringLiteral("Değişiklikleri kaydetmek istiyor musunuz?"),
                                                 QStringLiteral("Dikkat !"), ui::Yes | ui::No, ui::Icon::None, this);
        try {
            if (answer == ui::Yes)
                Query1->post();
            else
                Query1->cancel();
        } catch (const Error &e) {
            ui::showException(e, this);
            return false;
        }
    }
    const bool close = ui::messageBox(QStringLiteral("Programdan çıkmak istiyor musunuz?"), QStringLiteral(" Kalpiyon"),
                                      ui::Yes | ui::No, ui::Icon::Question, this) == ui::Yes;
    try {
        SaveSettings();
    } catch (const Error &e) {
        // Shown, and a confirmed exit still ends the program: the record is already stored.
        ui::showException(e, this);
    }
    return close;
}

void TForm1::BtnKapatClick()
{
    close();
}

// --- Record commands ----------------------------------------------------------------

void TForm1::BtnYeniClick()
{
    Query1->append();
    editor(QStringLiteral("EditAd"))->setFocus();
    if (!AyarFrm || !AyarFrm->ChkAlan->isChecked())
        return;
    placeDefaultFindings();
}

void TForm1::placeDefaultFindings()
{
    struct Default {
        const char *editor;
        const char *value;
    };
    static const Default defaults[] = {
        {"CB1", "Tüm Kalp Boşlukları normal genişliktedir."},
        {"CB2", "Sol ventrikül duvar kalınlıkları ve duvar hareketleri normaldir."},
        {"CB3", "Aort Kapak yapısı ve açılımı normal."},
        {"CB4", "Mitral Kapak yapısı ve açılımı normal."},
        {"CB5", "Doppler ile mitral akımda E/A A lehine artmıştır. İVRT ve EDT süreleri artmış."},
        {"CB6", "Perikard tabii, interatrial ve interventriküler septumlar intakt."},
        {"CB7", "Kitle, trombüs, vejetasyon izlenmemiştir."},
        {"EditEF", "65"},
        {"CBox1", "Normal sol ventrikül sistolik fonksiyonu"},
        {"CBox2", "Sol Ventrikül Diastolik Disfonksiyonu"},
        {"EditTarih", nullptr},  // today's date
    };
    for (const Default &d : defaults) {
        const QString value = d.value ? QString::fromUtf8(d.value) : records::formatDateTime(records::today());
        QWidget *w = editor(QLatin1String(d.editor));
        if (auto *combo = qobject_cast<ui::DBComboBox *>(w)) {
            combo->setUserText(value);
        } else if (auto *edit = qobject_cast<ui::DBEdit *>(w)) {
            edit->link()->startEditing();
            edit->setText(value);
            edit->link()->setModified(true);
        }
    }
}

void TForm1::BtnSilClick()
{
    QString name = Query1->displayText(kNameField);
    name.replace(QLatin1Char('\''), QLatin1String("''"));
    const QString question = QLatin1Char('\'') + name + QLatin1Char('\'') + QStringLiteral(" adlı hastaya ait kayıtlar silinsin mi?");
    if (ui::messageDlg(question, ui::Kind::Warning, ui::Yes | ui::No, this) == ui::Yes)
        Query1->remove();
}

void TForm1::SpeedButton1Click()
{
    Query1->edit();
    Query1->setValue(records::fieldIndex(QStringLiteral("Tarih")), records::today());
}

// --- Search and status --------------------------------------------------------------

bool TForm1::eventFilter(QObject *watched, QEvent *event)
{
    // The search box types through the field key filter.
    if (watched == Edit8 && event->type() == QEvent::KeyPress) {
        auto *key = static_cast<QKeyEvent *>(event);
        const QString typed = key->text();
        if (!typed.isEmpty() && typed.at(0).isPrint() && !(key->modifiers() & Qt::ControlModifier)) {
            const QString filtered = fieldKeyFilter(typed);
            if (filtered != typed) {
                Edit8->insert(filtered);
                return true;
            }
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void TForm1::Edit8Change(const QString &text)
{
    if (text.isEmpty())
        return;
    if (Query1->locate(QStringLiteral("Adi_Soyadi"), text, {true, false}))
        StripedDBGrid1->centerCurrent();
}

void TForm1::SpeedButton2Click()
{
    Edit8->setText(QString());
}

void TForm1::Query1AfterScroll()
{
    statusPanels[0]->setText(QStringLiteral("  Toplam Kayıt: %1 / %2").arg(Query1->recordCount()).arg(Query1->recNo()));
    statusPanels[1]->setText(Query1->displayText(kNameField));
    statusPanels[2]->setText(Query1->displayText(records::fieldIndex(QStringLiteral("Prot_No"))));
}

// --- Hints --------------------------------------------------------------------------

void TForm1::updateHint()
{
    QWidget *w = QApplication::widgetAt(QCursor::pos());
    QString hint;
    for (; w; w = w->parentWidget()) {
        hint = w->property("hint").toString();
        if (!hint.isEmpty())
            break;
    }
    const int bar = int(hint.indexOf(QLatin1Char('|')));
    if (bar >= 0)
        hint = hint.mid(bar + 1);
    if (hint != lastHint_) {
        lastHint_ = hint;
        BilgiBari(hint);
    }
}

void TForm1::BilgiBari(const QString &hint)
{
    statusPanels[3]->setText(QLatin1Char(' ') + hint);
}
