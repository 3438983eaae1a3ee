#include "Dataset.h"

#include <QHash>
#include <QLocale>
#include <QStringDecoder>
#include <algorithm>
#include <optional>
#include <array>
#include <cstring>
#ifdef __GLIBC__
#include <malloc.h>
#endif
#include <thread>

#include "DateText.h"
#include "Error.h"
#include "NameOrder.h"
#include "RecordStore.h"
#include "StoredForm.h"

namespace records {

namespace {

const QString kRowChangedMessage =
    QStringLiteral("Row cannot be located for updating. Some values may have been changed since it was last read.");
const QString kRowDeletedMessage =
    QStringLiteral("Row cannot be located for deletion. Some values may have been changed since it was last read.");

bool sameValue(const QVariant &a, const QVariant &b)
{
    if (a.isNull() || b.isNull())
        return a.isNull() == b.isNull();
    return a.typeId() == b.typeId() ? a == b : a.toString() == b.toString();
}

// The list in a few large memory blocks: per row its store key and where its name (UTF-8)
// and the name's sort key stand. A changed name is written anew at the end; the bytes it
// leaves behind are reclaimed when the list is read again at the next open.
class RowTable {
public:
    void clear()
    {
        entries_.clear();
        entries_.shrink_to_fit();
        chunks_.clear();
        used_ = 0;
    }
    void reserve(size_t rows) { entries_.reserve(rows); }
    size_t size() const { return entries_.size(); }
    bool empty() const { return entries_.empty(); }

    void append(qint64 key, QByteArrayView nameUtf8, QByteArrayView sortKey)
    {
        entries_.push_back({key, place(nameUtf8, sortKey)});
    }
    void setName(size_t row, QByteArrayView nameUtf8, QByteArrayView sortKey)
    {
        entries_[row].at = place(nameUtf8, sortKey);
    }
    // Takes over the rows of `other` after its own; new names then go where `other`'s went.
    void appendTable(RowTable &&other)
    {
        const quint64 shift = quint64(chunks_.size()) << 32;
        entries_.reserve(entries_.size() + other.entries_.size());
        for (const Entry &e : other.entries_)
            entries_.push_back({e.key, e.at + shift});
        for (auto &chunk : other.chunks_)
            chunks_.push_back(std::move(chunk));
        if (!other.chunks_.empty()) {
            chunkSize_ = other.chunkSize_;
            used_ = other.used_;
        }
        other.clear();
    }
    void erase(size_t row) { entries_.erase(entries_.begin() + qsizetype(row)); }
    template <typename Pred>
    void removeIf(Pred dropKey)
    {
        std::erase_if(entries_, [&](const Entry &e) { return dropKey(e.key); });
        if (entries_.empty())
            clear();
    }
    // Puts the rows in the order given (order[i] is the row that becomes row i).
    void reorder(const std::vector<int> &order)
    {
        std::vector<Entry> moved;
        moved.reserve(order.size());
        for (int row : order)
            moved.push_back(entries_[size_t(row)]);
        entries_ = std::move(moved);
    }

    qint64 key(size_t row) const { return entries_[row].key; }
    QString name(size_t row) const
    {
        const Lengths l = lengths(row);
        return QString::fromUtf8(bytes(row) + sizeof(Lengths), l.name);
    }
    QByteArrayView sortKey(size_t row) const
    {
        const Lengths l = lengths(row);
        return QByteArrayView(bytes(row) + sizeof(Lengths) + l.name, l.key);
    }

private:
    struct Lengths {
        quint32 name;
        quint32 key;
    };
    struct Entry {
        qint64 key;
        quint64 at;  // chunk index << 32 | offset in the chunk
    };
    static constexpr size_t kChunk = size_t(1) << 20;

