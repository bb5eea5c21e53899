#include "DataCommand.h"

#include "BackupSlots.h"
#include "Clock.h"
#include "Compaction.h"
#include "DataError.h"
#include "ExchangeFile.h"
#include "Folders.h"
#include "SettingsStore.h"
#include "Tsj.h"

#include <QDir>
#include <QFileInfo>

#include <memory>
#include <ostream>

namespace lumo
{

namespace
{

// The application folder and the current folder are the one given folder.
class DirFolders : public Folders
{
public:
    explicit DirFolders(QString dir) : m_dir(std::move(dir)) {}
    QString appDir() const override { return m_dir; }
    QString currentDir() const override { return m_dir; }

private:
    QString m_dir;
};

void print(std::ostream& s, const QString& text)
{
    QString t = text;
    t.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    t.remove(QLatin1Char('\r'));
    s << t.toUtf8().constData() << '\n';
}

} // namespace

const char* dataCommandUsage()
{
    return "       lumoctl backup [--dir DIR]\n"
           "       lumoctl restore SLOT [--dir DIR]\n"
           "       lumoctl export [--dir DIR]\n"
           "       lumoctl import --update|--replace [--dir DIR]\n"
           "       lumoctl compact [--dir DIR]\n";
}

bool isDataCommand(const std::string& command)
{
    return command == "backup" || command == "restore" || command == "export" ||
           command == "import" || command == "compact";
}

int dataCommand(const std::string& command, const std::vector<std::string>& args, std::ostream& out,
                std::ostream& err)
{
    QString dir = QDir::currentPath();
    int slot = 0;
    std::string mode;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--dir" && i + 1 < args.size()) {
            dir = QString::fromLocal8Bit(args[++i].c_str());
        } else if (a.rfind("--dir=", 0) == 0) {
            dir = QString::fromLocal8Bit(a.substr(6).c_str());
        } else if (command == "import" && (a == "--update" || a == "--replace") && mode.empty()) {
            mode = a;
        } else if (command == "restore" && slot == 0 && a.size() == 1 && a[0] >= '1' &&
                   a[0] <= '5') {
            slot = a[0] - '0';
        } else {
            err << "lumoctl " << command << ": unexpected argument '" << a << "'\n"
                << "usage:\n"
                << dataCommandUsage();
            return 2;
        }
    }
    if ((command == "restore" && slot == 0) || (command == "import" && mode.empty())) {
        err << "lumoctl " << command << ": "
            << (command == "restore" ? "a slot 1..5 is needed" : "--update or --replace is needed")
            << "\nusage:\n"
            << dataCommandUsage();
        return 2;
    }
    if (!QFileInfo(dir).isDir()) {
        err << "lumoctl " << command << ": no folder " << dir.toLocal8Bit().constData() << '\n';
        return 1;
    }

    DirFolders folders(QDir(dir).absolutePath());
    SettingsStore store(folders);
    Clock clock;
    DataProgress progress;
    // The operations on files go on when the database does not open (a
    // damaged database is what a restore is for); the update import needs it.
    std::unique_ptr<Tsj> sj;
    QString openError;
    try {
        sj = std::make_unique<Tsj>(folders.appDir() + QStringLiteral("/lumo.fc"));
    } catch (const DataError& e) {
        openError = e.text();
    }
    if (!sj && (command != "restore" && !(command == "import" && mode == "--replace"))) {
        err << "lumoctl " << command << ": ";
        print(err, openError);
        return 1;
    }
    DataEnv env{sj.get(), store, folders, clock, progress};

    DataResult r;
    if (command == "backup") {
        r = closingBackup(env);
        if (r.ok)
            r.message = r.skipped ? QStringLiteral("今天的备份已经存在：") +
                                        slotFile(folders, slotDateText(clock.today()))
                                  : QStringLiteral("数据备份完毕：") +
                                        slotFile(folders, slotDateText(clock.today()));
    } else if (command == "restore") {
        r = restoreSlot(env, slot);
    } else if (command == "export") {
        r = exportExchange(env);
    } else if (command == "import" && mode == "--update") {
        r = importByUpdate(env);
        if (r.ok)
            r.message += QStringLiteral(" (%1)").arg(r.added);
    } else if (command == "import") {
        r = importByReplacement(env);
    } else {
        r = compactDatabase(env);
    }
    if (r.ok) {
        print(out, r.message);
        return 0;
    }
    print(err, r.fullText());
    return 1;
}

} // namespace lumo
