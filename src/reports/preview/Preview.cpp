#include "Preview.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QRegularExpressionValidator>
#include <QScrollBar>
#include <QShortcut>
#include <QTimer>
#include <QVBoxLayout>

#include "Dialogs.h"
#include "EngineWindow.h"
#include "Error.h"
#include "Icons.h"
#include "PreparedReportFile.h"
#include "Printing.h"
#include "SearchDialog.h"

namespace reports {

namespace {
const QString kFilter = QStringLiteral("Rapor Hazırlandı (*.fp3)");
constexpr int kSideWidth = 120;

QToolButton *tool(QWidget *parent, const QString &name, const QString &tip, IconId icon, bool toggle = false)
{
    auto *b = new QToolButton(parent);
    b->setObjectName(name);
    b->setToolTip(tip);
    b->setAccessibleName(tip);
    b->setIcon(kalpiyonIcon(icon));
    b->setAutoRaise(true);
    b->setCheckable(toggle);
    return b;
}

QFrame *separator(QWidget *parent)
{
    auto *line = new QFrame(parent);
    line->setFrameShape(QFrame::VLine);
    line->setFrameShadow(QFrame::Sunken);
    return line;
}
}  // namespace

TfrxPreviewForm::TfrxPreviewForm(PreparedReport &report, bool navigator, std::function<void()> prepare, QWidget *parent)
    : QDialog(parent), report_(report), prepare_(std::move(prepare))
{
    setObjectName(QStringLiteral("TfrxPreviewForm"));
    setWindowTitle(QStringLiteral("Önizleme"));
    setWindowFlags(windowFlags() | Qt::WindowMinMaxButtonsHint);
    setWindowState(Qt::WindowMaximized);
    useEngineFont(this);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    buildToolbar(navigator);
    layout->addWidget(toolbar);
    auto *middle = new QHBoxLayout;
    middle->setSpacing(0);
    buildSidePanel();
    middle->addWidget(sidePanel);
    area_ = new PageArea(this);
    area_->setReport(&report_);
    middle->addWidget(area_, 1);
    layout->addLayout(middle, 1);
    buildStatusBar();
    layout->addWidget(statusBar);
    buildContextMenu();
    connectCommands();
    QTimer::singleShot(50, this, &TfrxPreviewForm::startPreparation);
    updateState();
    showZoom();
    area_->setFocus();
}

void TfrxPreviewForm::buildToolbar(bool navigator)
{
    toolbar = new QWidget(this);
    toolbar->setObjectName(QStringLiteral("ToolBar"));
    auto *row = new QHBoxLayout(toolbar);
    row->setContentsMargins(4, 2, 4, 2);
    row->setSpacing(1);
    PrintB = tool(toolbar, QStringLiteral("PrintB"), QStringLiteral("Yazdır"), IconId::Print);
    OpenB = tool(toolbar, QStringLiteral("OpenB"), QStringLiteral("Aç"), IconId::Open);
    SaveB = tool(toolbar, QStringLiteral("SaveB"), QStringLiteral("Kaydet"), IconId::Save);
    FindB = tool(toolbar, QStringLiteral("FindB"), QStringLiteral("Bul"), IconId::Find);
    ZoomPlusB = tool(toolbar, QStringLiteral("ZoomPlusB"), QStringLiteral("Yakşaş"), IconId::ZoomIn);
    ZoomCB = new QComboBox(toolbar);
    ZoomCB->setObjectName(QStringLiteral("ZoomCB"));
    ZoomCB->setToolTip(QStringLiteral("Yakınlaştır"));
    ZoomCB->setAccessibleName(QStringLiteral("Yakınlaştır"));
    ZoomCB->setEditable(true);
    ZoomCB->setInsertPolicy(QComboBox::NoInsert);
    ZoomCB->addItems({QStringLiteral("25%"), QStringLiteral("50%"), QStringLiteral("75%"), QStringLiteral("100%"),
                      QStringLiteral("150%"), QStringLiteral("200%"), QStringLiteral("Sayfa genişliği"), QStringLiteral("Tüm sayfa")});
    ZoomCB->setMinimumContentsLength(12);
    ZoomMinusB = tool(toolbar, QStringLiteral("ZoomMinusB"), QStringLiteral("Uzaklaş"), IconId::ZoomOut);
    FullScreenBtn = tool(toolbar, QStringLiteral("FullScreenBtn"), QStringLiteral("Tam ekran"), IconId::FullScreen);
    OutlineB = tool(toolbar, QStringLiteral("OutlineB"), QStringLiteral("Dışhat rapor"), IconId::Outline, true);
    ThumbB = tool(toolbar, QStringLiteral("ThumbB"), QStringLiteral("Küçük resimler"), IconId::Thumbnails, true);
    for (QWidget *w : std::initializer_list<QWidget *>{PrintB, OpenB, SaveB, FindB, separator(toolbar), ZoomPlusB, ZoomCB,
                                                       ZoomMinusB, FullScreenBtn, OutlineB, ThumbB})
        row->addWidget(w);
    FirstB = tool(toolbar, QStringLiteral("FirstB"), QStringLiteral("İlk Sayfa"), IconId::First);
    PriorB = tool(toolbar, QStringLiteral("PriorB"), QStringLiteral("Önceki Sayfa"), IconId::Prior);
    PageE = new QLineEdit(toolbar);
    PageE->setObjectName(QStringLiteral("PageE"));
    PageE->setToolTip(QStringLiteral("Sayfa Numarası"));
    PageE->setAccessibleName(QStringLiteral("Sayfa Numarası"));
    PageE->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), PageE));
    PageE->setFixedWidth(48);
    NextB = tool(toolbar, QStringLiteral("NextB"), QStringLiteral("Sonraki Sayfa"), IconId::Next);
    LastB = tool(toolbar, QStringLiteral("LastB"), QStringLiteral("Son Sayfa"), IconId::Last);
    for (QWidget *w : std::initializer_list<QWidget *>{separator(toolbar), FirstB, PriorB, PageE, NextB, LastB}) {
        row->addWidget(w);
        w->setVisible(navigator);  // only the record list pages through its buttons
    }
    row->addSpacing(35);
    CancelB = new QToolButton(toolbar);
    CancelB->setObjectName(QStringLiteral("CancelB"));
    CancelB->setText(QStringLiteral("Kapat"));
    CancelB->setFixedWidth(68);
    row->addWidget(CancelB);
    row->addStretch(1);
}

