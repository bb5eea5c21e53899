// Import by update of an exchange file of N listings (half of them already in
// the register) into a realistic register of N, and the closing backup of
// that register. Prints "name value unit" lines, each figure with its anchor
// from the same run:
//   import_update_<N>_s         the import (median of the runs)
//   anchor_<N>_s                cp of the update database + inflating the
//                               exchange data (gzip -dc) + the sqlite3 shell
//                               inserting the same new rows into a copy of the
//                               same register
//   import_update_<N>_peak_rss_mb  peak resident memory during the import
//   closing_backup_<N>_s / gzip9_<N>_s  the closing backup of the register and
//                               gzip -9 of the same file, run alternately
//
// usage: bench_import [--runs R] [--no-backup] [N ...]   (default N 200000)
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

#include <algorithm>
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
    // As the export writes it.
    TBackupFile archive;
    archive.SetCompressionLevel(clMax);
    if (!archive.Backup({exchange.toStdString()}, (app + QStringLiteral("/fcsj.su")).toStdString()))
        fail(QStringLiteral("exchange file not written"));
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

double median(QList<double> v)
{
    std::sort(v.begin(), v.end());
    return v.isEmpty() ? -1 : v[v.size() / 2];
}

double seconds(const QElapsedTimer& t)
{
    return t.nsecsElapsed() / 1e9;
}

void run(const QString& program, const QStringList& args, const QString& output = QString())
{
    QProcess p;
    if (!output.isEmpty())
        p.setStandardOutputFile(output);
    else
        p.setStandardOutputFile(QProcess::nullDevice());
    p.start(program, args);
    if (!p.waitForFinished(-1) || p.exitCode() != 0)
        fail(program + QLatin1Char(' ') + args.join(QLatin1Char(' ')) + QStringLiteral(" failed"));
}

void copyFresh(const QString& from, const QString& to)
{
    QFile::remove(to);
    if (!QFile::copy(from, to))
        fail(QStringLiteral("cannot copy ") + from);
    QFile::setPermissions(to, QFile::ReadOwner | QFile::WriteOwner);
}

// Kilobytes of a line of /proc/self/status.
double statusMb(const char* field)
{
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : f.readAll().split('\n'))
        if (line.startsWith(field))
            return line.mid(int(qstrlen(field))).trimmed().split(' ').value(0).toDouble() / 1024.0;
    return -1;
}

// Starts a new peak of the resident memory (Linux: writing 5 to clear_refs).
void resetPeakRss()
{
    QFile f(QStringLiteral("/proc/self/clear_refs"));
    if (f.open(QIODevice::WriteOnly))
        f.write("5");
}

