#pragma once
// "Seçenekler": the settings of `Secenekler` that used to need a text editor: the records'
// server, the DICOM receiver and the backup folders, each with a way to try it. "Tamam"
// checks the fields and writes what changed through the settings object; "İptal" writes
// nothing.

#include <QDialog>
#include <memory>

#include "Settings.h"

namespace Ui {
class OptionsWindow;
}
class QLabel;
class QLineEdit;
class QWidget;

class OptionsWindow : public QDialog {
    Q_OBJECT
public:
    // `dataPath`: the database the program works on; relative backup folders count from its
    // folder.
    explicit OptionsWindow(const QString &dataPath, QWidget *parent = nullptr);
    ~OptionsWindow() override;

    // The fields as settings, ready to save.
    settings::Settings fromFields() const;
    // The first field that cannot be saved, with a Turkish sentence why; no widget when all
    // can be.
    struct Problem {
        QString text;
        QWidget *field = nullptr;
    };
    Problem check() const;

    std::unique_ptr<Ui::OptionsWindow> ui;

private:
    void load();
    void TestServerBtnClick();
    void TestDicomBtnClick();
    void OKBtnClick();
    void chooseFolder(QLineEdit *edit);
    void showFolders();
    bool refuse(const Problem &problem);
    QString dataPath_;
    settings::Settings loaded_;
};
