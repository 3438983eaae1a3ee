#pragma once
// "Veritabanı Temizle": deletes every record through the main window's dataset, after one
// confirmation, with a progress bar.

#include <QDialog>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

#include "ui_Sil.h"

namespace records {
class Dataset;
}

class TForm3 : public QDialog, public Ui::Form3 {
    Q_OBJECT
public:
    explicit TForm3(QWidget *parent = nullptr);
    void setDataset(records::Dataset *dataset) { dataset_ = dataset; }


    void RzBitBtn1Click();

private:
    records::Dataset *dataset_ = nullptr;
};

extern TForm3 *Form3;
