#pragma once
// "Genel Ayarlar": password protection on/off, password change, the two preferences. The
// class also carries the password store (win.ini) and the start-up password gate.

#include <QCheckBox>
#include <QDialog>
#include <QPushButton>
#include <QTabWidget>

#include "ui_Ayar.h"

class TAyarFrm : public QDialog, public Ui::AyarFrm {
    Q_OBJECT
public:
    explicit TAyarFrm(QWidget *parent = nullptr);
    ~TAyarFrm() override;


    // The password store.
    static QString winIniPath();
    bool ReadPassWdActive() const;
    void WritePassWdActive(bool value) const;
    QString ReadPassWd() const;
    void WritePassWd(const QString &value) const;
    // The gate: true when the user may pass.
    bool CheckPassWd(bool onlyIfActive);

    void LoadPassWdState();
    void SavePassWdState();
    // Writes whether the password is asked, once, when the program ends (the window itself
    // lives until then).
    void programEnding();

protected:
    void showEvent(QShowEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void SifreChkClick();
    void ChangePasswdBtnClick();
    void OKBtnClick();
    void CancelBtnClick();
    void setTickSilently(bool ticked);
    bool ending_ = false;
};

extern TAyarFrm *AyarFrm;
