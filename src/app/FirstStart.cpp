#include "FirstStart.h"

#include <QDir>

#include "AutoBackup.h"
#include "Dialogs.h"

namespace app {

void announceNewDatabase()
{
    const QString path = qEnvironmentVariable("KALPIYON_NEW_DATABASE");
    qunsetenv("KALPIYON_NEW_DATABASE");
    if (path.isEmpty())
        return;
    const QString database = QDir(path).absolutePath();
    const QString backups = records::autobackup::backupFolders(database).primary;
    ui::messageDlg(QStringLiteral("Muayeneler için yeni, boş bir veritabanı oluşturuldu:\n%1\n\n"
                                  "Program her gün ilk kapanışta bu dosyanın bir kopyasını kendiliğinden şu klasöre "
                                  "yazar:\n%2\nKopyalar \"Ayarlar\" menüsündeki \"Yedekten Geri Yükle...\" ile geri "
                                  "yüklenir. Başka bir yere (bir USB belleğe) yedeklemek için aynı menüdeki "
                                  "\"Veritabanını Yedekle\" komutunu kullanın.")
                       .arg(QDir::toNativeSeparators(database), QDir::toNativeSeparators(backups)),
                   ui::Kind::Information, ui::Ok);
}

}  // namespace app
