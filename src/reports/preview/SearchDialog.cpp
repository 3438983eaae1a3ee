#include "SearchDialog.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "EngineWindow.h"

namespace reports {

QString &TfrxSearchDialog::lastText()
{
    static QString text;
    return text;
}

TfrxSearchDialog::TfrxSearchDialog(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("TfrxSearchDialog"));
    setWindowTitle(QStringLiteral("Bul"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint);
    useEngineFont(this);
    auto *column = new QVBoxLayout(this);
    TextE = new QLineEdit(lastText(), this);
    TextE->setObjectName(QStringLiteral("TextE"));
    TextE->selectAll();
    auto *label = new QLabel(QStringLiteral("Aranacak kelime:"), this);
    label->setBuddy(TextE);
    auto *group = new QGroupBox(QStringLiteral("Arama seçenekleri"), this);
    auto *options = new QVBoxLayout(group);
    TopCB = new QCheckBox(QStringLiteral("Baştan ara"), group);
    CaseCB = new QCheckBox(QStringLiteral("Büyük/küçük harf duyarlı"), group);
    TopCB->setObjectName(QStringLiteral("TopCB"));
    CaseCB->setObjectName(QStringLiteral("CaseCB"));
    options->addWidget(TopCB);
    options->addWidget(CaseCB);
    OkB = new QPushButton(QStringLiteral("Tamam"), this);
    CancelB = new QPushButton(QStringLiteral("Vazgeç"), this);
    OkB->setObjectName(QStringLiteral("OkB"));
    CancelB->setObjectName(QStringLiteral("CancelB"));
    OkB->setDefault(true);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(OkB);
    buttons->addWidget(CancelB);
    column->addWidget(label);
    column->addWidget(TextE);
    column->addWidget(group);
    column->addLayout(buttons);
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
