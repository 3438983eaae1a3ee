#include "Sil.h"

TForm3 *Form3 = nullptr;

TForm3::TForm3(QWidget *parent) : QDialog(parent, Qt::Tool)
{
    setObjectName(QStringLiteral("Form3"));
    setWindowTitle(QStringLiteral("Veritabanı Temizle"));
}
