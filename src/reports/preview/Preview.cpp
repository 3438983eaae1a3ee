#include "Preview.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QRegularExpressionValidator>
#include <QScrollBar>
#include <QShortcut>
#include <QTimer>

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
}  // namespace

TfrxPreviewForm::TfrxPreviewForm(PreparedReport &report, bool navigator, std::function<void()> prepare, QWidget *parent)
    : QDialog(parent), report_(report), prepare_(std::move(prepare))
{
    setupUi(this);
    setWindowFlags(windowFlags() | Qt::WindowMinMaxButtonsHint);
    setWindowState(Qt::WindowMaximized);
    useEngineFont(this);
    toolbar = ToolBar;
    sidePanel = SidePanel;
    statusBar = StatusBar;
    for (QWidget *w : std::initializer_list<QWidget *>{separator2, FirstB, PriorB, PageE, NextB, LastB})
        w->setVisible(navigator);  // only the record list pages through its buttons
    setUpToolbar();
    setUpSidePanel();
    PageArea->setReport(&report_);
    statusBar->setFixedHeight(logicalDpiY() > 96 ? 24 : 19);
    buildContextMenu();
    connectCommands();
    QTimer::singleShot(50, this, &TfrxPreviewForm::startPreparation);
    updateState();
    showZoom();
    PageArea->setFocus();
}

void TfrxPreviewForm::setUpToolbar()
{
    const std::pair<QToolButton *, IconId> icons[] = {
        {PrintB, IconId::Print}, {OpenB, IconId::Open}, {SaveB, IconId::Save}, {FindB, IconId::Find},
        {ZoomPlusB, IconId::ZoomIn}, {ZoomMinusB, IconId::ZoomOut}, {FullScreenBtn, IconId::FullScreen},
        {OutlineB, IconId::Outline}, {ThumbB, IconId::Thumbnails}, {FirstB, IconId::First},
        {PriorB, IconId::Prior}, {NextB, IconId::Next}, {LastB, IconId::Last}};
    for (const auto &[button, icon] : icons)
        button->setIcon(kalpiyonIcon(icon));
    ZoomCB->addItems({QStringLiteral("25%"), QStringLiteral("50%"), QStringLiteral("75%"), QStringLiteral("100%"),
                      QStringLiteral("150%"), QStringLiteral("200%"), QStringLiteral("Sayfa genişliği"), QStringLiteral("Tüm sayfa")});
    PageE->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), PageE));
}