void TfrxPreviewForm::buildSidePanel()
{
    sidePanel = new QWidget(this);
    sidePanel->setObjectName(QStringLiteral("SidePanel"));
    sidePanel->setFixedWidth(kSideWidth);
    auto *box = new QVBoxLayout(sidePanel);
    box->setContentsMargins(0, 0, 0, 0);
    sideStack_ = new QStackedWidget(sidePanel);
    box->addWidget(sideStack_);
    OutlineTree = new QTreeWidget(sideStack_);
    OutlineTree->setObjectName(QStringLiteral("OutlineTree"));
    OutlineTree->setHeaderHidden(true);
    OutlineTree->setContextMenuPolicy(Qt::ActionsContextMenu);
    auto *collapse = new QAction(QStringLiteral("Tümünü kapat"), OutlineTree);
    auto *expand = new QAction(QStringLiteral("Tümünü aç"), OutlineTree);
    connect(collapse, &QAction::triggered, OutlineTree, &QTreeWidget::collapseAll);
    connect(expand, &QAction::triggered, OutlineTree, &QTreeWidget::expandAll);
    OutlineTree->addActions({collapse, expand});
    thumbs_ = new PageArea(sideStack_);
    thumbs_->setObjectName(QStringLiteral("Thumbnails"));
    thumbs_->setReport(&report_);
    thumbs_->setThumbnails();
    sideStack_->addWidget(OutlineTree);
    sideStack_->addWidget(thumbs_);
    sidePanel->hide();
}

void TfrxPreviewForm::buildStatusBar()
{
    statusBar = new QFrame(this);
    statusBar->setObjectName(QStringLiteral("StatusBar"));
    statusBar->setFixedHeight(logicalDpiY() > 96 ? 24 : 19);
    auto *row = new QHBoxLayout(statusBar);
    row->setContentsMargins(2, 1, 2, 1);
    row->setSpacing(2);
    status = new QLabel(statusBar);
    status2 = new QLabel(statusBar);
    for (QLabel *panel : {status, status2})
        panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    status->setFixedWidth(200);
    status2->setFixedWidth(50);
    row->addWidget(status);
    row->addWidget(status2);
    row->addStretch(1);
}

