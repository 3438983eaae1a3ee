#include "Sil.h"

#include "Dataset.h"
#include "Dialogs.h"
#include "Icons.h"
#include "OtoYedek.h"

TForm3 *Form3 = nullptr;

TForm3::TForm3(QWidget *parent) : QDialog(parent, Qt::Tool)
{
    setupUi(this);  // BitBtn1 takes focus by click only (.ui): the Tab key skips it
    RzBitBtn1->setIcon(kalpiyonIcon(IconId::Delete));
    BitBtn1->setIcon(kalpiyonIcon(IconId::Ok));
    connect(RzBitBtn1, &QPushButton::clicked, this, &TForm3::RzBitBtn1Click);
    connect(BitBtn1, &QPushButton::clicked, this, &QDialog::accept);
}

void TForm3::RzBitBtn1Click()
{
    if (ui::messageDlg(QStringLiteral("Bu işlem verileri kalıcı olarak silecek. Emin misiniz ?"), ui::Kind::Warning,
                       ui::Yes | ui::No, this) != ui::Yes)
        return;
    dataset_->first();
    if (!maintenance::backupBeforeClearing(dataset_, this))  // the way back from a clearing
        return;
    Label2->setText(QStringLiteral("Kayıtlı veriler siliniyor..."));
    // An empty range would draw a busy bar; an empty table shows an empty one instead.
    ProgressBar1->setRange(0, qMax(dataset_->recordCount(), 1));
    ProgressBar1->setValue(0);
    Label2->repaint();
    // The bar moves as each batch of deletions is committed.
    dataset_->removeAll([this](int deleted) {
        ProgressBar1->setValue(deleted);
        ProgressBar1->repaint();
    });
    Label2->setText(QStringLiteral("Kayıtlar silindi..."));
}
