#include "Unit2.h"

#include <QFrame>
#include <QLabel>

#include "Icons.h"

TForm2 *Form2 = nullptr;

namespace {
struct Row {
    const char *label;
    const char *defaultText;
    bool narrow;  // rows 06 and 07: narrower boxes further right
};
const Row kRows[7] = {
    {"Program Adı :", "Kalpiyon Raporu", false},
    {"İşyeri Adı :", "İŞ YERİ ADRESİ GİRİN - Sabit Bilgiler", false},
    {"Adresi :", "Adres ve Tel. Girin. TEL:000 - 000 00 00", false},
    {"Rapor Başlığı :", "KALPİYON RAPORU", false},
    {"Liste Başlığı :", "KAYIT LİSTESİ", false},
    {"Doktor Adı :", "UZM.DR. DR ADI", true},
    {"Doktor Ünvanı:", "DR. UNVANI", true},
};
}  // namespace

TForm2::TForm2(QWidget *parent) : QDialog(parent, Qt::Tool)
{
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(QStringLiteral("Sabit Bilgiler"));
    setFixedSize(400, 274);
    auto *panel = new QFrame(this);
    panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    panel->setGeometry(5, 5, 390, 193);
    QLineEdit **boxes[7] = {&Edit1, &Edit2, &Edit3, &Edit4, &Edit5, &Edit6, &Edit7};
    for (int i = 0; i < 7; ++i) {
        const Row &r = kRows[i];
        const int boxX = r.narrow ? 184 : 96, width = r.narrow ? 201 : 289, y = 12 + 24 * i;
        auto *box = new QLineEdit(QString::fromUtf8(r.defaultText), panel);
        box->setObjectName(QStringLiteral("Edit%1").arg(i + 1));
        box->setGeometry(boxX, y, width, 21);
        auto *label = new QLabel(QString::fromUtf8(r.label), panel);
        label->setGeometry(0, y + 3, boxX - 4, 16);
        label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        label->setBuddy(box);
        *boxes[i] = box;
    }
    BitBtn1 = new QPushButton(kalpiyonIcon(IconId::Close), QStringLiteral("Kapat"), this);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn1->setGeometry(300, 210, 89, 25);
    connect(BitBtn1, &QPushButton::clicked, this, &QDialog::accept);
}

QLineEdit *TForm2::edit(int i) const
{
    QLineEdit *const boxes[7] = {Edit1, Edit2, Edit3, Edit4, Edit5, Edit6, Edit7};
    return boxes[i - 1];
}

void TForm2::done(int result)
{
    QDialog::done(result);
    // Whenever it closes, the main window's caption follows the program name.
    if (parentWidget())
        parentWidget()->setWindowTitle(Edit1->text());
    emit closedWithProgramName(Edit1->text());
}