// The anchor: what the import does at least, done by the standard tools.
double anchor(const QString& root, int n)
{
    const QString reg = root + QStringLiteral("/anchor.fc");
    copyFresh(root + QStringLiteral("/pristine.fc"), reg);
    const QString up = root + QStringLiteral("/anchor.up");
    QFile::remove(up);
    const QString sql =
        QStringLiteral(
            "ATTACH '%1' AS up; BEGIN; INSERT INTO fcxx (序号, sb, 区域, 房屋地址, 楼层, "
            "房龄, 面积, 价格, 户型, 朝向, 权属, 备注, 相片, 联系电话, 房主, 登记日期) "
            "SELECT 序号 - 10000000 + %2, sb, 区域, 房屋地址, 楼层, 房龄, 面积, 价格, "
            "户型, 朝向, 权属, 备注, 相片, 联系电话, 房主, 登记日期 FROM up.fcxx "
            "WHERE 序号 > 10000000 ORDER BY rowid; COMMIT;")
            .arg(up)
            .arg(n);
    QElapsedTimer t;
    t.start();
    run(QStringLiteral("cp"), {root + QStringLiteral("/exchange/lumo.fc"), up});
    run(QStringLiteral("gzip"), {QStringLiteral("-dc"), root + QStringLiteral("/exchange.gz")},
        root + QStringLiteral("/inflated"));
    run(QStringLiteral("sqlite3"), {reg, sql});
    const double s = seconds(t);
    QFile::remove(reg);
    QFile::remove(up);
    QFile::remove(root + QStringLiteral("/inflated"));
    return s;
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    int runs = 3;
    bool backup = true;
    QList<int> sizes;
    const QStringList args = app.arguments();
    for (int i = 1; i < args.size(); ++i) {
        if (args[i] == QStringLiteral("--runs") && i + 1 < args.size())
            runs = std::max(1, args[++i].toInt());
        else if (args[i] == QStringLiteral("--no-backup"))
            backup = false;
        else if (args[i].toInt() > 0)
            sizes << args[i].toInt();
        else {
            std::fprintf(stderr, "usage: bench_import [--runs R] [--no-backup] [N ...]\n");
            return 2;
        }
    }
    if (sizes.isEmpty())
        sizes << 200000;

    for (int n : sizes) {
        QTemporaryDir dir;
        const QString root = dir.path();
        prepare(root, n);
        const QString db = root + QStringLiteral("/app/lumo.fc");
        copyFresh(db, root + QStringLiteral("/pristine.fc"));
        run(QStringLiteral("gzip"),
            {QStringLiteral("-9c"), root + QStringLiteral("/exchange/lumo.fc")},
            root + QStringLiteral("/exchange.gz"));
        const QByteArray tag = QByteArray::number(n);

        QList<double> imports, anchors, peaks;
        int added = 0;
        for (int i = 0; i < runs; ++i) {
            anchors << anchor(root, n);
            copyFresh(root + QStringLiteral("/pristine.fc"), db);
            resetPeakRss();
            imports << runImport(root, &added);
            peaks << statusMb("VmHWM:");
        }
        print(("import_update_" + tag + "_s").constData(), median(imports), "s");
        print(("anchor_" + tag + "_s").constData(), median(anchors), "s");
        print(("import_vs_anchor_" + tag + "_ratio").constData(), median(imports) / median(anchors),
              "ratio");
        print(("import_update_" + tag + "_peak_rss_mb").constData(),
              *std::max_element(peaks.begin(), peaks.end()), "MB");
        print(("import_update_" + tag + "_added").constData(), added, "rows");
        print(("register_" + tag + "_mb").constData(),
              QFileInfo(root + QStringLiteral("/pristine.fc")).size() / 1048576.0, "MB");

        if (!backup)
            continue;
        QList<double> backups, gzips;
        for (int i = 0; i < runs; ++i) {
            // A fresh settings folder each time: the closing backup runs once
            // a day.
            QTemporaryDir slot;
            BenchFolders folders(slot.path());
            QDir().mkpath(folders.appDir());
            QDir().mkpath(folders.configDir());
            copyFresh(root + QStringLiteral("/pristine.fc"),
                      folders.appDir() + QStringLiteral("/lumo.fc"));
            SettingsStore store(folders);
            Clock clock;
            DataProgress progress;
            DataEnv env{nullptr, store, folders, clock, progress};
            QElapsedTimer t;
            t.start();
            const DataResult r = closingBackup(env);
            backups << seconds(t);
            if (!r.ok || r.skipped)
                fail(QStringLiteral("closing backup: ") + r.fullText());
            t.start();
            run(QStringLiteral("gzip"),
                {QStringLiteral("-9c"), root + QStringLiteral("/pristine.fc")},
                QProcess::nullDevice());
            gzips << seconds(t);
        }
        print(("closing_backup_" + tag + "_s").constData(), median(backups), "s");
        print(("gzip9_" + tag + "_s").constData(), median(gzips), "s");
        print(("closing_backup_vs_gzip9_" + tag + "_ratio").constData(),
              median(backups) / median(gzips), "ratio");
    }
    return 0;
}
