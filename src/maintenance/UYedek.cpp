#include "UYedek.h"

TFrmYedek *FrmYedek = nullptr;

TFrmYedek::TFrmYedek(QWidget *parent) : QDialog(parent, Qt::Tool)
{
    setObjectName(QStringLiteral("FrmYedek"));
    setWindowTitle(QStringLiteral(" Veritabanı Yedekleme Sihirbazı"));
}