// One entry per document and zoom button, in toolbar order; the toggle buttons are left out.
void TfrxPreviewForm::buildContextMenu()
{
    menu_ = new QMenu(this);
    menu_->setObjectName(QStringLiteral("PopupMenu"));
    for (QToolButton *b : {PrintB, OpenB, SaveB, FindB, static_cast<QToolButton *>(nullptr), ZoomPlusB, ZoomMinusB, FullScreenBtn}) {
        if (!b) {
            menu_->addSeparator();
            continue;
        }
        QAction *action = menu_->addAction(b->icon(), b->toolTip(), b, &QToolButton::click);
        action->setObjectName(b->objectName() + QStringLiteral("Item"));
    }
    connect(menu_, &QMenu::aboutToShow, this, [this] {
        const QList<QToolButton *> buttons{PrintB, OpenB, SaveB, FindB, ZoomPlusB, ZoomMinusB, FullScreenBtn};
        int i = 0;
        for (QAction *a : menu_->actions())
            if (!a->isSeparator())
                a->setEnabled(buttons[i++]->isEnabled());
    });
}

void TfrxPreviewForm::connectCommands()
{
    connect(PrintB, &QToolButton::clicked, this, [this] { PrintPrepared(report_, this, area_->currentPage() + 1); });
    connect(OpenB, &QToolButton::clicked, this, &TfrxPreviewForm::OpenBClick);
    connect(SaveB, &QToolButton::clicked, this, &TfrxPreviewForm::SaveBClick);
    connect(FindB, &QToolButton::clicked, this, &TfrxPreviewForm::FindBClick);
    connect(ZoomPlusB, &QToolButton::clicked, this, [this] { area_->setZoom(area_->zoom() + 0.25); });
    connect(ZoomMinusB, &QToolButton::clicked, this, [this] { area_->setZoom(area_->zoom() - 0.25); });
    connect(ZoomCB, &QComboBox::activated, this, [this] { applyZoomText(); });
    connect(ZoomCB->lineEdit(), &QLineEdit::returnPressed, this, [this] { applyZoomText(); });
    connect(FullScreenBtn, &QToolButton::clicked, this, &TfrxPreviewForm::switchFullScreen);
    connect(OutlineB, &QToolButton::toggled, this, [this](bool on) { showSide(OutlineTree, on); });
    connect(ThumbB, &QToolButton::toggled, this, [this](bool on) { showSide(thumbs_, on); });
    connect(FirstB, &QToolButton::clicked, this, [this] { area_->setCurrentPage(0); });
    connect(PriorB, &QToolButton::clicked, this, [this] { area_->setCurrentPage(area_->currentPage() - 1); });
    connect(NextB, &QToolButton::clicked, this, [this] { area_->setCurrentPage(area_->currentPage() + 1); });
    connect(LastB, &QToolButton::clicked, this, [this] { area_->setCurrentPage(report_.pageCount() - 1); });
    connect(PageE, &QLineEdit::returnPressed, this, &TfrxPreviewForm::goToTypedPage);
    connect(CancelB, &QToolButton::clicked, this, [this] {
        if (preparing_)
            stop_ = true;
        else
            accept();
    });
    connect(area_, &PageArea::currentPageChanged, this, [this](int page) {
        if (thumbs_->currentPage() != page && thumbs_->isVisible())
            thumbs_->setCurrentPage(page);
        updateState();
    });
    connect(thumbs_, &PageArea::currentPageChanged, this, [this](int page) {
        if (area_->currentPage() != page)
            area_->setCurrentPage(page);
    });
    connect(area_, &PageArea::zoomChanged, this, &TfrxPreviewForm::showZoom);
    connect(area_, &PageArea::relaidOut, this, &TfrxPreviewForm::endSearch);
    connect(area_, &PageArea::doubleClicked, this, [this] {
        if (fullScreen_)
            switchFullScreen();
    });
    // Keys that work wherever the focus is in the window, each only while its command exists.
    const std::pair<QKeySequence, QToolButton *> keys[] = {{QKeySequence(Qt::CTRL | Qt::Key_P), PrintB},
                                                           {QKeySequence(Qt::CTRL | Qt::Key_S), SaveB},
                                                           {QKeySequence(Qt::CTRL | Qt::Key_F), FindB},
                                                           {QKeySequence(Qt::CTRL | Qt::Key_O), OpenB},
                                                           {QKeySequence(Qt::Key_F11), FullScreenBtn}};
    for (const auto &[key, button] : keys) {
        QToolButton *b = button;
        connect(new QShortcut(key, this), &QShortcut::activated, b, [b] {
            if (b->isEnabled())
                b->click();
        });
    }
    connect(new QShortcut(QKeySequence(Qt::Key_F3), this), &QShortcut::activated, this, &TfrxPreviewForm::findNext);
    connect(qApp, &QGuiApplication::applicationStateChanged, this, [this](Qt::ApplicationState state) {
        if (state == Qt::ApplicationActive && isMinimized()) {
            setWindowState((windowState() & ~Qt::WindowMinimized) | Qt::WindowMaximized);
            raise();
            activateWindow();
        }
    });
}

