#include "ExchangeFile.h"

#include "BackupFile.h"
#include "Compaction.h"
#include "DataError.h"
#include "DatabaseArchive.h"
#include "DatabaseFile.h"
#include "Dataset.h"
#include "Folders.h"
#include "ImportUpdate.h"
#include "OperationGuard.h"
#include "Passwords.h"
#include "SchemaMigration.h"
#include "Tsj.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <cmath>
#include <stdexcept>

namespace lumo
{

namespace
{

QString exchangeName()
{
    return QStringLiteral("fcsj.su");
}

QString exchangeFile(const Folders& folders)
{
    return appFolder(folders) + QLatin1Char('/') + exchangeName();
}

QString updateFile(const Folders& folders)
{
    return appFolder(folders) + QStringLiteral("/lumo.up");
}

// Hides the progress panel however the operation ends.
class PanelGuard
{
public:
    explicit PanelGuard(DataProgress& p) : m_progress(p) { m_progress.begin(); }
    ~PanelGuard()
    {
        try {
            m_progress.end();
        } catch (...) {
        }
    }
    PanelGuard(const PanelGuard&) = delete;
    PanelGuard& operator=(const PanelGuard&) = delete;

private:
    DataProgress& m_progress;
};

// Unpacks the database entry of the exchange file into a private temporary
// folder and moves it to "lumo.up" once it proved sound; nothing else of the
// exchange file is written anywhere. A "lumo.up" left from an earlier run is
// removed first, so that only this run's extraction can pass. False with
// `detail` set on any failure.
bool extractExchange(DataEnv& env, QString& detail)
{
    const QString up = updateFile(env.folders);
    if (!removeIfPresent(up, &detail))
        return false;

    std::vector<std::string> errors;
    QTemporaryDir temp(appFolder(env.folders) + QStringLiteral("/lumo-unpack-XXXXXX"));
    bool ok = temp.isValid();
    if (!ok)
        errors.push_back(fromQ(temp.errorString()));
    ok = ok && unpackDatabase(env, exchangeFile(env.folders), temp.path(), errors);
    const QString extracted = temp.path() + QLatin1Char('/') + QLatin1String(kDatabaseEntry);
    if (ok) {
        const QString problem = databaseProblem(extracted);
        if (!problem.isEmpty()) {
            errors.push_back(fromQ(problem));
            ok = false;
        }
    }
    if (ok) {
        QString error;
        ok = replaceFile(extracted, up, &error);
        if (!ok)
            errors.push_back(fromQ(error));
    }
    if (!ok) {
        removeIfPresent(up);
        detail = archiveErrors(errors);
    }
    return ok;
}

} // namespace

const QStringList& comparedFields()
{
    static const QStringList fields{
        QStringLiteral("序号"),     QStringLiteral("SB"),      QStringLiteral("区域"),
        QStringLiteral("房屋地址"), QStringLiteral("户型"),    QStringLiteral("楼层"),
        QStringLiteral("朝向"),     QStringLiteral("房龄"),    QStringLiteral("面积"),
        QStringLiteral("权属"),     QStringLiteral("联系电话")};
    return fields;
}

const QStringList& copiedFields()
{
    static const QStringList fields{
        QStringLiteral("sb"),       QStringLiteral("区域"), QStringLiteral("房屋地址"),
        QStringLiteral("楼层"),     QStringLiteral("房龄"), QStringLiteral("面积"),
        QStringLiteral("价格"),     QStringLiteral("户型"), QStringLiteral("朝向"),
        QStringLiteral("权属"),     QStringLiteral("备注"), QStringLiteral("相片"),
        QStringLiteral("联系电话"), QStringLiteral("房主"), QStringLiteral("登记日期")};
    return fields;
}

DataResult exportExchange(DataEnv& env)
{
    OperationGuard guard(env.folders);
    if (!guard.acquired())
        return guard.refusal();
    DataResult r;
    const QString target = currentFolder(env.folders) + QLatin1Char('/') + exchangeName();
    const QString part = target + QStringLiteral(".part");
    std::vector<std::string> errors;
    QString error;
    bool ok = removeIfPresent(part, &error);
    if (!ok)
        errors.push_back(fromQ(error));
    // The exchange file goes to other agencies: passwords of an earlier
    // version still held as plain text are hashed before it is written.
    if (ok && env.sj && env.sj->ma && env.sj->ma->active()) {
        try {
            hashPlainPasswords(*env.sj->ma);
        } catch (const DataError& e) {
            errors.push_back(fromQ(e.text()));
            ok = false;
        }
    }
    if (ok) {
        ok = archiveDatabase(env, databaseFile(env.sj, env.folders), part, errors);
        if (ok) {
            ok = replaceFile(part, target, &error);
            if (!ok)
                errors.push_back(fromQ(error));
        }
        if (!ok)
            removeIfPresent(part);
    }
    r.ok = ok;
    if (ok)
        r.message = QStringLiteral("以将数据保存到 ") + folderForMessage(env.folders) +
                    QStringLiteral(" 目录内！") + QStringLiteral("\r\n\r\n数据文件名为 fcsj.su");
    else
        r.message = QStringLiteral("数据导出失败，数据文件 fcsj.su 没有写成！");
    r.detail = archiveErrors(errors);
    return r;
}

DataResult importByUpdate(DataEnv& env)
{
    OperationGuard guard(env.folders);
    if (!guard.acquired())
        return guard.refusal();
    DataResult r;
    if (!QFileInfo(exchangeFile(env.folders)).isFile()) {
        r.message = QStringLiteral("外部数据文件 fcsj.su 不存在？\r\n\r请将外部数据文件拷贝到 ") +
                    folderForMessage(env.folders) + QStringLiteral(" 目录内！");
        // The update import ends by removing "lumo.up" whatever happened.
        removeIfPresent(updateFile(env.folders));
        return r;
    }
    if (!env.sj) {
        r.message = QStringLiteral("外部数据导入失败，系统内的数据没有改变！");
        r.detail = QStringLiteral("数据库没有打开");
        return r;
    }
    Tsj& sj = *env.sj;
    const QString up = updateFile(env.folders);
    {
        PanelGuard panel(env.progress);
        QString detail;
        if (!extractExchange(env, detail)) {
            r.message = QStringLiteral("数据文件未被正确解压缩？数据导入不成功！");
            r.detail = detail;
            return r;
        }

        QSqlDatabase reg = sj.lumo1();
        bool inTransaction = false;
        try {
            env.progress.setText(QStringLiteral("数据正在更新..."));
            if (!sj.lumo1Connected())
                sj.connectLumo1();
            sj.connectLwb(up);
            QSqlDatabase ext = sj.lwb();

            if (!reg.transaction())
                throw DataError(reg.lastError().text());
            inTransaction = true;
            r.added = int(addMissingListings(reg, ext, env.progress));
            if (!reg.commit())
                throw DataError(reg.lastError().text());
            inTransaction = false;
            r.ok = true;
            r.message = QStringLiteral("外部数据文件数据以完全导入系统内！！！");
        } catch (const DataError& e) {
            r.detail = e.text();
        } catch (const std::exception& e) {
            r.detail = toQ(e.what());
        }
        if (inTransaction)
            reg.rollback();
        if (!r.ok) {
            r.added = 0;
            r.message = QStringLiteral("外部数据导入失败，系统内的数据没有改变！");
        }
        sj.disconnectLwb();
    }
    removeIfPresent(up);
    try {
        if (sj.ADOTable1->active())
            sj.ADOTable1->refresh();
    } catch (const DataError& e) {
        if (r.detail.isEmpty())
            r.detail = e.text();
    }
    return r;
}

DataResult importByReplacement(DataEnv& env)
{
    OperationGuard guard(env.folders);
    if (!guard.acquired())
        return guard.refusal();
    DataResult r;
    if (env.sj)
        env.sj->disconnectLumo1();
    if (!QFileInfo(exchangeFile(env.folders)).isFile()) {
        r.message = QStringLiteral("数据更新错误，请检查外部数据文件 fcsj.su 是否存在？");
        return r;
    }
    PanelGuard panel(env.progress);
    QString detail;
    if (!extractExchange(env, detail)) {
        r.message = QStringLiteral("数据解压异常，可能是外部数据文件 fcsj.su 损坏？");
        r.detail = detail;
        return r;
    }
    // A database of a newer program would not open here after the
    // replacement: the local one stays.
    const int version = fileSchemaVersion(updateFile(env.folders));
    if (version > currentSchemaVersion()) {
        r.message = QStringLiteral("外部数据文件 fcsj.su 来自更新版本的程序（数据库版本 %1，"
                                   "本程序只能识别到版本 %2），不能用它替换数据库。\r\n"
                                   "原来的数据库没有改变！")
                        .arg(version)
                        .arg(currentSchemaVersion());
        return r;
    }
    // The update database stays in place; its content is written into the
    // database through the engine, which fails while another program holds
    // a transaction on it and leaves the old content when it fails.
    const QString database = databaseFile(env.sj, env.folders);
    const PlaceResult placed = placeDatabase(updateFile(env.folders), database, &env.progress);
    if (!placed.ok) {
        r.message = QStringLiteral("数据更新错误，原来的数据库没有改变！");
        r.detail = placed.busy
                       ? toQ(BackupErrorText(beCannotReadFile)) + QLatin1Char('\n') + placed.error
                       : placed.error;
        return r;
    }
    r.ok = true;
    r.closeProgram = true;
    r.message = QStringLiteral("数据更新完毕，请重新启动软件！");
    return r;
}

} // namespace lumo
