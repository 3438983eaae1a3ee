#include "Dataset.h"

#include <QCollator>
#include <QHash>
#include <QLocale>
#include <algorithm>
#include <sqlite3.h>

#include "DateText.h"
#include "Error.h"
#include "Store.h"

namespace records {

namespace {

const QString kRowChangedMessage =
    QStringLiteral("Row cannot be located for updating. Some values may have been changed since it was last read.");
const QString kRowDeletedMessage =
    QStringLiteral("Row cannot be located for deletion. Some values may have been changed since it was last read.");

QString columnList()
{
    QStringList names;
    for (const FieldDef &f : kFields)
        names << QStringLiteral("\"%1\"").arg(QLatin1String(f.name));
    return names.join(QLatin1Char(','));
}

// "WHERE rowid=?1 AND "c1" IS ?2 AND ..." : the row must still hold the values read.
QString unchangedRowCondition(int firstParam)
{
    QStringList parts{QStringLiteral("rowid=?%1").arg(firstParam)};
    for (int i = 0; i < kFieldCount; ++i)
        parts << QStringLiteral("\"%1\" IS ?%2").arg(QLatin1String(kFields[i].name)).arg(firstParam + 1 + i);
    return parts.join(QStringLiteral(" AND "));
}

bool sameValue(const QVariant &a, const QVariant &b)
{
    if (a.isNull() || b.isNull())
        return a.isNull() == b.isNull();
    return a.typeId() == b.typeId() ? a == b : a.toString() == b.toString();
}

}  // namespace

struct Dataset::Impl {
    struct Row {
        qint64 key;
        QString name;
    };

    std::unique_ptr<Store> store;
    std::unique_ptr<Statement> selectRow;
    mutable std::unique_ptr<Statement> selectSome;  // rowValues: prepared for the last field list
    mutable QVector<int> selectSomeFields;
    QCollator collator{QLocale(QLocale::Turkish, QLocale::Turkey)};
    const QLocale turkish{QLocale::Turkish, QLocale::Turkey};

    std::vector<Row> rows;                 // list order, fixed at open; appended rows at the end
    std::vector<QCollatorSortKey> keys;    // sort key of each row's current name, parallel to rows
    std::vector<int> byName;               // row positions in current name order
    int cur = -1;                          // current row position; -1 when empty or inserting
    QVector<QVariant> stored;              // raw stored values of the current row
    QVector<QVariant> values;              // the current record as the dataset shows it

    bool lessByName(int a, int b) const { return keys[a].compare(keys[b]) < 0; }

    void clear()
    {
        selectSome.reset();
        selectSomeFields.clear();
        selectRow.reset();
        store.reset();
        rows.clear();
        keys.clear();
        byName.clear();
        cur = -1;
        stored = values = QVector<QVariant>(kFieldCount);
    }

    void sortByName()
    {
        byName.resize(rows.size());
        for (size_t i = 0; i < rows.size(); ++i)
            byName[i] = int(i);
        std::stable_sort(byName.begin(), byName.end(), [this](int a, int b) { return lessByName(a, b); });
    }

    // Places row `pos` (whose key is already set) into the name order.
    void insertByName(int pos)
    {
        const auto it = std::upper_bound(byName.begin(), byName.end(), pos,
                                         [this](int a, int b) { return lessByName(a, b); });
        byName.insert(it, pos);
    }

    void removeByName(int pos, bool shift)
    {
        byName.erase(std::find(byName.begin(), byName.end(), pos));
        if (shift)
            for (int &p : byName)
                if (p > pos)
                    --p;
    }

    void readRow(int pos)
    {
        selectRow->reset();
        selectRow->bind(1, rows[pos].key);
        if (!selectRow->step()) {
            // Deleted by another process since the list was read: shown empty.
            stored = values = QVector<QVariant>(kFieldCount);
            return;
        }
        for (int i = 0; i < kFieldCount; ++i) {
            stored[i] = selectRow->column(i);
            values[i] = fromStored(i, stored[i]);
        }
        selectRow->reset();
    }

