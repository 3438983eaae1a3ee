#pragma once
// "Sabit Bilgiler": the seven header texts of the reports; the boxes are their live holders.

#include <QDialog>
#include <QLineEdit>
#include <QPushButton>

class TForm2 : public QDialog {
    Q_OBJECT
public:
    explicit TForm2(QWidget *parent = nullptr);
    QLineEdit *Edit1, *Edit2, *Edit3, *Edit4, *Edit5, *Edit6, *Edit7;
    QPushButton *BitBtn1;  // "Kapat"
    QLineEdit *edit(int i) const;  // 1..7

signals:
    void closedWithProgramName(const QString &name);

protected:
    void done(int result) override;
};

extern TForm2 *Form2;
