#pragma once
// " Veritabanı Yedekleme Sihirbazı": copies the database (consistently, while it is open) and
// the settings file into a folder composed from a drive, a directory and a folder name.

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QFileSystemModel>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTreeView>
#include <functional>

#include "ui_UYedek.h"

class TFrmYedek : public QDialog, public Ui::FrmYedek {
    Q_OBJECT
public:
    explicit TFrmYedek(QWidget *parent = nullptr);


    // Where the settings file is; the main window knows.
    std::function<QString()> settingsFile;

    QString currentDirectory() const;
    void setCurrentDirectory(const QString &path);
    // The backup folder for directory `dir` and folder name `name`, with a trailing separator.
    static QString composeDestination(const QString &dir, const QString &name);

    void BitBtn1Click();
    void DriveComboBox1Change();

protected:
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    void copyOne(const QString &source, const QString &target, int pauseMs, bool database);
    void ensureDrivesAndTree();
    QFileSystemModel *model_ = nullptr;  // made on first use
    QString startDirectory_;             // the tree opens down to it
};

extern TFrmYedek *FrmYedek;