void TfrxPreviewForm::showZoom()
{
    ZoomCB->setEditText(QStringLiteral("%1%").arg(qRound(area_->zoom() * 100)));
}

void TfrxPreviewForm::applyZoomText()
{
    const QString text = ZoomCB->currentText();
    if (text == QStringLiteral("Sayfa genişliği")) {
        area_->setZoomMode(ZoomMode::PageWidth);
    } else if (text == QStringLiteral("Tüm sayfa")) {
        area_->setZoomMode(ZoomMode::WholePage);
    } else {
        QString t = text;
        const int percent = int(t.indexOf(QLatin1Char('%')));
        if (percent >= 0)
            t[percent] = QLatin1Char(' ');
        t.remove(QLatin1Char(' ')).replace(QLatin1Char(','), QLatin1Char('.'));
        bool ok = false;
        const double value = t.toDouble(&ok);
        if (!ok) {
            showZoom();  // the zoom stays
            throw Error(QStringLiteral("'%1' is not a valid floating point value").arg(text));
        }
        area_->setZoom(value / 100.0);
    }
    showZoom();
}

void TfrxPreviewForm::goToTypedPage()
{
    bool ok = false;
    const int page = PageE->text().toInt(&ok);
    if (!ok) {
        const QString typed = PageE->text();
        updateState();  // the page stays
        throw Error(QStringLiteral("'%1' sayısal ifade girmediniz").arg(typed));
    }
    area_->setCurrentPage(page - 1);
}

// A panel over the page area while a file is written or read.
void TfrxPreviewForm::showPanel(const QString &text)
{
    if (!panel_) {
        panel_ = new QLabel(area_);
        panel_->setObjectName(QStringLiteral("FilePanel"));
        panel_->setAlignment(Qt::AlignCenter);
        panel_->setFrameStyle(QFrame::Panel | QFrame::Raised);
        panel_->setAutoFillBackground(true);
        panel_->resize(260, 75);
    }
    panel_->setText(text);
    panel_->move((area_->width() - 260) / 2, area_->height() / 3);
    panel_->setVisible(!text.isEmpty());
    panel_->repaint();
}

void TfrxPreviewForm::SaveBClick()
{
    QString path = ui::getSaveFileName(this, QStringLiteral("Kaydet"), QString(), kFilter);
    if (path.isEmpty())
        return;
    const QFileInfo info(path);
    path = info.dir().filePath(info.completeBaseName() + QStringLiteral(".fp3"));  // the extension is ours
    showPanel(QStringLiteral("Dosya Kaydediliyor..."));
    const auto hide = qScopeGuard([this] { showPanel(QString()); });
    savePreparedReportFile(report_, path);
}

void TfrxPreviewForm::OpenBClick()
{
    const QString path = ui::getOpenFileName(this, QStringLiteral("Aç"), QString(), kFilter);
    if (path.isEmpty() || !QFileInfo::exists(path))
        return;
    {
        showPanel(QStringLiteral("Dosya yükleniyor..."));
        const auto hide = qScopeGuard([this] { showPanel(QString()); });
        loadPreparedReportFile(path, *report_.tmpl, report_);
    }
    setWindowTitle(QStringLiteral("Önizleme"));
    OutlineTree->clear();  // the templates have no outline entries
    area_->setReport(&report_);
    thumbs_->setReport(&report_);
    endSearch();
    area_->setCurrentPage(0);
    updateState();
}

void TfrxPreviewForm::FindBClick()
{
    TfrxSearchDialog dialog(this);
    if (ui::execDialog(dialog) != QDialog::Accepted)
        return;
    endSearch();
    searching_ = true;
    caseSensitive_ = dialog.CaseCB->isChecked();
    from_ = FindHit{dialog.TopCB->isChecked() ? 0 : area_->currentPage(), -1, {}};
    findNext();
}

void TfrxPreviewForm::findNext()
{
    if (!searching_ || !FindB->isEnabled())
        return;
    const FindHit next = findText(report_, from_.page, from_.piece, TfrxSearchDialog::lastText(), caseSensitive_);
    if (!next.found())
        return;  // no further match: nothing is shown
    hit_ = from_ = next;
    area_->showRectangle(hit_.page, hit_.rect);
    area_->setHighlight(hit_.page, hit_.rect);
}

