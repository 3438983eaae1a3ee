#include "Maintenance.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <filesystem>
#include <sqlite3.h>

#include "Error.h"
#include "Schema.h"
#include "Store.h"

namespace records {

namespace {

QString schemaOf(Store &store)
{
    Statement st(store, QStringLiteral("SELECT group_concat(name || ' ' || type, ',') FROM pragma_table_info('veriler')"));
    st.step();
    return st.columnText(0);
}

qint64 verifyOpen(Store &store, const QString &path)
{
    Statement integrity(store, QStringLiteral("PRAGMA integrity_check"));
    while (integrity.step())
        if (integrity.columnText(0) != QLatin1String("ok"))
            throw Error(QStringLiteral("'%1' bozuk: %2").arg(path, integrity.columnText(0)));
    try {
        store.checkSchema();
    } catch (const Error &e) {
        throw Error(QStringLiteral("'%1' tablo yapısı hatalı: %2").arg(path, e.message()));
    }
    return store.recordCount();
}

void removeQuietly(const QString &path)
{
    QFile::remove(path);
}

}  // namespace

qint64 verifyDatabase(const QString &path)
{
    Store store(path);
    return verifyOpen(store, path);
}

void compactDatabase(const QString &source, const QString &target)
{
    if (QFileInfo::exists(target))
        throw Error(QStringLiteral("'%1' zaten var; önceki bir işlemden kalmış olabilir.").arg(target));
    Store from(source);
    const qint64 count = verifyOpen(from, source);
    const QString schema = schemaOf(from);
    Statement vacuum(from, QStringLiteral("VACUUM INTO ?1"));
    vacuum.bind(1, QFileInfo(target).absoluteFilePath());
    try {
        vacuum.step();
    } catch (const Error &e) {
        if (!QFileInfo::exists(target) || QFileInfo(target).size() == 0)
            removeQuietly(target);
        throw Error(QStringLiteral("'%1' sıkıştırılamadı: %2").arg(source, e.message()));
    }
    try {
        QFile::setPermissions(target, QFile::permissions(source));
        Store copy(target);
        const qint64 copied = verifyOpen(copy, target);
        if (copied != count)
            throw Error(QStringLiteral("'%1' %2 kayıt tutuyor, '%3' ise %4.").arg(target).arg(copied).arg(source).arg(count));
        if (schemaOf(copy) != schema)
            throw Error(QStringLiteral("'%1' tablo yapısı kaynaktan farklı.").arg(target));
    } catch (...) {
        removeQuietly(target);
        throw;
    }
}

void replaceDatabase(const QString &path, const QString &replacement)
{
    std::error_code ec;
    std::filesystem::rename(QFile::encodeName(replacement).toStdString(), QFile::encodeName(path).toStdString(), ec);
    if (ec)
        throw Error(QStringLiteral("'%1', '%2' yerine konamadı: %3")
                        .arg(replacement, path, QString::fromLocal8Bit(ec.message().c_str())));
}

void backupDatabase(const QString &source, const QString &target)
{
    const QString temp = target + QStringLiteral(".yedek-gecici");
    removeQuietly(temp);
    Store from(source);
    {
        QFile f(temp);
        if (!f.open(QIODevice::WriteOnly))
            throw Error(QStringLiteral("'%1' yazılamadı: %2").arg(target, f.errorString()));
        f.setPermissions(QFile::permissions(source));
    }
    try {
        {
            Store to(temp);
            sqlite3_backup *backup = sqlite3_backup_init(to.handle(), "main", from.handle(), "main");
            if (!backup)
                to.fail(QStringLiteral("'%1' yedeklenemedi").arg(source));
            int rc;
            do {
                rc = sqlite3_backup_step(backup, -1);
                if (rc == SQLITE_BUSY || rc == SQLITE_LOCKED)
                    sqlite3_sleep(50);
            } while (rc == SQLITE_OK || rc == SQLITE_BUSY || rc == SQLITE_LOCKED);
            sqlite3_backup_finish(backup);
            if (rc != SQLITE_DONE)
                to.fail(QStringLiteral("'%1' yedeklenemedi").arg(source));
            verifyOpen(to, target);
        }
        replaceDatabase(target, temp);
    } catch (const Error &e) {
        removeQuietly(temp);
        throw Error(e.message().contains(target) || e.message().contains(source)
                        ? e.message()
                        : QStringLiteral("'%1' yazılamadı: %2").arg(target, e.message()));
    }
}

void copyFileReplacing(const QString &source, const QString &target)
{
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly))
        throw Error(QStringLiteral("'%1' okunamadı: %2").arg(source, in.exists() ? in.errorString() : QStringLiteral("dosya yok")));
    QSaveFile out(target);
    if (!out.open(QIODevice::WriteOnly))
        throw Error(QStringLiteral("'%1' yazılamadı: %2").arg(target, out.errorString()));
    const QByteArray data = in.readAll();
    if (in.error() != QFile::NoError || out.write(data) != data.size() || !out.commit())
        throw Error(QStringLiteral("'%1' yazılamadı: %2").arg(target, out.errorString()));
}

}  // namespace records
