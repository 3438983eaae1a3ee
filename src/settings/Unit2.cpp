#include "Unit2.h"

#include "Icons.h"

TForm2 *Form2 = nullptr;

TForm2::TForm2(QWidget *parent) : QDialog(parent, Qt::Tool)
{
    setupUi(this);
    BitBtn1->setIcon(kalpiyonIcon(IconId::Close));
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
