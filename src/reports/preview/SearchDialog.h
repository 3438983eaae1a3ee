#pragma once
// "Bul": the text to find and where to start.

#include <QCheckBox>
#include <QDialog>
#include <QLineEdit>
#include <QPushButton>

namespace reports {

class TfrxSearchDialog : public QDialog {
    Q_OBJECT
public:
    explicit TfrxSearchDialog(QWidget *parent = nullptr);
    QLineEdit *TextE;
    QCheckBox *TopCB, *CaseCB;  // "Baştan ara", "Büyük/küçük harf duyarlı"
    QPushButton *OkB, *CancelB;

    // The text searched last in this process; the options start unchecked every time.
    static QString &lastText();
};

}  // namespace reports