    const char *bytes(size_t row) const
    {
        const quint64 at = entries_[row].at;
        return chunks_[size_t(at >> 32)].get() + (at & 0xffffffffu);
    }
    Lengths lengths(size_t row) const
    {
        Lengths l;
        std::memcpy(&l, bytes(row), sizeof l);
        return l;
    }
    quint64 place(QByteArrayView nameUtf8, QByteArrayView sortKey)
    {
        const Lengths l{quint32(nameUtf8.size()), quint32(sortKey.size())};
        const size_t need = sizeof l + l.name + l.key;
        if (chunks_.empty() || used_ + need > chunkSize_) {
            chunkSize_ = std::max(kChunk, need);
            chunks_.push_back(std::make_unique<char[]>(chunkSize_));
            used_ = 0;
        }
        char *p = chunks_.back().get() + used_;
        std::memcpy(p, &l, sizeof l);
        std::memcpy(p + sizeof l, nameUtf8.data(), l.name);
        std::memcpy(p + sizeof l + l.name, sortKey.data(), l.key);
        const quint64 at = (quint64(chunks_.size() - 1) << 32) | used_;
        used_ += need;
        return at;
    }

    std::vector<Entry> entries_;
    std::vector<std::unique_ptr<char[]>> chunks_;
    size_t chunkSize_ = kChunk;
    size_t used_ = 0;
};

// The first 32 bytes of a sort key as four numbers (most keys of names are shorter): sorting
// compares these side by side and reads the whole key only when they are equal.
struct KeyHead {
    std::array<quint64, 4> words{};
    explicit KeyHead(QByteArrayView key)
    {
        unsigned char b[32] = {};
        std::memcpy(b, key.data(), size_t(std::min<qsizetype>(32, key.size())));
        for (size_t w = 0; w < 4; ++w)
            for (size_t i = 0; i < 8; ++i)
                words[w] = (words[w] << 8) | b[w * 8 + i];
    }
};

// List order of two rows: by sort key, ties in row (store key) order.
bool lessInList(const RowTable &rows, int a, int b)
{
    const int c = compareSortKeys(rows.sortKey(size_t(a)), rows.sortKey(size_t(b)));
    return c ? c < 0 : a < b;
}

// One part of the list as it is read: its rows and their order by sort key.
struct ListPart {
    struct Sorting {
        KeyHead head;
        int row;
    };

    RowTable rows;
    std::vector<Sorting> order;
    const NameCollator *collator = nullptr;
    std::unique_ptr<NameCollator> own;  // a thread of its own needs a collator of its own
    QByteArray keyBuffer;
    QStringDecoder fromUtf8{QStringDecoder::Utf8, QStringDecoder::Flag::Stateless};
    std::vector<QChar> name;  // the name in UTF-16, without a string made per row

    void add(qint64 key, QByteArrayView nameUtf8)
    {
        keyBuffer.clear();
        name.resize(size_t(std::max<qsizetype>(1, nameUtf8.size())));  // never more units than bytes
        const QChar *end = fromUtf8.appendToBuffer(name.data(), nameUtf8);
        collator->appendSortKey(QStringView(name.data(), end - name.data()), keyBuffer);
        rows.append(key, nameUtf8, keyBuffer);
        order.push_back({KeyHead(keyBuffer), int(order.size())});
    }
    // By the heads side by side; only where two heads are equal and a key goes on past its
    // head are the whole keys read.
    void sort()
    {
        std::sort(order.begin(), order.end(), [this](const Sorting &a, const Sorting &b) {
            if (a.head.words != b.head.words)
                return a.head.words < b.head.words;
            if (rows.sortKey(size_t(a.row)).size() > 32 || rows.sortKey(size_t(b.row)).size() > 32)
                return lessInList(rows, a.row, b.row);
            return a.row < b.row;
        });
    }
};

}  // namespace

struct Dataset::Impl {
    std::unique_ptr<RecordStore> store;
    NameCollator collator;
    const QLocale turkish{QLocale::Turkish, QLocale::Turkey};

    RowTable rows;                         // list order, fixed at open; appended rows at the end
    std::vector<int> byName;               // row positions in current name order
    int cur = -1;                          // current row position; -1 when empty or inserting
    QVector<QVariant> stored;              // raw stored values of the current row
    QVector<QVariant> values;              // the current record as the dataset shows it
    QByteArray keyBuffer;                  // scratch for one sort key

    bool lessByName(int a, int b) const { return compareSortKeys(rows.sortKey(size_t(a)), rows.sortKey(size_t(b))) < 0; }

