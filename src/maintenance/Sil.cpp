#include "Sil.h"

#include <QFrame>

#include "Dataset.h"
#include "Dialogs.h"
#include "Icons.h"
#include "OtoYedek.h"

TForm3 *Form3 = nullptr;

TForm3::TForm3(QWidget *parent) : QDialog(parent, Qt::Tool)
{
    setObjectName(QStringLiteral("Form3"));
    setWindowTitle(QStringLiteral("Veritabanı Temizle"));
    resize(400, 250);
    auto *panel = new QFrame(this);
    panel->setObjectName(QStringLiteral("Panel1"));
    panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    panel->setGeometry(5, 5, 380, 169);
    Label2 = new QLabel(QStringLiteral("Veritabanı kayıtları silme ... (Tüm kayıtlar silinir)"), panel);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->setGeometry(32, 56, 330, 16);
    ProgressBar1 = new QProgressBar(panel);
    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    ProgressBar1->setGeometry(32, 72, 321, 17);
    ProgressBar1->setRange(0, 100);
    ProgressBar1->setValue(0);
    ProgressBar1->setTextVisible(false);
    RzBitBtn1 = new QPushButton(kalpiyonIcon(IconId::Delete), QStringLiteral("Veritabanı Kayıtlarını Temizle"), panel);
    RzBitBtn1->setObjectName(QStringLiteral("RzBitBtn1"));
    RzBitBtn1->setGeometry(96, 96, 177, 25);
    BitBtn1 = new QPushButton(kalpiyonIcon(IconId::Ok), QStringLiteral("Tamam"), this);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn1->setGeometry(304, 186, 75, 25);
    BitBtn1->setDefault(true);
    BitBtn1->setFocusPolicy(Qt::ClickFocus);  // skipped by the Tab key
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