    int findPartialName(const QString &prefix) const
    {
        const QString wanted = turkish.toUpper(prefix);
        const QCollatorSortKey low = collator.sortKey(prefix);
        const QCollatorSortKey high = collator.sortKey(prefix + QChar(0xFFFF));
        auto it = std::lower_bound(byName.begin(), byName.end(), 0, [&](int row, int) {
            return keys[row].compare(low) < 0;
        });
        for (; it != byName.end() && keys[*it].compare(high) <= 0; ++it)
            if (turkish.toUpper(rows[*it].name).startsWith(wanted))
                return *it;
        return -1;
    }
};

Dataset::Dataset(QObject *parent) : QObject(parent), d(std::make_unique<Impl>())
{
    setObjectName(QStringLiteral("Query1"));
    d->clear();
}

Dataset::~Dataset() = default;

QString stateName(DataSetState s)
{
    switch (s) {
    case DataSetState::Inactive: return QStringLiteral("inactive");
    case DataSetState::Browse: return QStringLiteral("browse");
    case DataSetState::Edit: return QStringLiteral("edit");
    case DataSetState::Insert: return QStringLiteral("insert");
    }
    return QString();
}

void Dataset::raise(const QString &message) const
{
    throw Error(objectName() + QStringLiteral(": ") + message);
}

void Dataset::checkActive() const
{
    if (!active())
        raise(QStringLiteral("Cannot perform this operation on a closed dataset"));
}

void Dataset::setState(DataSetState s)
{
    if (state_ == s)
        return;
    state_ = s;
    emit stateChanged();
}

// --- Open and close -----------------------------------------------------------------

void Dataset::open(const QString &fileName)
{
    if (active())
        return;
    d->clear();
    try {
        d->store = std::make_unique<Store>(fileName);
        if (!d->store->hasTable())
            d->store->checkSchema();  // throws the store's missing-table message
        try {
            d->store->checkSchema();
        } catch (const Error &e) {
            raise(e.message());
        }
        Statement all(*d->store, QStringLiteral("SELECT rowid, \"%1\" FROM %2").arg(QLatin1String(kNameField), QLatin1String(kTableName)));
        while (all.step())
            d->rows.push_back({all.columnInt(0), all.columnText(1)});
        d->keys.reserve(d->rows.size());
        for (const Impl::Row &r : d->rows)
            d->keys.push_back(d->collator.sortKey(r.name));
        d->sortByName();
        // The list is the name order as it stands at open.
        std::vector<Impl::Row> ordered;
        std::vector<QCollatorSortKey> orderedKeys;
        ordered.reserve(d->rows.size());
        orderedKeys.reserve(d->rows.size());
        for (int pos : d->byName) {
            ordered.push_back(std::move(d->rows[pos]));
            orderedKeys.push_back(d->keys[pos]);
        }
        d->rows = std::move(ordered);
        d->keys = std::move(orderedKeys);
        for (size_t i = 0; i < d->byName.size(); ++i)
            d->byName[i] = int(i);
        d->selectRow = std::make_unique<Statement>(
            *d->store, QStringLiteral("SELECT %1 FROM %2 WHERE rowid=?1").arg(columnList(), QLatin1String(kTableName)));
    } catch (...) {
        d->clear();
        throw;
    }
    fileName_ = fileName;
    modified_ = false;
    state_ = DataSetState::Browse;
    d->cur = d->rows.empty() ? -1 : 0;
    if (d->cur >= 0)
        d->readRow(0);
    bof_ = true;
    eof_ = d->rows.empty();
    emit stateChanged();
    emit listChanged();
    emit recordChanged();
    if (!d->rows.empty())
        emit afterScroll();
}

void Dataset::close()
{
    if (!active())
        return;
    d->clear();
    modified_ = false;
    bof_ = eof_ = true;
    state_ = DataSetState::Inactive;
    emit stateChanged();
    emit listChanged();
    emit recordChanged();
}

// --- Position ---------------------------------------------------------------------

int Dataset::recordCount() const
{
    return int(d->rows.size());
}

int Dataset::recNo() const
{
    if (!active() || state_ == DataSetState::Insert || d->cur < 0)
        return -1;
    return d->cur + 1;
}

bool Dataset::isEmpty() const
{
    return d->rows.empty() && state_ != DataSetState::Insert;
}

void Dataset::moveTo(int row)
{
    d->cur = d->rows.empty() ? -1 : std::clamp(row, 0, int(d->rows.size()) - 1);
    if (d->cur >= 0)
        d->readRow(d->cur);
    else
        d->stored = d->values = QVector<QVariant>(kFieldCount);
    emit recordChanged();
}

void Dataset::first()
{
    checkActive();
    checkBrowseMode();
    moveTo(0);
    bof_ = true;
    eof_ = d->rows.empty();
    emit afterScroll();
}

void Dataset::last()
{
    checkActive();
    checkBrowseMode();
    moveTo(int(d->rows.size()) - 1);
    eof_ = true;
    bof_ = d->rows.empty();
    emit afterScroll();
}

void Dataset::next()
{
    moveBy(1);
}

void Dataset::prior()
{
    moveBy(-1);
}

int Dataset::moveBy(int distance)
{
    checkActive();
    checkBrowseMode();
    int moved = 0;
    if (!d->rows.empty() && ((distance > 0 && !eof_) || (distance < 0 && !bof_))) {
        const int target = std::clamp(d->cur + distance, 0, int(d->rows.size()) - 1);
        moved = target - d->cur;
        if (moved != 0)
            moveTo(target);
        if (distance > 0) {
            eof_ = moved < distance;
            if (moved)
                bof_ = false;
        } else {
            bof_ = moved > distance;
            if (moved)
                eof_ = false;
        }
    }
    emit afterScroll();
    return moved;
}

void Dataset::setRecNo(int recNo)
{
    checkActive();
    checkBrowseMode();
    if (d->rows.empty())
        return;
    const int target = std::clamp(recNo - 1, 0, int(d->rows.size()) - 1);
    if (target == d->cur)
        return;
    moveTo(target);
    bof_ = eof_ = false;
    emit afterScroll();
}

bool Dataset::locate(const QString &field, const QString &value, LocateOptions options)
{
    checkActive();
    const int index = fieldIndexCaseInsensitive(field);
    if (index < 0)
        raise(QStringLiteral("Field '%1' not found").arg(field));
    checkBrowseMode();
    int hit = -1;
    if (index == fieldIndex(QLatin1String(kNameField)) && options.partialKey) {
        hit = d->findPartialName(value);
    } else {
        // Other lookups are rare: ask the store, then take the first hit in list order.
        const QString op = options.partialKey ? QStringLiteral("substr(%1,1,length(?1))=?1") : QStringLiteral("%1=?1");
        QString cond = op.arg(QStringLiteral("\"%1\"").arg(QLatin1String(kFields[index].name)));
        if (options.caseInsensitive)
            cond = QStringLiteral("upper(\"%1\")=upper(?1)").arg(QLatin1String(kFields[index].name));
        Statement st(*d->store, QStringLiteral("SELECT rowid FROM %1 WHERE %2").arg(QLatin1String(kTableName), cond));
        st.bind(1, toStored(index, value));
        QSet<qint64> keys;
        while (st.step())
            keys.insert(st.columnInt(0));
        for (size_t i = 0; i < d->rows.size() && hit < 0; ++i)
            if (keys.contains(d->rows[i].key))
                hit = int(i);
    }
    if (hit < 0)
        return false;
    moveTo(hit);
    bof_ = eof_ = false;
    emit afterScroll();
    return true;
}

// --- Editing ----------------------------------------------------------------------

void Dataset::append()
{
    checkActive();
    checkBrowseMode();
    d->stored = d->values = QVector<QVariant>(kFieldCount);
    modified_ = false;
    bof_ = eof_ = true;
    setState(DataSetState::Insert);
    emit recordChanged();
    emit afterScroll();
}

void Dataset::edit()
{
    checkActive();
    if (editing())
        return;
    if (d->rows.empty()) {
        append();
        return;
    }
    modified_ = false;
    setState(DataSetState::Edit);
}

void Dataset::post()
{
    checkActive();
    if (!editing())
        return;
    emit updateRecord();
    QVector<QVariant> toWrite(kFieldCount);
    for (int i = 0; i < kFieldCount; ++i)
        toWrite[i] = toStored(i, d->values[i]);
    const int nameField = fieldIndex(QLatin1String(kNameField));
    if (state_ == DataSetState::Insert) {
        const qint64 key = d->store->insert(d->values);
        d->rows.push_back({key, d->values[nameField].toString()});
        d->keys.push_back(d->collator.sortKey(d->rows.back().name));
        d->insertByName(int(d->rows.size()) - 1);
        d->cur = int(d->rows.size()) - 1;
        d->stored = toWrite;
        emit listChanged();
    } else {
        QStringList sets;
        for (int i = 0; i < kFieldCount; ++i)
            sets << QStringLiteral("\"%1\"=?%2").arg(QLatin1String(kFields[i].name)).arg(i + 1);
        Statement st(*d->store, QStringLiteral("UPDATE %1 SET %2 WHERE %3")
                                    .arg(QLatin1String(kTableName), sets.join(QLatin1Char(',')),
                                         unchangedRowCondition(kFieldCount + 1)));
        for (int i = 0; i < kFieldCount; ++i)
            st.bind(i + 1, toWrite[i]);
        st.bind(kFieldCount + 1, d->rows[d->cur].key);
        for (int i = 0; i < kFieldCount; ++i)
            st.bind(kFieldCount + 2 + i, d->stored[i]);
        st.step();
        if (sqlite3_changes(d->store->handle()) == 0)
            throw Error(kRowChangedMessage);
        d->stored = toWrite;
        Impl::Row &row = d->rows[d->cur];
        const QString newName = d->values[nameField].toString();
        if (newName != row.name) {
            d->removeByName(d->cur, false);
            row.name = newName;
            d->keys[d->cur] = d->collator.sortKey(newName);
            d->insertByName(d->cur);
        }
        emit rowChanged(d->cur);
    }
    modified_ = false;
    setState(DataSetState::Browse);
}

void Dataset::cancel()
{
    checkActive();
    if (!editing())
        return;
    const bool wasInsert = state_ == DataSetState::Insert;
    modified_ = false;
    setState(DataSetState::Browse);
    if (wasInsert) {
        moveTo(int(d->rows.size()) - 1);
        bof_ = eof_ = d->rows.empty();
        emit afterScroll();
    } else {
        for (int i = 0; i < kFieldCount; ++i)
            d->values[i] = fromStored(i, d->stored[i]);
        emit recordChanged();
    }
}

void Dataset::remove()
{
    checkActive();
    if (state_ == DataSetState::Insert) {
        cancel();
        return;
    }
    if (d->rows.empty())
        raise(QStringLiteral("Cannot perform this operation on an empty dataset"));
    if (state_ == DataSetState::Edit)
        emit updateRecord();
    Statement st(*d->store, QStringLiteral("DELETE FROM %1 WHERE %2").arg(QLatin1String(kTableName), unchangedRowCondition(1)));
    st.bind(1, d->rows[d->cur].key);
    for (int i = 0; i < kFieldCount; ++i)
        st.bind(2 + i, d->stored[i]);
    st.step();
    if (sqlite3_changes(d->store->handle()) == 0)
        throw Error(kRowDeletedMessage);
    const int pos = d->cur;
    d->removeByName(pos, true);
    d->rows.erase(d->rows.begin() + pos);
    d->keys.erase(d->keys.begin() + pos);
    modified_ = false;
    setState(DataSetState::Browse);
    emit listChanged();
    moveTo(pos);
    bof_ = d->cur <= 0;
    eof_ = d->rows.empty() || d->cur == int(d->rows.size()) - 1;
    emit afterScroll();
}

void Dataset::removeAll(const std::function<void(int)> &progress)
{
    checkActive();
    first();  // settles a pending edit like any move
    constexpr int kBatch = 500;
    Statement st(*d->store, QStringLiteral("DELETE FROM %1 WHERE rowid=?1").arg(QLatin1String(kTableName)));
    const int total = int(d->rows.size());
    int committed = 0;
    QString failure;
    while (committed < total && failure.isEmpty()) {
        const int end = std::min(total, committed + kBatch);
        try {
            d->store->begin();
            for (int pos = committed; pos < end; ++pos) {
                st.reset();
                st.bind(1, d->rows[pos].key);
                st.step();
                if (sqlite3_changes(d->store->handle()) == 0)  // gone meanwhile: as one deletion would
                    throw Error(kRowDeletedMessage);
            }
            d->store->commit();
            committed = end;
            if (progress)
                progress(committed);
        } catch (const Error &e) {
            d->store->rollback();
            failure = e.message();
        }
    }
    // The list loses the committed rows in one pass.
    d->rows.erase(d->rows.begin(), d->rows.begin() + committed);
    d->keys.erase(d->keys.begin(), d->keys.begin() + committed);
    d->sortByName();
    emit listChanged();
    moveTo(0);
    bof_ = true;
    eof_ = d->rows.empty();
    emit afterScroll();
    if (!failure.isEmpty())
        throw Error(failure);
}

void Dataset::checkBrowseMode()
{
    if (!editing())
        return;
    emit updateRecord();
    if (modified_)
        post();
    else
        cancel();
}

// --- Fields -------------------------------------------------------------------------

QVariant Dataset::value(int field) const
{
    if (field < 0 || field >= kFieldCount)
        return QVariant();
    return d->values[field];
}

QVariant Dataset::value(const QString &fieldName) const
{
    const int i = fieldIndexCaseInsensitive(fieldName);
    if (i < 0)
        raise(QStringLiteral("Field '%1' not found").arg(fieldName));
    return value(i);
}

QString Dataset::displayText(int field) const
{
    const QVariant v = value(field);
    if (v.typeId() == QMetaType::QDateTime)
        return formatDateTime(v.toDateTime());
    return v.toString();
}

QString Dataset::displayText(const QString &fieldName) const
{
    const int i = fieldIndexCaseInsensitive(fieldName);
    if (i < 0)
        raise(QStringLiteral("Field '%1' not found").arg(fieldName));
    return displayText(i);
}

bool Dataset::isNull(int field) const
{
    return value(field).isNull();
}

void Dataset::setValue(int field, const QVariant &v)
{
    checkActive();
    if (!editing())
        raise(QStringLiteral("Dataset not in edit or insert mode"));
    QVariant value = v;
    if (kFields[field].type == FieldType::Text && !value.isNull())
        value = value.toString().left(kFields[field].size);
    if (sameValue(value, d->values[field]))
        return;
    d->values[field] = value;
    modified_ = true;
    emit fieldChanged(field);
}

void Dataset::setText(int field, const QString &text)
{
    if (kFields[field].type == FieldType::DateTime) {
        if (text.trimmed().isEmpty()) {
            setValue(field, QVariant());
            return;
        }
        const auto parsed = parseDateTime(text);
        if (!parsed)
            throw Error(QStringLiteral("'%1' geçersiz tarih ve zaman girdiniz").arg(text));
        setValue(field, *parsed);
        return;
    }
    setValue(field, text.isEmpty() ? QVariant() : QVariant(text));
}

void Dataset::setText(const QString &fieldName, const QString &text)
{
    const int i = fieldIndexCaseInsensitive(fieldName);
    if (i < 0)
        raise(QStringLiteral("Field '%1' not found").arg(fieldName));
    setText(i, text);
}

// --- Rows -------------------------------------------------------------------------

QString Dataset::rowText(int row, int field) const
{
    const bool pendingRow = (state_ == DataSetState::Insert && row == int(d->rows.size())) ||
                            (state_ == DataSetState::Edit && row == d->cur);
    if (pendingRow)
        return displayText(field);
    if (row < 0 || row >= int(d->rows.size()))
        return QString();
    if (field == fieldIndex(QLatin1String(kNameField)))
        return d->rows[row].name;
    if (row == d->cur)
        return displayText(field);
    Statement st(*d->store, QStringLiteral("SELECT \"%1\" FROM %2 WHERE rowid=?1").arg(QLatin1String(kFields[field].name), QLatin1String(kTableName)));
    st.bind(1, d->rows[row].key);
    if (!st.step())
        return QString();
    const QVariant v = fromStored(field, st.column(0));
    return v.typeId() == QMetaType::QDateTime ? formatDateTime(v.toDateTime()) : v.toString();
}

QVector<QVariant> Dataset::rowValues(int row, const QVector<int> &fields) const
{
    checkActive();
    QVector<QVariant> out(fields.size());
    if (row < 0 || row >= int(d->rows.size()))
        return out;
    if (!d->selectSome || d->selectSomeFields != fields) {
        QStringList cols;
        for (int f : fields)
            cols << QStringLiteral("\"%1\"").arg(QLatin1String(kFields[f].name));
        d->selectSome = std::make_unique<Statement>(
            *d->store, QStringLiteral("SELECT %1 FROM %2 WHERE rowid=?1").arg(cols.join(QLatin1Char(',')), QLatin1String(kTableName)));
        d->selectSomeFields = fields;
    }
    Statement &st = *d->selectSome;
    st.reset();
    st.bind(1, d->rows[row].key);
    if (st.step())
        for (int c = 0; c < fields.size(); ++c)
            out[c] = fromStored(fields[c], st.column(c));
    st.reset();
    return out;
}

QVector<QVector<QVariant>> Dataset::readColumns(const QVector<int> &fields) const
{
    checkActive();
    QVector<QVector<QVariant>> result(int(d->rows.size()), QVector<QVariant>(fields.size()));
    QHash<qint64, int> position;
    position.reserve(int(d->rows.size()));
    for (size_t i = 0; i < d->rows.size(); ++i)
        position.insert(d->rows[i].key, int(i));
    QStringList cols{QStringLiteral("rowid")};
    for (int f : fields)
        cols << QStringLiteral("\"%1\"").arg(QLatin1String(kFields[f].name));
    Statement st(*d->store, QStringLiteral("SELECT %1 FROM %2").arg(cols.join(QLatin1Char(',')), QLatin1String(kTableName)));
    while (st.step()) {
        const auto it = position.constFind(st.columnInt(0));
        if (it == position.constEnd())
            continue;  // added by another process after the list was read
        QVector<QVariant> &out = result[*it];
        for (int c = 0; c < fields.size(); ++c)
            out[c] = fromStored(fields[c], st.column(c + 1));
    }
    return result;
}

}  // namespace records
