#pragma once
// "Sabit Bilgiler": the seven header texts of the reports; the boxes are their live holders.

#include <QDialog>
#include <QLineEdit>
#include <QPushButton>

#include "ui_Unit2.h"

class TForm2 : public QDialog, public Ui::Form2 {
    Q_OBJECT
public:
    explicit TForm2(QWidget *parent = nullptr);
    QLineEdit *edit(int i) const;  // 1..7

signals:
    void closedWithProgramName(const QString &name);

protected:
    void done(int result) override;
};

extern TForm2 *Form2;
