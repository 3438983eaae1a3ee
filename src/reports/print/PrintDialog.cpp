#include "PrintDialog.h"

#include <QFocusEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPageSetupDialog>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

#include "Dialogs.h"
#include "EngineWindow.h"
#include "Error.h"
#include "Icons.h"

namespace reports {

namespace {
const QString kDefault = QStringLiteral("Öndeğer");

// Group boxes are laid out tightly: the dialog keeps its fixed size.
QGridLayout *groupGrid(QGroupBox *group)
{
    auto *g = new QGridLayout(group);
    g->setContentsMargins(8, 4, 8, 6);
    g->setVerticalSpacing(3);
    return g;
}

QComboBox *list(QWidget *parent, const QString &name, const QStringList &items)
{
    auto *box = new QComboBox(parent);
    box->setObjectName(name);
    box->addItems(items);
    return box;
}

QLabel *label(const QString &text, QWidget *buddy, QWidget *parent)
{
    auto *l = new QLabel(text, parent);
    l->setBuddy(buddy);
    return l;
}

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
    setObjectName(QStringLiteral("TfrxPrintDialog"));
    setWindowTitle(QStringLiteral("Yazdır"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint);
    useEngineFont(this);
    auto *grid = new QGridLayout(this);
    grid->setContentsMargins(8, 6, 8, 8);
    grid->setSpacing(6);
    grid->addWidget(printerGroup(), 0, 0, 1, 2);
    grid->addWidget(rangeGroup(), 1, 0);
    grid->addWidget(copiesGroup(), 1, 1);
    grid->addWidget(otherGroup(), 2, 0, 2, 1);
    grid->addWidget(modeGroup(), 2, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    OkB = new QPushButton(QStringLiteral("Tamam"), this);
    OkB->setObjectName(QStringLiteral("OkB"));
    OkB->setDefault(true);
    CancelB = new QPushButton(QStringLiteral("Vazgeç"), this);
    CancelB->setObjectName(QStringLiteral("CancelB"));
    buttons->addWidget(OkB);
    buttons->addWidget(CancelB);
    grid->addLayout(buttons, 3, 1, Qt::AlignBottom);
    grid->setRowStretch(1, 1);  // the page range's help text takes what room is left
    grid->setColumnMinimumWidth(0, 300);  // room for the help text in two lines
    connect(OkB, &QPushButton::clicked, this, &QDialog::accept);
    connect(CancelB, &QPushButton::clicked, this, &QDialog::reject);
    setFixedSize(557, 334);
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

QWidget *TfrxPrintDialog::printerGroup()
{
    auto *group = new QGroupBox(QStringLiteral("Yazıcı"), this);
    auto *g = groupGrid(group);
    PrinterCB = new QComboBox(group);
    PrinterCB->setObjectName(QStringLiteral("PrinterCB"));
    const QStringList printers = installedPrinters();
    for (const QString &name : printers)
        PrinterCB->addItem(kalpiyonIcon(IconId::Print), name);
    if (printers.isEmpty())
        PrinterCB->addItem(kalpiyonIcon(IconId::Print), QStringLiteral("Sanal"));
    PrinterCB->setCurrentIndex(std::max(0, int(printers.indexOf(selectedPrinter()))));
    PropButton = new QPushButton(QStringLiteral("Özellikler..."), group);
    PropButton->setObjectName(QStringLiteral("PropButton"));
    WhereL = new QLabel(group);
    WhereL->setObjectName(QStringLiteral("WhereL"));
    FileCB = new QCheckBox(QStringLiteral("Dosyaya yazdır"), group);
    FileCB->setObjectName(QStringLiteral("FileCB"));
    g->addWidget(label(QStringLiteral("Adı:"), PrinterCB, group), 0, 0);
    g->addWidget(PrinterCB, 0, 1);
    g->addWidget(PropButton, 0, 2);
    g->addWidget(new QLabel(QStringLiteral("Konum:"), group), 1, 0);
    g->addWidget(WhereL, 1, 1);
    g->addWidget(FileCB, 1, 2);
    g->setColumnStretch(1, 1);
    connect(PrinterCB, &QComboBox::currentIndexChanged, this, &TfrxPrintDialog::printerChosen);
    connect(PropButton, &QPushButton::clicked, this, [this] {
        // The printer's own settings, as its driver offers them through the platform.
        QPrinter printer(QPrinter::HighResolution);
        printer.setPrinterName(PrinterCB->currentText());
        QPageSetupDialog dialog(&printer, this);
        ui::execDialog(dialog);
    });
    WhereL->setText(QPrinterInfo::printerInfo(PrinterCB->currentText()).location());
    return group;
}

QWidget *TfrxPrintDialog::rangeGroup()
{
    auto *group = new QGroupBox(QStringLiteral("Sayfa Aralığı"), this);
    auto *g = groupGrid(group);
    AllRB = new QRadioButton(QStringLiteral("Tümü"), group);
    CurPageRB = new QRadioButton(QStringLiteral("Geçerli sayfa"), group);
    PageNumbersRB = new QRadioButton(QStringLiteral("Sayfalar:"), group);
    PageNumbersE = new QLineEdit(group);
    DescrL = new QLabel(QStringLiteral("Sayfa numaralarını ve/veya sayfa aralıklarını virgülle ayırarak girin. Örn. 1,3,5-12"), group);
    AllRB->setObjectName(QStringLiteral("AllRB"));
    CurPageRB->setObjectName(QStringLiteral("CurPageRB"));
    PageNumbersRB->setObjectName(QStringLiteral("PageNumbersRB"));
    PageNumbersE->setObjectName(QStringLiteral("PageNumbersE"));
    PageNumbersE->setAccessibleName(QStringLiteral("Sayfalar:"));
    DescrL->setObjectName(QStringLiteral("DescrL"));
    DescrL->setWordWrap(true);
    DescrL->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    DescrL->setMinimumHeight(DescrL->fontMetrics().lineSpacing() * 3);
    g->addWidget(AllRB, 0, 0, 1, 2);
    g->addWidget(CurPageRB, 1, 0, 1, 2);
    g->addWidget(PageNumbersRB, 2, 0);
    g->addWidget(PageNumbersE, 2, 1);
    g->addWidget(DescrL, 3, 0, 1, 2);
    g->setColumnStretch(1, 1);
    PageNumbersE->installEventFilter(this);  // entering the box selects "Sayfalar:"
    connect(PageNumbersRB, &QRadioButton::clicked, this, [this] { PageNumbersE->setFocus(); });
    return group;
}

QWidget *TfrxPrintDialog::copiesGroup()
{
    auto *group = new QGroupBox(QStringLiteral("Kopya sayısı"), this);
    auto *g = groupGrid(group);
    CopiesE = new QLineEdit(group);
    CopiesE->setObjectName(QStringLiteral("CopiesE"));
    CopiesE->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), CopiesE));
    CopiesE->setFixedWidth(48);
    CopiesUpB = new QToolButton(group);
    CopiesDownB = new QToolButton(group);
    CopiesUpB->setArrowType(Qt::UpArrow);
    CopiesDownB->setArrowType(Qt::DownArrow);
    for (QToolButton *b : {CopiesUpB, CopiesDownB}) {
        b->setFixedSize(16, 11);
        b->setAutoRepeat(true);
    }
    auto *arrows = new QVBoxLayout;
    arrows->setSpacing(0);
    arrows->addWidget(CopiesUpB);
    arrows->addWidget(CopiesDownB);
    CollateCB = new QCheckBox(QStringLiteral("Harmanla"), group);
    CollateCB->setObjectName(QStringLiteral("CollateCB"));
    CollateImg = new QLabel(group);
    CollateImg->setObjectName(QStringLiteral("CollateImg"));
    auto *number = new QHBoxLayout;
    number->setSpacing(0);
    number->addWidget(CopiesE);
    number->addLayout(arrows);
    number->addStretch(1);
    g->addWidget(label(QStringLiteral("Kopya Sayısı"), CopiesE, group), 0, 0);
    g->addLayout(number, 0, 1);
    g->addWidget(CollateCB, 1, 0);
    g->addWidget(CollateImg, 1, 1, Qt::AlignLeft);
    connect(CopiesUpB, &QToolButton::clicked, this, [this] { stepCopies(1); });
    connect(CopiesDownB, &QToolButton::clicked, this, [this] { stepCopies(-1); });
    connect(CollateCB, &QCheckBox::toggled, this, [this](bool on) { CollateImg->setPixmap(collatePicture(on)); });
    return group;
}

QWidget *TfrxPrintDialog::otherGroup()
{
    auto *group = new QGroupBox(QStringLiteral("Diğer"), this);
    auto *g = groupGrid(group);
    PrintPagesCB = list(group, QStringLiteral("PrintPagesCB"),
                        {QStringLiteral("Tüm sayfalar"), QStringLiteral("Tek sayfalar"), QStringLiteral("Çift sayfalar")});
    OrderCB = list(group, QStringLiteral("OrderCB"), {QStringLiteral("Doğrudan (1-9)"), QStringLiteral("Ters (9-1)")});
    DuplexCB = list(group, QStringLiteral("DuplexCB"),
                    {kDefault, QStringLiteral("Yatay"), QStringLiteral("Dikey"), QStringLiteral("Basit")});
    g->addWidget(label(QStringLiteral("Yazdır"), PrintPagesCB, group), 0, 0);
    g->addWidget(PrintPagesCB, 0, 1);
    g->addWidget(label(QStringLiteral("Sipariş"), OrderCB, group), 1, 0);
    g->addWidget(OrderCB, 1, 1);
    g->addWidget(label(QStringLiteral("Çifthat"), DuplexCB, group), 2, 0);
    g->addWidget(DuplexCB, 2, 1);
    g->setColumnStretch(1, 1);
    return group;
}

QWidget *TfrxPrintDialog::modeGroup()
{
    auto *group = new QGroupBox(QStringLiteral("Baskı modu"), this);
    auto *g = groupGrid(group);
    ModeCB = new QComboBox(group);
    ModeCB->setObjectName(QStringLiteral("ModeCB"));
    const QString names[] = {kDefault, QStringLiteral("Büyük sayfaları böl"), QStringLiteral("Küçük sayfalara birleştir"),
                             QStringLiteral("Boyut")};
    for (int m = 0; m < 4; ++m)
        ModeCB->addItem(printModeIcon(PrintMode(m)), names[m]);
    PaperCB = list(group, QStringLiteral("PaperCB"), {});
    g->addWidget(ModeCB, 0, 0, 1, 2);
    g->addWidget(label(QStringLiteral("Sayfaya yazdır"), PaperCB, group), 1, 0);
    g->addWidget(PaperCB, 1, 1);
    g->setColumnStretch(1, 1);
    connect(ModeCB, &QComboBox::activated, this, &TfrxPrintDialog::modeChosen);
    return group;
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
