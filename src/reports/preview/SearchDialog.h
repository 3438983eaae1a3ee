#pragma once
// "Bul": the text to find and where to start.

#include <QCheckBox>
#include <QDialog>
#include <QLineEdit>
#include <QPushButton>

#include "ui_SearchDialog.h"

namespace reports {

class TfrxSearchDialog : public QDialog, public Ui::TfrxSearchDialog {
    Q_OBJECT
public:
    explicit TfrxSearchDialog(QWidget *parent = nullptr);

    // The text searched last in this process; the options start unchecked every time.
    static QString &lastText();
};

}  // namespace reports
