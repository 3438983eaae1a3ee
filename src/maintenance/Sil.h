#pragma once
// "Veritabanı Temizle": deletes every record through the main window's dataset, after one
// confirmation, with a progress bar.

#include <QDialog>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

namespace records {
class Dataset;
}

class TForm3 : public QDialog {
    Q_OBJECT
public:
    explicit TForm3(QWidget *parent = nullptr);
    void setDataset(records::Dataset *dataset) { dataset_ = dataset; }

    QLabel *Label2;
    QProgressBar *ProgressBar1;
    QPushButton *RzBitBtn1, *BitBtn1;

    void RzBitBtn1Click();

private:
    records::Dataset *dataset_ = nullptr;
};

extern TForm3 *Form3;
