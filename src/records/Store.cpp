#include "Store.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QThread>
#include <optional>
#include <sqlite3.h>

#include "Error.h"
#include "Schema.h"

namespace records {

namespace {

QString sqliteMessage(sqlite3 *db)
{
    if (!db)
        return QStringLiteral("out of memory");
    // The file was renamed over (compacted or restored by another process) while this
    // connection had it open: writing on would go into the old, unnamed file and be lost.
    if (sqlite3_extended_errcode(db) == SQLITE_READONLY_DBMOVED)
        return QStringLiteral("Veritabanı dosyası bu program açıkken başka bir işlem tarafından yenisiyle değiştirildi "
                              "(sıkıştırma ya da geri yükleme); kayıt yazılmadı. Programı yeniden başlatın.");
    return QString::fromUtf8(sqlite3_errmsg(db));
}

QString nativePath(const QString &path)
{
    return QFileInfo(path).absoluteFilePath();
}

// Declared column type -> the type name the field list reports in a mismatch.
QString typeNameOf(const QString &declared)
{
    const QString t = declared.toUpper();
    if (t.contains(QLatin1String("CHAR")) || t.contains(QLatin1String("TEXT")) || t.contains(QLatin1String("CLOB")))
        return QStringLiteral("WideString");
    if (t.contains(QLatin1String("DATE")) || t.contains(QLatin1String("TIME")))
        return QStringLiteral("DateTime");
    if (t.contains(QLatin1String("INT")))
        return QStringLiteral("Integer");
    if (t.contains(QLatin1String("REAL")) || t.contains(QLatin1String("FLOA")) || t.contains(QLatin1String("DOUB")))
        return QStringLiteral("Float");
    if (t.isEmpty() || t.contains(QLatin1String("BLOB")))
        return QStringLiteral("Blob");
    return QStringLiteral("BCD");
}

QString expectedTypeName(const FieldDef &f)
{
    return f.type == FieldType::DateTime ? QStringLiteral("DateTime") : QStringLiteral("WideString");
}

}  // namespace

Store::Store(const QString &path, int busyTimeoutMs) : path_(path)
{
    const QString abs = nativePath(path);
    const QFileInfo info(path);
    if (!info.exists())
        throw Error(QStringLiteral("Could not find file '%1'.").arg(abs));
    // A FIFO or a device would block the first read forever.
    if (!info.isFile())
        throw Error(QStringLiteral("'%1' bir veritabanı dosyası değil: sıradan bir dosya değil (klasör, FIFO ya da aygıt).").arg(abs));
    if (isAccessDatabase(path))
        throw Error(QStringLiteral("'%1' is a Microsoft Access database; it must be converted before use.").arg(abs));
    const int rc = sqlite3_open_v2(QFile::encodeName(path).constData(), &db_, SQLITE_OPEN_READWRITE, nullptr);
    if (rc != SQLITE_OK) {
        const QString msg = sqliteMessage(db_);
        sqlite3_close(db_);
        db_ = nullptr;
        throw Error(QStringLiteral("Cannot open '%1': %2").arg(abs, msg));
    }
    sqlite3_extended_result_codes(db_, 1);
    sqlite3_busy_timeout(db_, busyTimeoutMs);
    try {
        // Reading the schema is the first access: a non-database or a locked file fails here.
        // SQLite answers busy at once, without its busy handler, where waiting could deadlock
        // (a hot journal being rolled back by another connection, a writer's commit): a desk
        // that opens while another writes record after record retries for the busy timeout.
        QElapsedTimer since;
        since.start();
        for (;;) {
            try {
                exec(QStringLiteral("PRAGMA journal_mode=DELETE"));
                break;
            } catch (const Error &) {
                const int code = sqlite3_errcode(db_) & 0xff;
                if ((code != SQLITE_BUSY && code != SQLITE_LOCKED) || since.elapsed() >= busyTimeoutMs)
                    throw;
                QThread::msleep(10);
            }
        }
        // EXTRA also flushes the folder once the rollback journal is deleted, so a committed
        // save cannot be rolled back by a power cut.
        exec(QStringLiteral("PRAGMA synchronous=EXTRA"));
    } catch (const Error &) {
        const int code = sqlite3_errcode(db_) & 0xff;
        const QString msg = sqliteMessage(db_);
        sqlite3_close(db_);
        db_ = nullptr;
        if (code == SQLITE_NOTADB)
            throw Error(QStringLiteral("Unrecognized database format '%1'.").arg(abs));
        if (code == SQLITE_BUSY || code == SQLITE_LOCKED)
            throw Error(QStringLiteral("Could not use '%1'; file already in use.").arg(abs));
        throw Error(QStringLiteral("Cannot open '%1': %2").arg(abs, msg));
    }
}

Store::~Store()
{
    insert_.reset();
    sqlite3_close_v2(db_);
}

void Store::create(const QString &path, bool overwrite)
{
    if (QFileInfo::exists(path)) {
        if (!overwrite)
            throw Error(QStringLiteral("'%1' zaten var; üzerine yazmak için --force verin.").arg(path));
        if (!QFile::remove(path))
            throw Error(QStringLiteral("'%1' silinemedi.").arg(path));
    }
    if (!QFileInfo(QFileInfo(path).absolutePath()).isDir())
        throw Error(QStringLiteral("'%1' oluşturulamadı: klasör yok.").arg(path));
    {
        // Create the empty file first with owner-only permissions; SQLite keeps them.
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly))
            throw Error(QStringLiteral("'%1' oluşturulamadı: %2").arg(path, f.errorString()));
        f.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    }
    try {
        Store store(path);
        store.exec(createTableSql());
    } catch (...) {
        QFile::remove(path);
        throw;
    }
}