void TfrxPreviewForm::setUpSidePanel()
{
    auto *collapse = new QAction(QStringLiteral("Tümünü kapat"), OutlineTree);
    auto *expand = new QAction(QStringLiteral("Tümünü aç"), OutlineTree);
    connect(collapse, &QAction::triggered, OutlineTree, &QTreeWidget::collapseAll);
    connect(expand, &QAction::triggered, OutlineTree, &QTreeWidget::expandAll);
    OutlineTree->addActions({collapse, expand});
    Thumbnails->setReport(&report_);
    Thumbnails->setThumbnails();
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
    connect(PrintB, &QToolButton::clicked, this, [this] { PrintPrepared(report_, this, PageArea->currentPage() + 1); });
    connect(OpenB, &QToolButton::clicked, this, &TfrxPreviewForm::OpenBClick);
    connect(SaveB, &QToolButton::clicked, this, &TfrxPreviewForm::SaveBClick);
    connect(FindB, &QToolButton::clicked, this, &TfrxPreviewForm::FindBClick);
    connect(ZoomPlusB, &QToolButton::clicked, this, [this] { PageArea->setZoom(PageArea->zoom() + 0.25); });
    connect(ZoomMinusB, &QToolButton::clicked, this, [this] { PageArea->setZoom(PageArea->zoom() - 0.25); });
    connect(ZoomCB, &QComboBox::activated, this, [this] { applyZoomText(); });
    connect(ZoomCB->lineEdit(), &QLineEdit::returnPressed, this, [this] { applyZoomText(); });
    connect(FullScreenBtn, &QToolButton::clicked, this, &TfrxPreviewForm::switchFullScreen);
    connect(OutlineB, &QToolButton::toggled, this, [this](bool on) { showSide(OutlineTree, on); });
    connect(ThumbB, &QToolButton::toggled, this, [this](bool on) { showSide(Thumbnails, on); });
    connect(FirstB, &QToolButton::clicked, this, [this] { PageArea->setCurrentPage(0); });
    connect(PriorB, &QToolButton::clicked, this, [this] { PageArea->setCurrentPage(PageArea->currentPage() - 1); });
    connect(NextB, &QToolButton::clicked, this, [this] { PageArea->setCurrentPage(PageArea->currentPage() + 1); });
    connect(LastB, &QToolButton::clicked, this, [this] { PageArea->setCurrentPage(report_.pageCount() - 1); });
    connect(PageE, &QLineEdit::returnPressed, this, &TfrxPreviewForm::goToTypedPage);
    connect(CancelB, &QToolButton::clicked, this, [this] {
        if (preparing_)
            stop_ = true;
        else
            accept();
    });
    connect(PageArea, &reports::PageArea::currentPageChanged, this, [this](int page) {
        if (Thumbnails->currentPage() != page && Thumbnails->isVisible())
            Thumbnails->setCurrentPage(page);
        updateState();
    });
    connect(Thumbnails, &reports::PageArea::currentPageChanged, this, [this](int page) {
        if (PageArea->currentPage() != page)
            PageArea->setCurrentPage(page);
    });
    connect(PageArea, &reports::PageArea::zoomChanged, this, &TfrxPreviewForm::showZoom);
    connect(PageArea, &reports::PageArea::relaidOut, this, &TfrxPreviewForm::endSearch);
    connect(PageArea, &reports::PageArea::doubleClicked, this, [this] {
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
    ZoomCB->setEditText(QStringLiteral("%1%").arg(qRound(PageArea->zoom() * 100)));
}

void TfrxPreviewForm::applyZoomText()
{
    const QString text = ZoomCB->currentText();
    if (text == QStringLiteral("Sayfa genişliği")) {
        PageArea->setZoomMode(ZoomMode::PageWidth);
    } else if (text == QStringLiteral("Tüm sayfa")) {
        PageArea->setZoomMode(ZoomMode::WholePage);
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
        PageArea->setZoom(value / 100.0);
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
    PageArea->setCurrentPage(page - 1);
}

// A panel over the page area while a file is written or read.
void TfrxPreviewForm::showPanel(const QString &text)
{
    if (!panel_) {
        panel_ = new QLabel(PageArea);
        panel_->setObjectName(QStringLiteral("FilePanel"));
        panel_->setAlignment(Qt::AlignCenter);
        panel_->setFrameStyle(QFrame::Panel | QFrame::Raised);
        panel_->setAutoFillBackground(true);
        panel_->resize(260, 75);
    }
    panel_->setText(text);
    panel_->move((PageArea->width() - 260) / 2, PageArea->height() / 3);
    panel_->setVisible(!text.isEmpty());
    panel_->repaint();
}

void TfrxPreviewForm::SaveBClick()
{
    // An existing file is replaced without a question.
    QString path = ui::getSaveFileName(this, QStringLiteral("Kaydet"), QString(), kFilter, ui::Overwrite::Replace);
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
        // Pages saved from either report open here and replace the prepared pages.
        loadPreparedReportFile(path, templates_.empty() ? std::vector<const ReportTemplate *>{report_.tmpl} : templates_,
                               report_);
    }
    setWindowTitle(QStringLiteral("Önizleme"));
    OutlineTree->clear();  // the templates have no outline entries
    PageArea->setReport(&report_);
    Thumbnails->setReport(&report_);
    endSearch();
    PageArea->setCurrentPage(0);
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
    from_ = FindHit{dialog.TopCB->isChecked() ? 0 : PageArea->currentPage(), -1, {}};
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
    PageArea->showRectangle(hit_.page, hit_.rect);
    PageArea->setHighlight(hit_.page, hit_.rect);
}

// A re-layout of the pages ends the search: F3 does nothing until Find is used again.
void TfrxPreviewForm::endSearch()
{
    searching_ = false;
    hit_ = from_ = FindHit{};
    PageArea->setHighlight(-1, QRectF());
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
    sideStack->setCurrentWidget(panel);
    sidePanel->setVisible(on);
    if (on && panel == Thumbnails)
        Thumbnails->setCurrentPage(PageArea->currentPage());
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
        PageArea->refresh();
        Thumbnails->refresh();
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
    PageArea->refresh();
    if (Thumbnails->isVisible())
        Thumbnails->refresh();
    updateState();
}

void TfrxPreviewForm::updateState()
{
    const bool idle = !preparing_ && report_.pageCount() > 0;
    for (QToolButton *b : {PrintB, OpenB, SaveB, FindB})
        b->setEnabled(idle);
    CancelB->setText(preparing_ ? QStringLiteral("Vazgeç") : QStringLiteral("Kapat"));
    const int page = report_.pageCount() ? PageArea->currentPage() + 1 : 0;
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
    case Qt::Key_Home: PageArea->setCurrentPage(0); return;
    case Qt::Key_End: PageArea->setCurrentPage(report_.pageCount() - 1); return;
    case Qt::Key_PageUp:
        if (ctrl)
            PageArea->setCurrentPage(PageArea->currentPage() - 1);
        return;
    case Qt::Key_PageDown:
        if (ctrl)
            PageArea->setCurrentPage(PageArea->currentPage() + 1);
        return;
    default: QDialog::keyPressEvent(event);
    }
}

}  // namespace reports
