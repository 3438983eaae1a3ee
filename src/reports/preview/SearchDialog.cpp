#include "SearchDialog.h"

#include "EngineWindow.h"

namespace reports {

QString &TfrxSearchDialog::lastText()
{
    static QString text;
    return text;
}

TfrxSearchDialog::TfrxSearchDialog(QWidget *parent) : QDialog(parent)
{
    setupUi(this);
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint);
    useEngineFont(this);
    TextE->setText(lastText());
    TextE->selectAll();
    connect(OkB, &QPushButton::clicked, this, [this] {
        lastText() = TextE->text();
        accept();
    });
    connect(CancelB, &QPushButton::clicked, this, &QDialog::reject);
    setFixedSize(sizeHint().expandedTo(QSize(280, 0)));
    centreOnScreen(this);
    TextE->setFocus();
}

}  // namespace reports
