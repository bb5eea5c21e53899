#include "Tsj.h"

#include "DataError.h"
#include "DataSource.h"
#include "Dataset.h"
#include "DatasetDetail.h"
#include "SchemaMigration.h"

#include <QAtomicInt>
#include <QSqlError>
#include <QSqlQuery>
#include <QUrl>

namespace lumo
{

namespace
{

using dataset_detail::engineText;

QAtomicInt instanceCounter;

// A database that arrives in WAL mode keeps committed rows in its "-wal"
// file, which a copy of "lumo.fc" alone would miss. Its log is written back
// and the file switched to the rollback journal, so that the database file
// is always complete. When another connection holds it in WAL mode the
// switch waits for a later start; the backups read through the engine and
// are complete either way.
void useRollbackJournal(QSqlDatabase& db)
{
    QSqlQuery q(db);
    if (!q.exec(QStringLiteral("PRAGMA journal_mode")) || !q.next())
        return;
    if (q.value(0).toString().compare(QLatin1String("wal"), Qt::CaseInsensitive) != 0)
        return;
    q.finish();
    q.exec(QStringLiteral("PRAGMA wal_checkpoint(TRUNCATE)"));
    q.finish();
    q.exec(QStringLiteral("PRAGMA journal_mode=DELETE"));
    q.finish();
}

// Opens a database file read-write without creating it. The path is
// percent-encoded into the URI, so that "#", "?" and "%" in a folder name
// stay part of the path.
void openExisting(QSqlDatabase& db, const QString& path)
{
    db.setDatabaseName(QUrl::fromLocalFile(path).toString(QUrl::FullyEncoded) +
                       QStringLiteral("?mode=rw"));
    db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_URI;QSQLITE_BUSY_TIMEOUT=5000"));
    if (!db.open())
        throw DataError(engineText(db.lastError()));
    // A file that is not a database opens lazily; make the engine look now.
    QSqlQuery q(db);
    if (!q.exec(QStringLiteral("SELECT count(*) FROM sqlite_master"))) {
        const QString text = engineText(q.lastError());
        q.finish();
        db.close();
        throw DataError(text);
    }
    q.finish();
    useRollbackJournal(db);
}

} // namespace

Tsj::Tsj(const QString& databasePath, QObject* parent) : QObject(parent), m_path(databasePath)
{
    setObjectName(QStringLiteral("sj"));
    const int n = instanceCounter.fetchAndAddRelaxed(1);
    m_lumo1 = n == 0 ? QStringLiteral("lumo1") : QStringLiteral("lumo1#%1").arg(n);
    m_lwb = n == 0 ? QStringLiteral("lwb") : QStringLiteral("lwb#%1").arg(n);
    QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_lumo1);
    QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_lwb);

    ADOQuery1 = makeDataset("ADOQuery1", m_lumo1, QString());
    ADOTable1 = makeDataset("ADOTable1", m_lumo1, QStringLiteral("fcxx"));
    ADOTable3 = makeDataset("ADOTable3", m_lumo1, QStringLiteral("fzxx"));
    ADOTable4 = makeDataset("ADOTable4", m_lumo1, QStringLiteral("dh"));
    ADOQuery2 = makeDataset("ADOQuery2", m_lumo1, QString());
    ma = makeDataset("ma", m_lumo1, QStringLiteral("ma"));
    dj = makeDataset("dj", m_lumo1, QStringLiteral("jb"));
    wb = makeDataset("wb", m_lwb, QStringLiteral("fcxx"));

    auto source = [this](const char* name, Dataset* d) {
        auto* s = new DataSource(d, this);
        s->setObjectName(QLatin1String(name));
        return s;
    };
    DataSource1 = source("DataSource1", ADOQuery1);
    DataSource2 = source("DataSource2", ADOTable3);
    DataSource3 = source("DataSource3", ADOTable1);
    DataSource5 = source("DataSource5", ADOTable4);
    ma1 = source("ma1", ma);
    dj1 = source("dj1", dj);
    wb1 = source("wb1", wb);

    try {
        connectLumo1();
    } catch (...) {
        // Datasets opened before the failure hold queries on lumo1: close
        // them and the connection before it is removed.
        disconnectLumo1();
        QSqlDatabase::removeDatabase(m_lumo1);
        QSqlDatabase::removeDatabase(m_lwb);
        throw;
    }
}

Tsj::~Tsj()
{
    disconnectLwb();
    disconnectLumo1();
    // Datasets hold queries on the connections: free them before removing.
    const auto datasets = findChildren<Dataset*>();
    for (Dataset* d : datasets)
        delete d;
    QSqlDatabase::removeDatabase(m_lumo1);
    QSqlDatabase::removeDatabase(m_lwb);
}

Dataset* Tsj::makeDataset(const char* name, const QString& connection, const QString& table)
{
    auto* d = new Dataset(connection, this);
    d->setObjectName(QLatin1String(name));
    if (!table.isEmpty())
        d->setTableName(table);
    return d;
}

QSqlDatabase Tsj::lumo1() const
{
    return QSqlDatabase::database(m_lumo1, false);
}

bool Tsj::lumo1Connected() const
{
    return lumo1().isOpen();
}

void Tsj::connectLumo1()
{
    QSqlDatabase db = lumo1();
    if (!db.isOpen()) {
        openExisting(db, m_path);
        // An older register is brought up to date; a newer one is refused.
        try {
            migrateSchema(db, m_path);
        } catch (...) {
            db.close();
            throw;
        }
    }
    for (Dataset* d : {ADOTable1, ADOTable3, ADOTable4, ma, dj})
        d->open();
}

void Tsj::disconnectLumo1()
{
    for (Dataset* d : {ADOQuery1, ADOTable1, ADOTable3, ADOTable4, ADOQuery2, ma, dj})
        d->close();
    QSqlDatabase db = lumo1();
    if (db.isOpen())
        db.close();
}

QSqlDatabase Tsj::lwb() const
{
    return QSqlDatabase::database(m_lwb, false);
}

void Tsj::connectLwb(const QString& path)
{
    QSqlDatabase db = lwb();
    if (db.isOpen())
        db.close();
    openExisting(db, path);
}

void Tsj::disconnectLwb()
{
    wb->close();
    QSqlDatabase db = lwb();
    if (db.isOpen())
        db.close();
}

} // namespace lumo
