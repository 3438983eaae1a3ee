#include "tamir.h"

TFrmTamir *FrmTamir = nullptr;

TFrmTamir::TFrmTamir(QWidget *parent) : QDialog(parent, Qt::Tool)
{
    setObjectName(QStringLiteral("FrmTamir"));
    setWindowTitle(QStringLiteral("Veritabanı Bakım ve Onarımı"));
}