void Store::checkSchema()
{
    Statement info(*this, QStringLiteral("SELECT name, type FROM pragma_table_info('%1')").arg(QLatin1String(kTableName)));
    QHash<QString, QString> declared;  // lower-case name -> declared type
    while (info.step())
        declared.insert(info.columnText(0).toLower(), info.columnText(1));
    if (declared.isEmpty())
        throw Error(QStringLiteral("Cannot find the input table or query '%1'. Make sure it exists and that its name is spelled correctly.")
                        .arg(QLatin1String(kTableName)));
    for (const FieldDef &f : kFields) {
        const auto it = declared.constFind(QString::fromLatin1(f.name).toLower());
        if (it == declared.constEnd())
            throw Error(QStringLiteral("Field '%1' not found").arg(QLatin1String(f.name)));
        const QString actual = typeNameOf(*it);
        if (actual != expectedTypeName(f))
            throw Error(QStringLiteral("Type mismatch for field '%1', expecting: %2 actual: %3")
                            .arg(QLatin1String(f.name), expectedTypeName(f), actual));
    }
}

bool Store::hasTable()
{
    Statement st(*this, QStringLiteral("SELECT count(*) FROM sqlite_schema WHERE type='table' AND name=?1 COLLATE NOCASE"));
    st.bind(1, QString::fromLatin1(kTableName));
    st.step();
    return st.columnInt(0) > 0;
}

void Store::exec(const QString &sql)
{
    char *errmsg = nullptr;
    const int rc = sqlite3_exec(db_, sql.toUtf8().constData(), nullptr, nullptr, &errmsg);
    if (rc != SQLITE_OK) {
        const QString msg = errmsg && sqlite3_extended_errcode(db_) != SQLITE_READONLY_DBMOVED ? QString::fromUtf8(errmsg)
                                                                                             : sqliteMessage(db_);
        sqlite3_free(errmsg);
        throw Error(msg);
    }
}

void Store::rollback() noexcept
{
    if (db_ && !sqlite3_get_autocommit(db_))
        sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
}

qint64 Store::insert(const QVector<QVariant> &values)
{
    static const QString sql = [] {
        QStringList names, marks;
        for (const FieldDef &f : kFields) {
            names << QStringLiteral("\"%1\"").arg(QLatin1String(f.name));
            marks << QStringLiteral("?");
        }
        return QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
            .arg(QLatin1String(kTableName), names.join(QLatin1Char(',')), marks.join(QLatin1Char(',')));
    }();
    if (!insert_)
        insert_ = std::make_unique<Statement>(*this, sql);
    insert_->reset();
    for (int i = 0; i < kFieldCount; ++i)
        insert_->bind(i + 1, toStored(i, values.value(i)));
    insert_->step();
    insert_->reset();
    return sqlite3_last_insert_rowid(db_);
}