// A re-layout of the pages ends the search: F3 does nothing until Find is used again.
void TfrxPreviewForm::endSearch()
{
    searching_ = false;
    hit_ = from_ = FindHit{};
    area_->setHighlight(-1, QRectF());
}

void TfrxPreviewForm::switchFullScreen()
{
    fullScreen_ = !fullScreen_;
    toolbar->setVisible(!fullScreen_);
    statusBar->setVisible(!fullScreen_);
    // The window state, never the window flags: new flags hide the window, which ends its
    // modal loop. Full screen is borderless and covers the whole screen.
    if (fullScreen_) {
        savedState_ = windowState();
        setWindowState((savedState_ & ~Qt::WindowMinimized) | Qt::WindowFullScreen);
    } else {
        setWindowState(savedState_);
    }
}

void TfrxPreviewForm::showSide(QWidget *panel, bool on)
{
    // One side panel at a time; the toggle buttons follow.
    QToolButton *own = panel == OutlineTree ? OutlineB : ThumbB;
    QToolButton *other = panel == OutlineTree ? ThumbB : OutlineB;
    const QSignalBlocker block(other);
    other->setChecked(false);
    if (own->isChecked() != on) {
        const QSignalBlocker blockOwn(own);
        own->setChecked(on);
    }
    sideStack_->setCurrentWidget(panel);
    sidePanel->setVisible(on);
    if (on && panel == thumbs_)
        thumbs_->setCurrentPage(area_->currentPage());
}

void TfrxPreviewForm::startPreparation()
{
    sinceRefresh_.invalidate();
    preparing_ = true;
    stop_ = false;
    updateState();
    const auto done = qScopeGuard([this] {
        preparing_ = false;
        status2->clear();
        OutlineTree->clear();  // rebuilt: the templates have no outline entries
        area_->refresh();
        thumbs_->refresh();
        updateState();
    });
    prepare_();
}

void TfrxPreviewForm::pageArrived()
{
    // The first page is shown at once; after that the pages are laid out again a few times
    // a second rather than for every page.
    if (report_.pageCount() > 1 && sinceRefresh_.isValid() && sinceRefresh_.elapsed() < 100)
        return;
    sinceRefresh_.start();
    area_->refresh();
    if (thumbs_->isVisible())
        thumbs_->refresh();
    updateState();
}

void TfrxPreviewForm::updateState()
{
    const bool idle = !preparing_ && report_.pageCount() > 0;
    for (QToolButton *b : {PrintB, OpenB, SaveB, FindB})
        b->setEnabled(idle);
    CancelB->setText(preparing_ ? QStringLiteral("Vazgeç") : QStringLiteral("Kapat"));
    const int page = report_.pageCount() ? area_->currentPage() + 1 : 0;
    status->setText(QStringLiteral("Sayfa %1 / %2").arg(page).arg(report_.pageCount()));
    if (PageE->text() != QString::number(page))
        PageE->setText(QString::number(page));
}

void TfrxPreviewForm::reject()
{
    if (preparing_) {
        stop_ = true;  // closing is refused while preparing; Escape stops first
        return;
    }
    QDialog::reject();
}

void TfrxPreviewForm::closeEvent(QCloseEvent *event)
{
    if (preparing_)
        event->ignore();
    else
        QDialog::closeEvent(event);
}

// Minimizing the preview minimizes the whole program.
void TfrxPreviewForm::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::WindowStateChange && isMinimized() && parentWidget())
        parentWidget()->window()->showMinimized();
    QDialog::changeEvent(event);
}

void TfrxPreviewForm::contextMenuEvent(QContextMenuEvent *event)
{
    menu_->popup(event->globalPos());
}

void TfrxPreviewForm::keyPressEvent(QKeyEvent *event)
{
    const bool ctrl = event->modifiers() & Qt::ControlModifier;
    switch (event->key()) {
    case Qt::Key_Home: area_->setCurrentPage(0); return;
    case Qt::Key_End: area_->setCurrentPage(report_.pageCount() - 1); return;
    case Qt::Key_PageUp:
        if (ctrl)
            area_->setCurrentPage(area_->currentPage() - 1);
        return;
    case Qt::Key_PageDown:
        if (ctrl)
            area_->setCurrentPage(area_->currentPage() + 1);
        return;
    default: QDialog::keyPressEvent(event);
    }
}

}  // namespace reports
