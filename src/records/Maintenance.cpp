#include "Maintenance.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <sqlite3.h>

#include "DurableFile.h"
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
        throw Error(QStringLiteral("'%1' tablo yapısı hatalı: %2").arg(path, e.message()), e.details());
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

Compaction::Compaction(const QString &source, const QString &target, int busyTimeoutMs) : source_(source), target_(target)
{
    const QFileInfo copyInfo(target);
    if (copyInfo.isSymLink())
        throw Error(QStringLiteral("'%1' bir sembolik bağ; izlenmez, üzerine yazılmaz. Kaldırın ya da başka bir yere taşıyın.")
                        .arg(target));
    if (copyInfo.exists())
        throw Error(QStringLiteral("'%1' zaten var; önceki bir işlemden kalmış olabilir.").arg(target));
    // Both connections are opened first: opening the file by other means afterwards (as a
    // store's Access check does) would drop the process's locks on it.
    hold_ = std::make_unique<Store>(source, busyTimeoutMs);
    Store from(source, busyTimeoutMs);
    // The hold: a write transaction that no other connection can join until it ends. It only
    // reserves the file, so the copy can still be read from it on the second connection.
    try {
        hold_->begin();
    } catch (const Error &e) {
        throw Error(QStringLiteral("'%1' kullanımda, sıkıştırılamadı: %2").arg(source, e.message()), e.details());
    }
    const qint64 count = verifyOpen(from, source);
    const QString schema = schemaOf(from);
    // Created here, owner-only and without following any link; VACUUM INTO fills an empty file.
    QString why;
    if (!durable::createNew(target, &why))
        throw Error(QStringLiteral("'%1' oluşturulamadı: %2").arg(target, why));
    try {
        Statement vacuum(from, QStringLiteral("VACUUM INTO ?1"));
        vacuum.bind(1, QFileInfo(target).absoluteFilePath());
        try {
            vacuum.step();
        } catch (const Error &e) {
            throw Error(QStringLiteral("'%1' sıkıştırılamadı: %2").arg(source, e.message()), e.details());
        }
        Store copy(target);
        const qint64 copied = verifyOpen(copy, target);
        if (copied != count)
            throw Error(QStringLiteral("'%1' %2 kayıt tutuyor, '%3' ise %4.").arg(target).arg(copied).arg(source).arg(count));
        if (schemaOf(copy) != schema)
            throw Error(QStringLiteral("'%1' tablo yapısı kaynaktan farklı.").arg(target));
    } catch (...) {
        removeQuietly(target);  // this run's own, unfinished copy (a full disk must not stay full)
        throw;
    }
    ownsCopy_ = true;
}

Compaction::~Compaction()
{
    if (hold_)
        hold_->rollback();
    hold_.reset();
    if (ownsCopy_)
        removeQuietly(target_);
}

void Compaction::replace()
{
    if (!hold_)
        throw Error(QStringLiteral("'%1' için sıkıştırma işlemi bitmiş.").arg(source_));
    if (!QFileInfo(target_).isFile() || QFileInfo(target_).isSymLink())
        throw Error(QStringLiteral("'%1' artık sıkıştırılmış kopya değil; '%2' değiştirilmedi.").arg(target_, source_));
    QFile::setPermissions(target_, QFile::permissions(source_));  // no wider and no narrower than before
    ownsCopy_ = false;  // from here on a failure keeps the verified copy
    replaceDatabase(source_, target_);
    hold_->rollback();
    hold_.reset();
}

void Compaction::release()
{
    ownsCopy_ = false;
    if (!hold_)
        return;
    hold_->rollback();
    hold_.reset();
}

void compactDatabase(const QString &source, const QString &target)
{
    Compaction(source, target).release();
}

void replaceDatabase(const QString &path, const QString &replacement)
{
    QString why;
    if (!durable::commitFile(replacement, path, &why))
        throw Error(QStringLiteral("'%1', '%2' yerine konamadı: %3").arg(replacement, path, why));
}

void backupDatabase(const QString &source, const QString &target)
{
    const QString temp = target + QStringLiteral(".yedek-gecici");
    removeQuietly(temp);
    Store from(source);
    QString why;
    if (!durable::createNew(temp, &why, QFile::permissions(source)))
        throw Error(QStringLiteral("'%1' yazılamadı: %2").arg(target, why));
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
                        : QStringLiteral("'%1' yazılamadı: %2").arg(target, e.message()),
                    e.details());
    }
}

void copyFileReplacing(const QString &source, const QString &target)
{
    QFile in(source);
    if (in.exists() && !QFileInfo(source).isFile())
        throw Error(QStringLiteral("'%1' okunamadı: sıradan bir dosya değil").arg(source));
    if (!in.open(QIODevice::ReadOnly))
        throw Error(QStringLiteral("'%1' okunamadı: %2").arg(source, in.exists() ? in.errorString() : QStringLiteral("dosya yok")));
    const QByteArray data = in.readAll();
    if (in.error() != QFile::NoError)
        throw Error(QStringLiteral("'%1' okunamadı: %2").arg(source, in.errorString()));
    QString why;
    if (!durable::writeFile(target, data, &why))
        throw Error(QStringLiteral("'%1' yazılamadı: %2").arg(target, why));
}

namespace {
// The database layer's refusals (kept in English where the main window must show them as
// they are) and what they mean to a practice.
struct Refusal {
    const char *pattern;
    const char *turkish;
};
constexpr Refusal kRefusals[] = {
    {"^Unrecognized database format", "Dosya bir Kalpiyon veritabanı değil ya da bozuk."},
    {"^Could not find file", "Dosya bulunamadı."},
    {"file already in use", "Dosya başka bir program tarafından kullanılıyor; o programı kapatıp yeniden deneyin."},
    {"is a Microsoft Access database", "Dosya eski programın Access veritabanı; önce dönüştürülmesi gerekir."},
    {"^Cannot find the input table", "Dosyada muayene kayıtlarının tablosu yok."},
    {"^Field '.*' not found", "Dosyadaki kayıt tablosunun biçimi farklı: bir alan eksik."},
    {"^Type mismatch for field", "Dosyadaki kayıt tablosunun biçimi farklı: bir alanın türü başka."},
    {"^Cannot open", "Dosya açılamadı; okuma izni olduğundan emin olun."},
};
}  // namespace

QString openRefusalInTurkish(const QString &message)
{
    for (const Refusal &r : kRefusals)
        if (QRegularExpression(QLatin1String(r.pattern)).match(message).hasMatch())
            return QString::fromUtf8(r.turkish);
    return QString();
}

qint64 verifyBackupFile(const QString &path)
{
    try {
        return verifyDatabase(path);
    } catch (const Error &e) {
        const QString turkish = openRefusalInTurkish(e.message());
        if (turkish.isEmpty())
            throw;
        throw Error(turkish, e.message());
    }
}

}  // namespace records