qint64 Store::recordCount()
{
    Statement st(*this, QStringLiteral("SELECT count(*) FROM %1").arg(QLatin1String(kTableName)));
    st.step();
    return st.columnInt(0);
}

void Store::fail(const QString &what) const
{
    const QString msg = sqliteMessage(db_);
    throw Error(what.isEmpty() ? msg : what + QStringLiteral(": ") + msg);
}

// --- Statement ---------------------------------------------------------------

Statement::Statement(const Store &store, const QString &sql) : store_(store)
{
    if (sqlite3_prepare_v2(store.handle(), sql.toUtf8().constData(), -1, &stmt_, nullptr) != SQLITE_OK)
        store.fail();
}

Statement::~Statement()
{
    sqlite3_finalize(stmt_);
}

void Statement::bind(int index, const QVariant &value)
{
    int rc = SQLITE_OK;
    if (value.isNull()) {
        rc = sqlite3_bind_null(stmt_, index);
    } else {
        switch (value.typeId()) {
        case QMetaType::LongLong:
        case QMetaType::Int:
            rc = sqlite3_bind_int64(stmt_, index, value.toLongLong());
            break;
        case QMetaType::Double:
            rc = sqlite3_bind_double(stmt_, index, value.toDouble());
            break;
        case QMetaType::QByteArray: {
            const QByteArray b = value.toByteArray();
            rc = sqlite3_bind_blob64(stmt_, index, b.constData(), b.size(), SQLITE_TRANSIENT);
            break;
        }
        default: {
            const QByteArray utf8 = value.toString().toUtf8();
            rc = sqlite3_bind_text64(stmt_, index, utf8.constData(), utf8.size(), SQLITE_TRANSIENT, SQLITE_UTF8);
        }
        }
    }
    if (rc != SQLITE_OK)
        store_.fail();
}

bool Statement::step()
{
    const int rc = sqlite3_step(stmt_);
    if (rc == SQLITE_ROW)
        return true;
    if (rc == SQLITE_DONE)
        return false;
    const QString msg = sqliteMessage(store_.handle());
    sqlite3_reset(stmt_);
    throw Error(msg);
}

void Statement::reset()
{
    sqlite3_reset(stmt_);
    sqlite3_clear_bindings(stmt_);
}

QVariant Statement::column(int index) const
{
    switch (sqlite3_column_type(stmt_, index)) {
    case SQLITE_NULL:
        return QVariant();
    case SQLITE_INTEGER:
        return QVariant(qint64(sqlite3_column_int64(stmt_, index)));
    case SQLITE_FLOAT:
        return QVariant(sqlite3_column_double(stmt_, index));
    case SQLITE_BLOB:
        return QVariant(QByteArray(static_cast<const char *>(sqlite3_column_blob(stmt_, index)),
                                   sqlite3_column_bytes(stmt_, index)));
    default:
        return columnText(index);
    }
}

QString Statement::columnText(int index) const
{
    const auto *text = reinterpret_cast<const char *>(sqlite3_column_text(stmt_, index));
    return text ? QString::fromUtf8(text, sqlite3_column_bytes(stmt_, index)) : QString();
}

QByteArrayView Statement::columnUtf8(int index) const
{
    const auto *text = reinterpret_cast<const char *>(sqlite3_column_text(stmt_, index));
    return text ? QByteArrayView(text, sqlite3_column_bytes(stmt_, index)) : QByteArrayView();
}

bool Statement::columnIsNull(int index) const
{
    return sqlite3_column_type(stmt_, index) == SQLITE_NULL;
}

bool Statement::columnIsText(int index) const
{
    return sqlite3_column_type(stmt_, index) == SQLITE_TEXT;
}

qint64 Statement::columnInt(int index) const
{
    return sqlite3_column_int64(stmt_, index);
}

bool isAccessDatabase(const QString &path)
{
    if (!QFileInfo(path).isFile())  // never open a FIFO or a device: the open would block
        return false;
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return false;
    const QByteArray head = f.read(32);
    return head.size() >= 19 && head.at(0) == 0 &&
           (head.mid(4, 15) == "Standard Jet DB" || head.mid(4, 15) == "Standard ACE DB");
}

}  // namespace records
