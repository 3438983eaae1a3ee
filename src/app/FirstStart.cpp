#include "FirstStart.h"

#include <QDir>

#include "Dialogs.h"

namespace app {

void announceNewDatabase()
{
    const QString path = qEnvironmentVariable("KALPIYON_NEW_DATABASE");
    qunsetenv("KALPIYON_NEW_DATABASE");
    if (path.isEmpty())
        return;
    ui::messageDlg(QStringLiteral("Muayeneler için yeni, boş bir veritabanı oluşturuldu:\n%1\n\n"
                                  "Kayıtlar bu dosyada saklanır; yedeklemek için \"Ayarlar\" menüsündeki "
                                  "\"Veritabanını Yedekle\" komutunu kullanın.")
                       .arg(QDir::toNativeSeparators(QDir(path).absolutePath())),
                   ui::Kind::Information, ui::Ok);
}

}  // namespace app
