#pragma once
// "Hakkında": program name and version, the maker's two web addresses, a short notice.

#include <QDialog>
#include <QLabel>

#include "ui_Hakkinda.h"

class TForm4 : public QDialog, public Ui::Form4 {
    Q_OBJECT
public:
    explicit TForm4(QWidget *parent = nullptr);
    static const QColor linkColor, hoverColor;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void openAddress(const QLabel *link);
};

extern TForm4 *Form4;
