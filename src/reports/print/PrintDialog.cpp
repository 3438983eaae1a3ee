#include "PrintDialog.h"

#include <QFocusEvent>
#include <QPageSetupDialog>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QRegularExpressionValidator>

#include "Dialogs.h"
#include "EngineWindow.h"
#include "Error.h"
#include "Icons.h"

namespace reports {

namespace {
const QString kDefault = QStringLiteral("Öndeğer");

void drawSheetIcon(QPainter &p, const QRectF &r, const QString &number = QString())
{
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(Qt::white);
    p.drawRect(r);
    if (!number.isEmpty())
        p.drawText(r, Qt::AlignCenter, number);
}
}  // namespace

QPixmap collatePicture(bool collate)
{
    QPixmap pixmap(110, 40);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    QFont f = p.font();
    f.setPixelSize(9);
    p.setFont(f);
    // Stacks of fanned sheets, the number of each on the strip left of the next one:
    // 1-2-3 twice when collated, else 1-1, 2-2, 3-3.
    const QStringList stacks = collate ? QStringList{QStringLiteral("123"), QStringLiteral("123")}
                                       : QStringList{QStringLiteral("11"), QStringLiteral("22"), QStringLiteral("33")};
    const double stackWidth = 110.0 / stacks.size();
    for (int s = 0; s < stacks.size(); ++s)
        for (int i = 0; i < stacks[s].size(); ++i) {
            const QRectF sheet(s * stackWidth + 1.5 + i * 9, 1.5 + i * 4, 18, 26);
            drawSheetIcon(p, sheet);
            p.drawText(QRectF(sheet.left() + 1, sheet.top() + 2, 8, 10), Qt::AlignCenter, QString(stacks[s][i]));
        }
    return pixmap;
}

QIcon printModeIcon(PrintMode mode)
{
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    switch (mode) {
    case PrintMode::Default: drawSheetIcon(p, QRectF(3.5, 1.5, 9, 13)); break;
    case PrintMode::Split:
        drawSheetIcon(p, QRectF(0.5, 0.5, 15, 15));
        p.setPen(QPen(Qt::red, 1, Qt::DotLine));
        p.drawLine(QPointF(8, 0), QPointF(8, 16));
        break;
    case PrintMode::Merge:
        drawSheetIcon(p, QRectF(0.5, 0.5, 15, 15));
        for (int i = 0; i < 4; ++i)
            p.fillRect(QRectF(2 + (i % 2) * 7, 2 + (i / 2) * 7, 5, 5), QColor(32, 64, 128));
        break;
    case PrintMode::Scale:
        drawSheetIcon(p, QRectF(0.5, 0.5, 15, 15));
        p.fillRect(QRectF(4, 4, 8, 8), QColor(32, 64, 128));
        break;
    }
    return QIcon(pixmap);
}

TfrxPrintDialog::TfrxPrintDialog(const PrintOptions &o, QWidget *parent) : QDialog(parent)
{
    setupUi(this);
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint);
    useEngineFont(this);
    DescrL->setMinimumHeight(DescrL->fontMetrics().lineSpacing() * 3);  // three lines of the engine font
    CopiesE->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), CopiesE));
    fillLists();
    connectControls();
    centreOnScreen(this);

    // The options of this print.
    CopiesE->setText(QString::number(std::max(1, o.copies)));
    CollateCB->setChecked(o.collate);
    CollateImg->setPixmap(collatePicture(o.collate));
    PageNumbersE->setText(o.range);
    (o.range.isEmpty() ? AllRB : PageNumbersRB)->setChecked(true);
    PrintPagesCB->setCurrentIndex(int(o.parity));
    OrderCB->setCurrentIndex(o.reverse ? 1 : 0);
    DuplexCB->setCurrentIndex(int(o.duplex));
    ModeCB->setCurrentIndex(int(o.mode));
    fillPapers(o.mode == PrintMode::Default ? QString() : o.paper);
    modeChosen();
    OkB->setFocus();
}

