#pragma once
// "Yedekten Geri Yükle": lists the automatic backups of the backup folders (and any file the
// user picks) with date, record count and size, checks the chosen one, keeps the current
// database under a dated name, puts the backup in its place and restarts the program the way
// the repair window does. Opened from the end of the "Ayarlar" menu.

#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>

#include "ui_GeriYukle.h"

namespace records {
class Dataset;
}

class TFrmGeriYukle : public QDialog, public Ui::FrmGeriYukle {
    Q_OBJECT
public:
    // `dataset` is the main window's: it lets go of the file before the replacement.
    TFrmGeriYukle(records::Dataset *dataset, QWidget *parent = nullptr);


    void refresh();
    void BtnDosyaClick();
    void BtnGeriYukleClick();

private:
    void addRow(const QString &path, const QString &where);
    QString chosenPath() const;
    bool restore(const QString &path);

    records::Dataset *dataset_;
    QStringList chosenFiles_;
};

// The menu command: the window, modal, created for one showing.
void showRestoreWindow(records::Dataset *dataset, QWidget *parent);
