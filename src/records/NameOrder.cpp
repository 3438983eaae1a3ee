#include "NameOrder.h"

#include <algorithm>
#include <cstring>
#include <sqlite3.h>
#include <unicode/ucol.h>

#include "Error.h"
#include "Schema.h"
#include "NameKeySql.h"
#include "Store.h"

namespace records {

NameCollator::NameCollator()
{
    // The settings QCollator uses for a case-sensitive Turkish collator.
    UErrorCode status = U_ZERO_ERROR;
    collator_ = ucol_open("tr_TR", &status);
    if (U_SUCCESS(status))
        ucol_setAttribute(collator_, UCOL_NORMALIZATION_MODE, UCOL_ON, &status);
    if (U_SUCCESS(status))
        ucol_setAttribute(collator_, UCOL_STRENGTH, UCOL_DEFAULT_STRENGTH, &status);
    if (U_SUCCESS(status))
        ucol_setAttribute(collator_, UCOL_NUMERIC_COLLATION, UCOL_OFF, &status);
    if (U_SUCCESS(status))
        ucol_setAttribute(collator_, UCOL_ALTERNATE_HANDLING, UCOL_NON_IGNORABLE, &status);
    if (U_FAILURE(status)) {
        if (collator_)
            ucol_close(collator_);
        throw Error(QStringLiteral("Türkçe sıralama kuralları yüklenemedi: %1").arg(QLatin1String(u_errorName(status))));
    }
}

NameCollator::~NameCollator()
{
    ucol_close(collator_);
}

int NameCollator::appendSortKey(QStringView name, QByteArray &out) const
{
    const qsizetype start = out.size();
    const auto *text = reinterpret_cast<const UChar *>(name.utf16());
    int room = int(16 + name.size() * 3);
    for (;;) {
        out.resize(start + room);
        const int size = ucol_getSortKey(collator_, text, int(name.size()), reinterpret_cast<uint8_t *>(out.data() + start), room);
        if (size <= room) {
            const int length = size > 0 ? size - 1 : 0;  // without the terminating zero
            out.resize(start + length);
            return length;
        }
        room = size;
    }
}

QByteArray NameCollator::sortKey(QStringView name) const
{
    QByteArray key;
    appendSortKey(name, key);
    return key;
}

int compareSortKeys(QByteArrayView a, QByteArrayView b)
{
    const int c = std::memcmp(a.data(), b.data(), size_t(std::min(a.size(), b.size())));
    return c ? c : (a.size() < b.size() ? -1 : a.size() > b.size());
}

namespace {
void nameKey(sqlite3_context *context, int, sqlite3_value **argv)
{
    const auto *collator = static_cast<const NameCollator *>(sqlite3_user_data(context));
    const auto *text = static_cast<const QChar *>(sqlite3_value_text16(argv[0]));
    const int bytes = sqlite3_value_bytes16(argv[0]);
    thread_local QByteArray key;
    key.clear();
    collator->appendSortKey(QStringView(text, text ? bytes / 2 : 0), key);
    sqlite3_result_blob(context, key.constData(), int(key.size()), SQLITE_TRANSIENT);
}
void dropCollator(void *collator)
{
    delete static_cast<NameCollator *>(collator);
}
}  // namespace

void registerNameKey(Store &store)
{
    auto *collator = new NameCollator;
    if (sqlite3_create_function_v2(store.handle(), "kalpiyon_name_key", 1, SQLITE_UTF16 | SQLITE_DETERMINISTIC, collator,
                                   nameKey, nullptr, nullptr, dropCollator) != SQLITE_OK)
        store.fail(QStringLiteral("kalpiyon_name_key"));
}

QString listOrderClause()
{
    return QStringLiteral("ORDER BY kalpiyon_name_key(\"%1\"), rowid").arg(QLatin1String(kNameField));
}

}  // namespace records
