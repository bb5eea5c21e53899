#include "ImportUpdate.h"

#include "DataError.h"
#include "DataOperation.h"
#include "EngineStatement.h"
#include "ExchangeFile.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QVector>

#include <sqlite3.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <vector>

namespace lumo
{

namespace
{

// The engine's handle behind a Qt connection; the duplicate test reads the
// values as the engine stores them instead of through QVariant.
sqlite3* handleOf(const QSqlDatabase& db)
{
    if (sqlite3* handle = engineOf(db))
        return handle;
    throw DataError(QStringLiteral("数据库连接没有打开"));
}

// --- The 64-bit hash of the compared values --------------------------------

constexpr std::uint64_t kMul = 0x9E3779B97F4A7C15ULL;

inline std::uint64_t finish(std::uint64_t k)
{
    k ^= k >> 33;
    k *= 0xFF51AFD7ED558CCDULL;
    k ^= k >> 33;
    k *= 0xC4CEB9FE1A85EC53ULL;
    k ^= k >> 33;
    return k;
}

inline std::uint64_t add(std::uint64_t h, std::uint64_t word)
{
    h ^= word;
    h = (h << 27) | (h >> 37);
    return h * kMul + 0x52DCE729ULL;
}

std::uint64_t addBytes(std::uint64_t h, const unsigned char* p, int n)
{
    h = add(h, std::uint64_t(n));
    while (n >= 8) {
        std::uint64_t w;
        std::memcpy(&w, p, 8);
        h = add(h, w);
        p += 8;
        n -= 8;
    }
    if (n > 0) {
        std::uint64_t w = 0;
        std::memcpy(&w, p, size_t(n));
        h = add(h, w);
    }
    return h;
}

enum Tag : std::uint64_t { kNull = 1, kWhole, kReal, kText, kBlob };

// A real without fraction equals the integer of the same value.
inline bool wholeNumber(double d, std::int64_t* out)
{
    if (std::isfinite(d) && d == std::floor(d) && std::fabs(d) < 9.0e18) {
        *out = std::int64_t(d);
        return true;
    }
    return false;
}

std::uint64_t addValue(std::uint64_t h, sqlite3_stmt* s, int col)
{
    switch (sqlite3_column_type(s, col)) {
    case SQLITE_NULL:
        return add(h, kNull);
    case SQLITE_INTEGER:
        return add(add(h, kWhole), std::uint64_t(sqlite3_column_int64(s, col)));
    case SQLITE_FLOAT: {
        const double d = sqlite3_column_double(s, col);
        std::int64_t whole = 0;
        if (wholeNumber(d, &whole))
            return add(add(h, kWhole), std::uint64_t(whole));
        std::uint64_t bits;
        std::memcpy(&bits, &d, 8);
        return add(add(h, kReal), bits);
    }
    case SQLITE_TEXT: {
        const auto* p = sqlite3_column_text(s, col);
        return addBytes(add(h, kText), p, sqlite3_column_bytes(s, col));
    }
    default: {
        const auto* p = static_cast<const unsigned char*>(sqlite3_column_blob(s, col));
        return addBytes(add(h, kBlob), p, sqlite3_column_bytes(s, col));
    }
    }
}

// The key of a row: its serial number's hash joined with the hash of the
// other ten compared fields, so a new row's key is made from its new number
// without reading it again.
std::uint64_t (*keyFinish)(std::uint64_t) = finish;

inline std::uint64_t rowKey(std::uint64_t serial, std::uint64_t rest)
{
    const std::uint64_t k = keyFinish(add(serial, rest));
    return k ? k : 1; // 0 marks a free slot
}

std::uint64_t restHash(sqlite3_stmt* s, int first, int count)
{
    std::uint64_t h = 0x243F6A8885A308D3ULL;
    for (int c = first; c < first + count; ++c)
        h = addValue(h, s, c);
    return h;
}

std::uint64_t serialHash(sqlite3_stmt* s, int col)
{
    return addValue(0x13198A2E03707344ULL, s, col);
}

std::uint64_t serialHash(std::int64_t serial)
{
    return add(add(0x13198A2E03707344ULL, kWhole), std::uint64_t(serial));
}

// Whether two values are equal by the rule of the duplicate test.
bool sameValue(sqlite3_stmt* a, int ca, sqlite3_stmt* b, int cb)
{
    const int ta = sqlite3_column_type(a, ca);
    const int tb = sqlite3_column_type(b, cb);
    const bool na = ta == SQLITE_INTEGER || ta == SQLITE_FLOAT;
    const bool nb = tb == SQLITE_INTEGER || tb == SQLITE_FLOAT;
    if (na || nb) {
        if (!na || !nb)
            return false;
        if (ta == SQLITE_INTEGER && tb == SQLITE_INTEGER)
            return sqlite3_column_int64(a, ca) == sqlite3_column_int64(b, cb);
        auto whole = [](sqlite3_stmt* s, int c, int t, std::int64_t* out) {
            if (t == SQLITE_INTEGER) {
                *out = sqlite3_column_int64(s, c);
                return true;
            }
            return wholeNumber(sqlite3_column_double(s, c), out);
        };
        std::int64_t wa = 0, wb = 0;
        const bool ia = whole(a, ca, ta, &wa);
        const bool ib = whole(b, cb, tb, &wb);
        if (ia || ib)
            return ia && ib && wa == wb;
        return sqlite3_column_double(a, ca) == sqlite3_column_double(b, cb);
    }
    if (ta != tb)
        return false;
    if (ta == SQLITE_NULL)
        return true;
    const int n = sqlite3_column_bytes(a, ca);
    if (n != sqlite3_column_bytes(b, cb))
        return false;
    const void* pa = ta == SQLITE_TEXT ? static_cast<const void*>(sqlite3_column_text(a, ca))
                                       : sqlite3_column_blob(a, ca);
    const void* pb = ta == SQLITE_TEXT ? static_cast<const void*>(sqlite3_column_text(b, cb))
                                       : sqlite3_column_blob(b, cb);
    return n == 0 || std::memcmp(pa, pb, size_t(n)) == 0;
}

// --- The set of register rows by key ---------------------------------------

// Open addressing over (key, rowid) pairs, sized once for every row that
// can enter it. Equal keys may appear more than once (equal rows, or two
// rows whose hashes collide); a lookup looks at all of them.
class KeySet
{
public:
    explicit KeySet(std::int64_t rows)
        : m_slots(size_t(std::max<std::int64_t>(64, rows + rows / 4 + 1)))
    {
    }

