#include "Preview.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QStatusBar>
#include <QTimer>
#include <QVBoxLayout>

#include "Dialogs.h"
#include "Error.h"
#include "Icons.h"
#include "Printing.h"
#include "PreparedReportFile.h"

#include <QDir>
#include <QFileInfo>

namespace reports {

namespace {
QToolButton *tool(QWidget *parent, const QString &name, const QString &tip, IconId icon)
{
    auto *b = new QToolButton(parent);
    b->setObjectName(name);
    b->setToolTip(tip);
    b->setAccessibleName(tip);
    b->setIcon(kalpiyonIcon(icon));
    b->setAutoRaise(true);
    return b;
}
}  // namespace

TfrxPreviewForm::TfrxPreviewForm(PreparedReport &report, bool navigator, std::function<void()> prepare, QWidget *parent)
    : QDialog(parent), report_(report), prepare_(std::move(prepare))
{
    setObjectName(QStringLiteral("TfrxPreviewForm"));
    setWindowTitle(QStringLiteral("Önizleme"));
    setWindowState(Qt::WindowMaximized);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    auto *bar = new QWidget(this);
    auto *row = new QHBoxLayout(bar);
    row->setContentsMargins(4, 2, 4, 2);
    PrintB = tool(bar, QStringLiteral("PrintB"), QStringLiteral("Yazdır"), IconId::Print);
    OpenB = tool(bar, QStringLiteral("OpenB"), QStringLiteral("Aç"), IconId::Open);
    SaveB = tool(bar, QStringLiteral("SaveB"), QStringLiteral("Kaydet"), IconId::Save);
    ZoomPlusB = tool(bar, QStringLiteral("ZoomPlusB"), QStringLiteral("Yakşaş"), IconId::Next);
    ZoomCB = new QComboBox(bar);
    ZoomCB->setObjectName(QStringLiteral("ZoomCB"));
    ZoomCB->setToolTip(QStringLiteral("Yakınlaştır"));
    ZoomCB->setEditable(true);
    ZoomCB->addItems({QStringLiteral("25%"), QStringLiteral("50%"), QStringLiteral("75%"), QStringLiteral("100%"),
                      QStringLiteral("150%"), QStringLiteral("200%"), QStringLiteral("Sayfa genişliği"), QStringLiteral("Tüm sayfa")});
    ZoomMinusB = tool(bar, QStringLiteral("ZoomMinusB"), QStringLiteral("Uzaklaş"), IconId::Prior);
    row->addWidget(PrintB);
    row->addWidget(OpenB);
    row->addWidget(SaveB);
    row->addSpacing(8);
    row->addWidget(ZoomPlusB);
    row->addWidget(ZoomCB);
    row->addWidget(ZoomMinusB);
    FirstB = tool(bar, QStringLiteral("FirstB"), QStringLiteral("İlk Sayfa"), IconId::First);
    PriorB = tool(bar, QStringLiteral("PriorB"), QStringLiteral("Önceki Sayfa"), IconId::Prior);
    PageE = new QLineEdit(bar);
    PageE->setObjectName(QStringLiteral("PageE"));
    PageE->setToolTip(QStringLiteral("Sayfa Numarası"));
    PageE->setFixedWidth(48);
    NextB = tool(bar, QStringLiteral("NextB"), QStringLiteral("Sonraki Sayfa"), IconId::Next);
    LastB = tool(bar, QStringLiteral("LastB"), QStringLiteral("Son Sayfa"), IconId::Last);
    row->addSpacing(8);
    for (QWidget *w : {static_cast<QWidget *>(FirstB), static_cast<QWidget *>(PriorB), static_cast<QWidget *>(PageE),
                       static_cast<QWidget *>(NextB), static_cast<QWidget *>(LastB)}) {
        row->addWidget(w);
        w->setVisible(navigator);
    }
    row->addSpacing(35);
    CancelB = new QToolButton(bar);
    CancelB->setObjectName(QStringLiteral("CancelB"));
    CancelB->setText(QStringLiteral("Kapat"));
    CancelB->setFixedWidth(68);
    row->addWidget(CancelB);
    row->addStretch(1);
    layout->addWidget(bar);
    area_ = new PageArea(this);
    area_->setReport(&report_);
    layout->addWidget(area_, 1);
    auto *statusBar = new QStatusBar(this);
    statusBar->setSizeGripEnabled(false);
    status = new QLabel(statusBar);
    status->setFixedWidth(200);
    statusBar->addWidget(status);
    layout->addWidget(statusBar);

    connect(PrintB, &QToolButton::clicked, this, [this] { PrintPrepared(report_, this, area_->currentPage() + 1); });
    connect(OpenB, &QToolButton::clicked, this, &TfrxPreviewForm::OpenBClick);
    connect(SaveB, &QToolButton::clicked, this, &TfrxPreviewForm::SaveBClick);
    connect(ZoomPlusB, &QToolButton::clicked, this, [this] { area_->setZoom(area_->zoom() + 0.25); updateState(); });
    connect(ZoomMinusB, &QToolButton::clicked, this, [this] { area_->setZoom(area_->zoom() - 0.25); updateState(); });
    connect(ZoomCB, &QComboBox::textActivated, this, [this] { applyZoomText(); });
    connect(FirstB, &QToolButton::clicked, this, [this] { area_->setCurrentPage(0); });
    connect(PriorB, &QToolButton::clicked, this, [this] { area_->setCurrentPage(area_->currentPage() - 1); });
    connect(NextB, &QToolButton::clicked, this, [this] { area_->setCurrentPage(area_->currentPage() + 1); });
    connect(LastB, &QToolButton::clicked, this, [this] { area_->setCurrentPage(report_.pageCount() - 1); });
    connect(PageE, &QLineEdit::returnPressed, this, [this] {
        bool ok = false;
        const int page = PageE->text().trimmed().toInt(&ok);
        if (!ok)
            throw Error(QStringLiteral("'%1' sayısal ifade girmediniz").arg(PageE->text()));
        area_->setCurrentPage(page - 1);
    });
    connect(CancelB, &QToolButton::clicked, this, [this] {
        if (preparing_)
            stop_ = true;
        else
            accept();
    });
    connect(area_, &PageArea::currentPageChanged, this, [this] { updateState(); });
    QTimer::singleShot(50, this, &TfrxPreviewForm::startPreparation);
    updateState();
}

void TfrxPreviewForm::applyZoomText()
{
    const QString text = ZoomCB->currentText();
    const QSizeF sheet = report_.tmpl ? sheetSize(*report_.tmpl) : QSizeF(794, 1123);
    if (text == QLatin1String("Sayfa genişliği")) {
        area_->setZoom((area_->viewport()->width() - 26) / sheet.width());
    } else if (text == QLatin1String("Tüm sayfa")) {
        area_->setZoom((area_->viewport()->height() - 26) / sheet.height());
    } else {
        QString t = text;
        t.replace(t.indexOf(QLatin1Char('%')), t.contains(QLatin1Char('%')) ? 1 : 0, QLatin1Char(' '));
        t.remove(QLatin1Char(' ')).replace(QLatin1Char(','), QLatin1Char('.'));
        bool ok = false;
        const double percent = t.toDouble(&ok);
        if (!ok)
            throw Error(QStringLiteral("'%1' is not a valid floating point value").arg(text));
        area_->setZoom(percent / 100.0);
    }
    updateState();
}

namespace {
const QString kFilter = QStringLiteral("Rapor Hazırlandı (*.fp3)");
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
    try {
        savePreparedReportFile(report_, path);
    } catch (...) {
        showPanel(QString());
        throw;
    }
    showPanel(QString());
}

void TfrxPreviewForm::OpenBClick()
{
    const QString path = ui::getOpenFileName(this, QStringLiteral("Aç"), QString(), kFilter);
    if (path.isEmpty() || !QFileInfo::exists(path))
        return;
    showPanel(QStringLiteral("Dosya yükleniyor..."));
    try {
        loadPreparedReportFile(path, *report_.tmpl, report_);
    } catch (...) {
        showPanel(QString());
        throw;
    }
    showPanel(QString());
    setWindowTitle(QStringLiteral("Önizleme"));
    area_->setReport(&report_);
    area_->setCurrentPage(0);
    updateState();
}

void TfrxPreviewForm::startPreparation()
{
    preparing_ = true;
    stop_ = false;
    updateState();
    try {
        prepare_();
    } catch (...) {
        preparing_ = false;
        updateState();
        throw;
    }
    preparing_ = false;
    area_->refresh();
    updateState();
}

void TfrxPreviewForm::pageArrived()
{
    area_->refresh();
    updateState();
}

void TfrxPreviewForm::updateState()
{
    const bool idle = !preparing_ && report_.pageCount() > 0;
    PrintB->setEnabled(idle);
    OpenB->setEnabled(idle);
    SaveB->setEnabled(idle);
    CancelB->setText(preparing_ ? QStringLiteral("Vazgeç") : QStringLiteral("Kapat"));
    const int page = report_.pageCount() ? area_->currentPage() + 1 : 0;
    status->setText(QStringLiteral("Sayfa %1 / %2").arg(page).arg(report_.pageCount()));
    PageE->setText(QString::number(page));
    if (!ZoomCB->lineEdit()->hasFocus())
        ZoomCB->setEditText(QStringLiteral("%1%").arg(qRound(area_->zoom() * 100)));
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

void TfrxPreviewForm::keyPressEvent(QKeyEvent *event)
{
    const bool ctrl = event->modifiers() & Qt::ControlModifier;
    switch (event->key()) {
    case Qt::Key_Home: area_->setCurrentPage(0); return;
    case Qt::Key_End: area_->setCurrentPage(report_.pageCount() - 1); return;
    case Qt::Key_PageUp:
        if (ctrl) area_->setCurrentPage(area_->currentPage() - 1);
        return;
    case Qt::Key_PageDown:
        if (ctrl) area_->setCurrentPage(area_->currentPage() + 1);
        return;
    case Qt::Key_P:
        if (ctrl && PrintB->isEnabled()) PrintB->click();
        return;
    default:
        QDialog::keyPressEvent(event);
    }
}

}  // namespace reports