    void clear()
    {
        store.reset();
        rows.clear();
        byName.clear();
        byName.shrink_to_fit();
        cur = -1;
        stored = values = QVector<QVariant>(kFieldCount);
    }

    QByteArrayView sortKeyOf(QStringView name)
    {
        keyBuffer.clear();
        collator.appendSortKey(name, keyBuffer);
        return keyBuffer;
    }
    void appendRow(qint64 key, const QString &name) { rows.append(key, name.toUtf8(), sortKeyOf(name)); }
    void renameRow(int pos, const QString &name) { rows.setName(size_t(pos), name.toUtf8(), sortKeyOf(name)); }

    // Reads every row's key and name and puts them in name order (ties in store key order).
    // Where the store reads in two parts side by side, each part also makes its sort keys and
    // sorts on its own thread; the two sorted parts are then merged.
    void readList()
    {
        const int parts = std::thread::hardware_concurrency() >= 2 ? 2 : 1;
        std::vector<ListPart> part(static_cast<size_t>(parts));
        part[0].collator = &collator;
        for (size_t p = 1; p < part.size(); ++p) {
            part[p].own = std::make_unique<NameCollator>();
            part[p].collator = part[p].own.get();
        }
        store->readNamesInParts(parts, [&part](int p, qint64 key, QByteArrayView nameUtf8) { part[size_t(p)].add(key, nameUtf8); });
        std::thread beside;
        if (parts > 1)
            beside = std::thread([&part] { part[1].sort(); });
        part[0].sort();
        if (beside.joinable())
            beside.join();

        rows = std::move(part[0].rows);
        std::vector<int> positions;
        positions.reserve(rows.size() + (parts > 1 ? part[1].rows.size() : 0));
        for (const ListPart::Sorting &s : part[0].order)
            positions.push_back(s.row);
        part[0].order = {};
        if (parts > 1) {
            // Rows of the second part follow those of the first, so their ties come after too.
            const int offset = int(rows.size());
            rows.appendTable(std::move(part[1].rows));
            for (const ListPart::Sorting &s : part[1].order)
                positions.push_back(s.row + offset);
            part.clear();
            std::inplace_merge(positions.begin(), positions.begin() + offset, positions.end(),
                               [this](int a, int b) { return lessInList(rows, a, b); });
        }
        rows.reorder(positions);
        for (size_t i = 0; i < positions.size(); ++i)
            positions[i] = int(i);
        byName = std::move(positions);
#ifdef __GLIBC__
        // The sorting's scratch was freed on two threads; give the pages back rather than keep
        // them in the allocator's arenas for the life of the window.
        malloc_trim(0);
#endif
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
        stored = store->readRecord(rows.key(size_t(pos)));
        if (stored.isEmpty()) {
            // Deleted by another process since the list was read: shown empty.
            stored = values = QVector<QVariant>(kFieldCount);
            return;
        }
        for (int i = 0; i < kFieldCount; ++i)
            values[i] = fromStored(i, stored[i]);
    }