    void insert(std::uint64_t key, std::int64_t rowid)
    {
        size_t i = home(key);
        while (m_slots[i].key != 0)
            i = i + 1 == m_slots.size() ? 0 : i + 1;
        m_slots[i] = {key, rowid};
    }

    // Calls `same(rowid)` for the rows with this key until it says yes.
    template <typename Same> bool contains(std::uint64_t key, Same same) const
    {
        for (size_t i = home(key); m_slots[i].key != 0; i = i + 1 == m_slots.size() ? 0 : i + 1)
            if (m_slots[i].key == key && same(m_slots[i].rowid))
                return true;
        return false;
    }

private:
    struct Slot {
        std::uint64_t key = 0;
        std::int64_t rowid = 0;
    };
    size_t home(std::uint64_t key) const
    {
        return size_t((static_cast<unsigned __int128>(key) * m_slots.size()) >> 64);
    }
    std::vector<Slot> m_slots;
};

// Reports `done` of `total` on a bar when the percentage changes.
class Bar
{
public:
    Bar(DataProgress& p, int bar, std::int64_t total) : m_p(p), m_bar(bar), m_total(total)
    {
        m_p.setBar(m_bar, 0);
    }
    void step(std::int64_t done)
    {
        const int percent = m_total > 0 ? int(done * 100 / m_total) : 100;
        if (percent != m_last) {
            m_last = percent;
            m_p.setBar(m_bar, percent);
            m_p.processEvents();
        }
    }

private:
    DataProgress& m_p;
    int m_bar;
    std::int64_t m_total;
    int m_last = 0;
};

std::int64_t countRows(sqlite3* db)
{
    EngineStatement q(db, QStringLiteral("SELECT count(*) FROM fcxx"));
    return q.step() ? sqlite3_column_int64(q.get(), 0) : 0;
}

// The serial number after the register's last row in natural order.
qint64 nextSerial(const QSqlDatabase& reg)
{
    QSqlQuery q(reg);
    if (!q.exec(QStringLiteral("SELECT 序号 FROM fcxx ORDER BY rowid DESC LIMIT 1")))
        throw DataError(q.lastError().databaseText().isEmpty() ? q.lastError().text()
                                                               : q.lastError().databaseText());
    if (q.next() && !q.value(0).isNull() && q.value(0).toLongLong() > 0)
        return q.value(0).toLongLong() + 1;
    return 1;
}

// A larger page cache while the rows go in, as the register's indexes take
// new entries all over; the setting it had is put back.
class CacheSize
{
public:
    CacheSize(sqlite3* db, int kib) : m_db(db)
    {
        EngineStatement q(db, QStringLiteral("PRAGMA cache_size"));
        if (q.step())
            m_old = sqlite3_column_int64(q.get(), 0);
        set(-kib);
    }
    ~CacheSize() { set(m_old); }
    CacheSize(const CacheSize&) = delete;
    CacheSize& operator=(const CacheSize&) = delete;

private:
    void set(std::int64_t value)
    {
        const QByteArray sql = "PRAGMA cache_size = " + QByteArray::number(qlonglong(value));
        sqlite3_exec(m_db, sql.constData(), nullptr, nullptr, nullptr);
    }
    sqlite3* m_db;
    std::int64_t m_old = -2000;
};

} // namespace

void setRowKeyFinishForTesting(std::uint64_t (*f)(std::uint64_t))
{
    keyFinish = f ? f : finish;
}

qint64 addMissingListings(QSqlDatabase reg, QSqlDatabase ext, DataProgress& progress)
{
    sqlite3* const regDb = handleOf(reg);
    sqlite3* const extDb = handleOf(ext);
    const QStringList& compared = comparedFields();
    const int nCompared = int(compared.size());
    const QString comparedList = compared.join(QStringLiteral(", "));

    // Read from the update database: the compared fields first (the serial
    // number in front), then the copied ones not among them.
    QStringList readFields = compared;
    QVector<int> copiedAt;
    for (const QString& f : copiedFields()) {
        int at = -1;
        for (int i = 0; i < readFields.size(); ++i)
            if (readFields.at(i).compare(f, Qt::CaseInsensitive) == 0)
                at = i;
        if (at < 0) {
            at = int(readFields.size());
            readFields << f;
        }
        copiedAt << at;
    }

    const std::int64_t registerRows = countRows(regDb);
    const std::int64_t exchangeRows = countRows(extDb);
    qint64 next = nextSerial(reg);
    CacheSize cache(regDb, 32768);

    KeySet present(registerRows + exchangeRows);
    {
        Bar bar2(progress, 2, registerRows);
        EngineStatement q(regDb, QStringLiteral("SELECT rowid, %1 FROM fcxx").arg(comparedList));
        std::int64_t done = 0;
        while (q.step()) {
            sqlite3_stmt* s = q.get();
            present.insert(rowKey(serialHash(s, 1), restHash(s, 2, nCompared - 1)),
                           sqlite3_column_int64(s, 0));
            bar2.step(++done);
        }
    }

    EngineStatement stored(regDb,
                           QStringLiteral("SELECT %1 FROM fcxx WHERE rowid = ?").arg(comparedList));
    QStringList marks;
    for (int i = 0; i <= copiedFields().size(); ++i)
        marks << QStringLiteral("?");
    EngineStatement insert(regDb, QStringLiteral("INSERT INTO fcxx (序号, %1) VALUES (%2)")
                                      .arg(copiedFields().join(QStringLiteral(", ")),
                                           marks.join(QStringLiteral(", "))));
    EngineStatement rows(extDb, QStringLiteral("SELECT %1 FROM fcxx ORDER BY rowid")
                                    .arg(readFields.join(QStringLiteral(", "))));
    sqlite3_stmt* const e = rows.get();
    auto sameAsStored = [&](std::int64_t rowid) {
        stored.reset();
        sqlite3_bind_int64(stored.get(), 1, rowid);
        if (!stored.step())
            return false;
        for (int c = 0; c < nCompared; ++c)
            if (!sameValue(stored.get(), c, e, c))
                return false;
        return true;
    };

    Bar bar1(progress, 1, exchangeRows);
    qint64 added = 0;
    std::int64_t done = 0;
    while (rows.step()) {
        const std::uint64_t rest = restHash(e, 1, nCompared - 1);
        if (!present.contains(rowKey(serialHash(e, 0), rest), sameAsStored)) {
            sqlite3_stmt* ins = insert.get();
            insert.reset();
            sqlite3_bind_int64(ins, 1, next);
            for (int i = 0; i < copiedAt.size(); ++i)
                sqlite3_bind_value(ins, i + 2, sqlite3_column_value(e, copiedAt.at(i)));
            insert.step();
            // The new row takes part in the test of the rows after it.
            present.insert(rowKey(serialHash(next), rest), sqlite3_last_insert_rowid(regDb));
            ++next;
            ++added;
        }
        bar1.step(++done);
    }
    stored.reset();
    insert.reset();
    return added;
}

} // namespace lumo
