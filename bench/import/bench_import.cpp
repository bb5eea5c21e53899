// Import by update of an exchange file of N listings (half of them already in
// the register) into a register of N, the closing backup of that register,
// and the duplicate test by hash against the walk over the register on a
// smaller pair. Prints "name value unit" lines.
//
// usage: bench_import [N] [QUADRATIC_N]   (defaults 200000 and 5000)
#include "BackupFile.h"
#include "BackupSlots.h"
#include "Clock.h"
#include "ExchangeFile.h"
#include "Folders.h"
#include "SettingsStore.h"
#include "Tsj.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <cstdio>
#include <memory>

using namespace lumo;

namespace
{

class BenchFolders : public Folders
{
public:
    explicit BenchFolders(QString root) : m_root(std::move(root)) {}
    QString appDir() const override { return m_root + QStringLiteral("/app"); }
    QString currentDir() const override { return appDir(); }
    QString configDir() const override { return m_root + QStringLiteral("/config"); }

private:
    QString m_root;
};

void print(const char* name, double value, const char* unit)
{
    std::printf("%s %.6g %s\n", name, value, unit);
    std::fflush(stdout);
}

void fail(const QString& text)
{
    std::fprintf(stderr, "bench_import: %s\n", qPrintable(text));
    std::exit(1);
}

void exec(QSqlDatabase db, const QString& sql)
{
    QSqlQuery q(db);
    if (!q.exec(sql))
        fail(sql + QStringLiteral(": ") + q.lastError().text());
}

template <typename Work> void withDatabase(const QString& path, Work work)
{
    const QString name = QStringLiteral("bench");
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(path);
        if (!db.open())
            fail(path);
        work(db);
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
}

// A register of n listings, serials 1..n: made by the shared generator, or
// here when it is not available.
void makeRegister(int n, const QString& path)
{
    const QString generator = QStringLiteral(LUMO_BENCH_GENERATOR);
    if (QFileInfo::exists(generator)) {
        const int code =
            QProcess::execute(QStringLiteral("python3"),
                              {generator, QString::number(n), path, QStringLiteral("--source"),
                               QStringLiteral(LUMO_BENCH_DELIVERED_DB)});
        if (code == 0)
            return;
    }
    QFile::remove(path);
    if (!QFile::copy(QStringLiteral(LUMO_BENCH_DELIVERED_DB), path))
        fail(QStringLiteral("no delivered database"));
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
    withDatabase(path, [&](QSqlDatabase db) {
        exec(db, QStringLiteral("DELETE FROM fcxx"));
        db.transaction();
        QSqlQuery q(db);
        q.prepare(
            QStringLiteral("INSERT INTO fcxx (序号, SB, 区域, 房屋地址, 户型, 楼层, 朝向, 房龄, "
                           "面积, 权属, 价格, 备注, 登记日期, 联系电话, 房主) VALUES "
                           "(?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"));
        for (int i = 1; i <= n; ++i) {
            const QVariantList v{i,
                                 i % 3 ? QStringLiteral("卖") : QStringLiteral("租"),
                                 QStringLiteral("和平区"),
                                 QStringLiteral("南京街%1号").arg(i),
                                 QStringLiteral("二室一厅"),
                                 i % 20,
                                 QStringLiteral("南北"),
                                 i % 30,
                                 50.0 + i % 100,
                                 QStringLiteral("产权"),
                                 80.0 + i % 50,
                                 QStringLiteral("简单装修"),
                                 QStringLiteral("2024-01-01"),
                                 QStringLiteral("138%1").arg(i, 8, 10, QLatin1Char('0')),
                                 QStringLiteral("王伟")};
            for (int k = 0; k < v.size(); ++k)
                q.bindValue(k, v.at(k));
            if (!q.exec())
                fail(q.lastError().text());
        }
        db.commit();
    });
}

// An application folder whose register has n listings and whose "fcsj.su"
// holds the same n listings, every second one under a new serial number.
void prepare(const QString& root, int n)
{
    const QString app = root + QStringLiteral("/app");
    QDir().mkpath(app);
    QDir().mkpath(root + QStringLiteral("/config"));
    QDir().mkpath(root + QStringLiteral("/exchange"));
    const QString db = app + QStringLiteral("/lumo.fc");
    makeRegister(n, db);
    const QString exchange = root + QStringLiteral("/exchange/lumo.fc");
    QFile::remove(exchange);
    QFile::copy(db, exchange);
    withDatabase(exchange, [](QSqlDatabase d) {
        exec(d, QStringLiteral("UPDATE fcxx SET 序号 = 序号 + 10000000 WHERE 序号 % 2 = 0"));
    });
    TBackupFile archive;
    archive.SetCompressionLevel(clFastest);
    if (!archive.Backup({exchange.toStdString()}, (app + QStringLiteral("/fcsj.su")).toStdString()))
        fail(QStringLiteral("exchange file not written"));
}

// The rule as stated: every exchange row compared with every register row
// until one matches; new rows join the register. Rows are held in memory, so
// this is a lower bound of the walk over the register dataset.
qint64 quadraticImport(const QString& root)
{
    auto read = [](const QString& path) {
        QList<QVariantList> rows;
        withDatabase(path, [&](QSqlDatabase db) {
            QSqlQuery q(db);
            q.exec(QStringLiteral("SELECT %1 FROM fcxx ORDER BY rowid")
                       .arg(comparedFields().join(QStringLiteral(", "))));
            while (q.next()) {
                QVariantList r;
                for (int i = 0; i < comparedFields().size(); ++i)
                    r << q.value(i);
                rows << r;
            }
        });
        return rows;
    };
    QList<QVariantList> reg = read(root + QStringLiteral("/app/lumo.fc"));
    const QList<QVariantList> ext = read(root + QStringLiteral("/exchange/lumo.fc"));
    qint64 added = 0;
    for (const QVariantList& e : ext) {
        bool found = false;
        for (const QVariantList& r : reg) {
            bool same = true;
            for (int i = 0; same && i < r.size(); ++i)
                same = r.at(i).isNull() == e.at(i).isNull() && r.at(i) == e.at(i);
            if (same) {
                found = true;
                break;
            }
        }
        if (!found) {
            QVariantList n = e;
            n[0] = reg.isEmpty() ? 1 : reg.last().at(0).toLongLong() + 1;
            reg << n;
            ++added;
        }
    }
    return added;
}

double runImport(const QString& root, int* added)
{
    BenchFolders folders(root);
    SettingsStore store(folders);
    Clock clock;
    DataProgress progress;
    Tsj sj(folders.appDir() + QStringLiteral("/lumo.fc"));
    DataEnv env{&sj, store, folders, clock, progress};
    QElapsedTimer t;
    t.start();
    const DataResult r = importByUpdate(env);
    const double seconds = t.elapsed() / 1000.0;
    if (!r.ok)
        fail(r.fullText());
    *added = r.added;
    return seconds;
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const int n = argc > 1 ? std::atoi(argv[1]) : 200000;
    const int small = argc > 2 ? std::atoi(argv[2]) : 5000;

    QTemporaryDir big;
    prepare(big.path(), n);
    {
        BenchFolders folders(big.path());
        SettingsStore store(folders);
        Clock clock;
        DataProgress progress;
        DataEnv env{nullptr, store, folders, clock, progress};
        QElapsedTimer t;
        t.start();
        const DataResult r = closingBackup(env);
        if (!r.ok)
            fail(r.fullText());
        print("closing_backup_time", t.elapsed() / 1000.0, "s");
        print("closing_backup_size",
              QFileInfo(folders.appDir() + QStringLiteral("/fcxx.vvv")).size() / 1048576.0, "MiB");
        print("register_size",
              QFileInfo(folders.appDir() + QStringLiteral("/lumo.fc")).size() / 1048576.0, "MiB");
    }
    int added = 0;
    print("import_update_time", runImport(big.path(), &added), "s");
    print("import_update_added", added, "rows");
    print("import_update_listings", n, "rows");

    QTemporaryDir pair;
    prepare(pair.path(), small);
    QElapsedTimer t;
    t.start();
    const qint64 quadraticAdded = quadraticImport(pair.path());
    const double quadratic = t.elapsed() / 1000.0;
    int hashAdded = 0;
    const double hashed = runImport(pair.path(), &hashAdded);
    if (quadraticAdded != hashAdded)
        fail(QStringLiteral("the two duplicate tests disagree: %1 and %2")
                 .arg(quadraticAdded)
                 .arg(hashAdded));
    print("quadratic_rule_in_memory_small_time", quadratic, "s");
    print("hash_rule_small_time", hashed, "s");
    print("quadratic_to_hash_ratio", hashed > 0 ? quadratic / hashed : 0, "x");
    print("small_listings", small, "rows");
    return 0;
}