    int findPartialName(const QString &prefix)
    {
        const QString wanted = turkish.toUpper(prefix);
        const QByteArray low = collator.sortKey(prefix);
        const QByteArray high = collator.sortKey(prefix + QChar(0xFFFF));
        auto it = std::lower_bound(byName.begin(), byName.end(), 0, [&](int row, int) {
            return compareSortKeys(rows.sortKey(size_t(row)), low) < 0;
        });
        for (; it != byName.end() && compareSortKeys(rows.sortKey(size_t(*it)), high) <= 0; ++it)
            if (turkish.toUpper(rows.name(size_t(*it))).startsWith(wanted))
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

void Dataset::ensureActive()
{
    if (!active() && !retryAddress_.isEmpty())
        open(retryAddress_);  // still unreachable: its error says so
    checkActive();
}

void Dataset::setState(DataSetState s)
{
    if (state_ == s)
        return;
    state_ = s;
    emit stateChanged();
}

// --- Open and close -----------------------------------------------------------------

namespace {
// The schema checks of open(), with their messages.
std::unique_ptr<RecordStore> checked(std::unique_ptr<RecordStore> store)
{
    if (!store->hasTable())
        store->checkSchema();  // throws the store's missing-table message
    try {
        store->checkSchema();
    } catch (const Error &e) {
        throw Error(QStringLiteral("Query1: ") + e.message(), e.details());
    }
    return store;
}
}  // namespace

std::unique_ptr<RecordStore> Dataset::openRecords(const QString &address)
{
    return checked(openRecordStore(address));
}

void Dataset::open(const QString &fileName)
{
    if (active())
        return;
    d->clear();
    try {
        std::unique_ptr<RecordStore> store;
        try {
            store = openRecordStore(fileName);
        } catch (const Error &e) {
            throw ConnectionError(e);
        }
        d->store = checked(std::move(store));
        d->readList();
    } catch (...) {
        d->clear();
        // A server may answer later; a missing or broken file stays a closed dataset.
        if (isServerAddress(fileName))
            retryAddress_ = fileName;
        throw;
    }
    retryAddress_.clear();
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
    retryAddress_.clear();
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
    ensureActive();
    checkBrowseMode();
    moveTo(0);
    bof_ = true;
    eof_ = d->rows.empty();
    emit afterScroll();
}

void Dataset::last()
{
    ensureActive();
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
    ensureActive();
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
    ensureActive();
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
    ensureActive();
    const int index = fieldIndexCaseInsensitive(field);
    if (index < 0)
        raise(QStringLiteral("Field '%1' not found").arg(field));
    checkBrowseMode();
    int hit = -1;
    if (index == fieldIndex(QLatin1String(kNameField)) && options.partialKey) {
        hit = d->findPartialName(value);
    } else {
        // Other lookups are rare: ask the store, then take the first hit in list order.
        QSet<qint64> keys;
        for (qint64 k : d->store->findKeys(index, toStored(index, value), options.partialKey, options.caseInsensitive))
            keys.insert(k);
        for (size_t i = 0; i < d->rows.size() && hit < 0; ++i)
            if (keys.contains(d->rows.key(i)))
                hit = int(i);
    }
    if (hit < 0)
        return false;
    // Typing a name lands on the same record keystroke after keystroke: it is read once (on
    // the server each read is a round trip); another desk's change shows when the user moves.
    if (hit == d->cur)
        emit recordChanged();
    else
        moveTo(hit);
    bof_ = eof_ = false;
    emit afterScroll();
    return true;
}

// --- Editing ----------------------------------------------------------------------

void Dataset::append()
{
    ensureActive();
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
    ensureActive();
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
        d->appendRow(key, d->values[nameField].toString());
        d->insertByName(int(d->rows.size()) - 1);
        d->cur = int(d->rows.size()) - 1;
        d->stored = toWrite;
        emit listChanged();
    } else {
        if (d->store->updateIfUnchanged(d->rows.key(size_t(d->cur)), d->stored, toWrite) == 0)
            throw Error(kRowChangedMessage);
        d->stored = toWrite;
        const QString newName = d->values[nameField].toString();
        if (newName != d->rows.name(size_t(d->cur))) {
            d->removeByName(d->cur, false);
            d->renameRow(d->cur, newName);
            d->insertByName(d->cur);
        }
        emit rowChanged(d->cur);
    }
    modified_ = false;
    emit posted();
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
    ensureActive();
    if (state_ == DataSetState::Insert) {
        cancel();
        return;
    }
    if (d->rows.empty())
        raise(QStringLiteral("Cannot perform this operation on an empty dataset"));
    if (state_ == DataSetState::Edit)
        emit updateRecord();
    if (d->store->removeIfUnchanged(d->rows.key(size_t(d->cur)), d->stored) == 0)
        throw Error(kRowDeletedMessage);
    const int pos = d->cur;
    d->removeByName(pos, true);
    d->rows.erase(size_t(pos));
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
    ensureActive();
    first();  // settles a pending edit like any move
    // In key order each batch touches a few neighbouring pages of the file, not pages spread
    // over all of it as name order would.
    std::vector<qint64> keys(d->rows.size());
    for (size_t i = 0; i < keys.size(); ++i)
        keys[i] = d->rows.key(i);
    std::sort(keys.begin(), keys.end());
    constexpr size_t kBatch = 500;
    size_t committed = 0;
    std::optional<Error> failure;
    while (committed < keys.size() && !failure) {
        const size_t end = std::min(keys.size(), committed + kBatch);
        try {
            d->store->begin();
            const QVector<qint64> batch(keys.begin() + qsizetype(committed), keys.begin() + qsizetype(end));
            if (d->store->removeKeys(batch) != batch.size())  // one gone meanwhile: as one deletion would
                throw Error(kRowDeletedMessage);
            d->store->commit();
            committed = end;
            if (progress)
                progress(int(committed));
        } catch (const Error &e) {
            d->store->rollback();
            failure = e;
        }
    }
    // The list loses the committed rows, the lowest keys, in one pass.
    if (committed > 0) {
        const qint64 lastDeleted = keys[committed - 1];
        d->rows.removeIf([lastDeleted](qint64 key) { return key <= lastDeleted; });
    }
    keys = {};
    d->sortByName();
    emit listChanged();
    moveTo(0);
    bof_ = true;
    eof_ = d->rows.empty();
    emit afterScroll();
    if (failure)
        throw *failure;
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
        return d->rows.name(size_t(row));
    if (row == d->cur)
        return displayText(field);
    const QVector<QVariant> stored = d->store->readFields(d->rows.key(size_t(row)), {field});
    if (stored.isEmpty())
        return QString();
    const QVariant v = fromStored(field, stored[0]);
    return v.typeId() == QMetaType::QDateTime ? formatDateTime(v.toDateTime()) : v.toString();
}

QVector<QVariant> Dataset::rowValues(int row, const QVector<int> &fields) const
{
    checkActive();
    QVector<QVariant> out(fields.size());
    if (row < 0 || row >= int(d->rows.size()))
        return out;
    const QVector<QVariant> stored = d->store->readFields(d->rows.key(size_t(row)), fields);
    for (int c = 0; c < stored.size(); ++c)
        out[c] = fromStored(fields[c], stored[c]);
    return out;
}

ColumnValues Dataset::readColumns(const QVector<int> &fields) const
{
    checkActive();
    ColumnValues out;
    out.fields_ = fields;
    const size_t count = d->rows.size();
    out.rowOf_.assign(count, -1);
    // List positions in key order, walked beside the scan (which runs in key order too).
    std::vector<int> byKey(count);
    for (size_t i = 0; i < count; ++i)
        byKey[i] = int(i);
    std::sort(byKey.begin(), byKey.end(), [this](int a, int b) { return d->rows.key(size_t(a)) < d->rows.key(size_t(b)); });
    size_t next = 0;
    int read = 0;
    d->store->readTexts(fields, [&](qint64 key, const CellText *cells) {
        while (next < count && d->rows.key(size_t(byKey[next])) < key)
            ++next;
        if (next == count || d->rows.key(size_t(byKey[next])) != key)
            return;  // added by another process after the list was read
        out.rowOf_[size_t(byKey[next++])] = read++;
        for (int c = 0; c < fields.size(); ++c) {
            out.nulls_.push_back(cells[c].null);
            out.bytes_.append(cells[c].utf8.data(), cells[c].utf8.size());
            out.ends_.push_back(out.bytes_.size());
        }
    });
    out.bytes_.squeeze();
    return out;
}

QVariant ColumnValues::value(int row, int column) const
{
    if (row < 0 || row >= rowCount() || column < 0 || column >= fields_.size() || rowOf_[size_t(row)] < 0)
        return QVariant();
    const size_t cell = size_t(rowOf_[size_t(row)]) * size_t(fields_.size()) + size_t(column);
    if (nulls_[cell])
        return QVariant();
    const qsizetype from = cell ? ends_[cell - 1] : 0;
    return fromStored(fields_[column], QString::fromUtf8(bytes_.constData() + from, ends_[cell] - from));
}

QVector<QVariant> ColumnValues::value(int row) const
{
    QVector<QVariant> out;
    if (row < 0 || row >= rowCount())
        return out;
    out.resize(fields_.size());
    for (int c = 0; c < fields_.size(); ++c)
        out[c] = value(row, c);
    return out;
}

}  // namespace records