// The printers, starting on the process's selected one, and the fixed choices.
void TfrxPrintDialog::fillLists()
{
    const QStringList printers = installedPrinters();
    for (const QString &name : printers)
        PrinterCB->addItem(kalpiyonIcon(IconId::Print), name);
    if (printers.isEmpty())
        PrinterCB->addItem(kalpiyonIcon(IconId::Print), QStringLiteral("Sanal"));
    PrinterCB->setCurrentIndex(std::max(0, int(printers.indexOf(selectedPrinter()))));
    WhereL->setText(QPrinterInfo::printerInfo(PrinterCB->currentText()).location());
    PrintPagesCB->addItems({QStringLiteral("Tüm sayfalar"), QStringLiteral("Tek sayfalar"), QStringLiteral("Çift sayfalar")});
    OrderCB->addItems({QStringLiteral("Doğrudan (1-9)"), QStringLiteral("Ters (9-1)")});
    DuplexCB->addItems({kDefault, QStringLiteral("Yatay"), QStringLiteral("Dikey"), QStringLiteral("Basit")});
    const QString modes[] = {kDefault, QStringLiteral("Büyük sayfaları böl"), QStringLiteral("Küçük sayfalara birleştir"),
                             QStringLiteral("Boyut")};
    for (int m = 0; m < 4; ++m)
        ModeCB->addItem(printModeIcon(PrintMode(m)), modes[m]);
}

void TfrxPrintDialog::connectControls()
{
    connect(PrinterCB, &QComboBox::currentIndexChanged, this, &TfrxPrintDialog::printerChosen);
    connect(PropButton, &QPushButton::clicked, this, [this] {
        // The printer's own settings, as its driver offers them through the plat
        QPrinter printer(QPrinter::HighResolution);
        printer.setPrinterName(PrinterCB->currentText());
        QPageSetupDialog dialog(&printer, this);
        ui::execDialog(dialog);
    });
    PageNumbersE->installEventFilter(this);  // entering the box selects "Sayfalar:"
    connect(PageNumbersRB, &QRadioButton::clicked, this, [this] { PageNumbersE->setFocus(); });
    connect(CopiesUpB, &QToolButton::clicked, this, [this] { stepCopies(1); });
    connect(CopiesDownB, &QToolButton::clicked, this, [this] { stepCopies(-1); });
    connect(CollateCB, &QCheckBox::toggled, this, [this](bool on) { CollateImg->setPixmap(collatePicture(on)); });
    connect(ModeCB, &QComboBox::activated, this, &TfrxPrintDialog::modeChosen);
    connect(OkB, &QPushButton::clicked, this, &QDialog::accept);
    connect(CancelB, &QPushButton::clicked, this, &QDialog::reject);
}

void TfrxPrintDialog::printerChosen()
{
    const QString name = PrinterCB->currentText();
    selectPrinter(name);  // the choice takes effect at once
    WhereL->setText(QPrinterInfo::printerInfo(name).location());
    fillPapers(PaperCB->currentText());
}

void TfrxPrintDialog::fillPapers(const QString &keep)
{
    PaperCB->clear();
    PaperCB->addItem(kDefault);
    PaperCB->addItems(paperNames(PrinterCB->currentText()));
    PaperCB->setCurrentIndex(std::max(0, PaperCB->findText(keep)));
}

void TfrxPrintDialog::modeChosen()
{
    const bool own = ModeCB->currentIndex() == 0;
    PaperCB->setEnabled(!own);
    if (own) {
        PaperCB->setCurrentIndex(0);
    } else if (PaperCB->currentIndex() == 0 && PaperCB->count() > 1) {
        const int a4 = PaperCB->findText(QStringLiteral("A4"));
        PaperCB->setCurrentIndex(a4 > 0 ? a4 : 1);
    }
}

void TfrxPrintDialog::stepCopies(int by)
{
    CopiesE->setText(QString::number(std::max(1, CopiesE->text().toInt() + by)));
}

bool TfrxPrintDialog::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == PageNumbersE && event->type() == QEvent::FocusIn)
        PageNumbersRB->setChecked(true);
    return QDialog::eventFilter(watched, event);
}

PrintOptions TfrxPrintDialog::chosenOptions(int currentPage) const
{
    PrintOptions o;
    bool ok = false;
    o.copies = CopiesE->text().toInt(&ok);
    if (!ok)
        throw Error(QStringLiteral("'%1' sayısal ifade girmediniz").arg(CopiesE->text()));
    o.collate = CollateCB->isChecked();
    if (CurPageRB->isChecked())
        o.range = QString::number(currentPage);
    else if (PageNumbersRB->isChecked())
        o.range = PageNumbersE->text();
    o.parity = PageParity(PrintPagesCB->currentIndex());
    o.reverse = OrderCB->currentIndex() == 1;
    o.duplex = DuplexChoice(DuplexCB->currentIndex());
    o.mode = PrintMode(ModeCB->currentIndex());
    if (o.mode != PrintMode::Default && PaperCB->currentIndex() > 0)
        o.paper = PaperCB->currentText();
    o.printer = PrinterCB->currentText();
    return o;
}

}  // namespace reports
