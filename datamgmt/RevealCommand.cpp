#include "RevealCommand.h"

#include "DataError.h"
#include "RevealLog.h"
#include "Tsj.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <memory>
#include <ostream>

namespace lumo
{

namespace
{

// One CSV field: quoted when it holds a separator, a quote or a line break.
QString csvField(const QString& text)
{
    if (!text.contains(QLatin1Char(',')) && !text.contains(QLatin1Char('"')) &&
        !text.contains(QLatin1Char('\n')) && !text.contains(QLatin1Char('\r')))
        return text;
    QString quoted = text;
    quoted.replace(QStringLiteral("\""), QStringLiteral("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

// A text field of the plain output: tabs and line breaks would break the
// columns.
QString textField(const QString& text)
{
    QString t = text;
    for (QChar c : {QLatin1Char('\t'), QLatin1Char('\n'), QLatin1Char('\r')})
        t.replace(c, QLatin1Char(' '));
    return t;
}

void line(std::ostream& s, const QString& text)
{
    s << text.toUtf8().constData() << '\n';
}

} // namespace

const char* revealsCommandUsage()
{
    return "       lumoctl reveals [--dir DIR] [--csv] [--listing N] [--user TEXT]\n";
}

int revealsCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    QString dir = QDir::currentPath();
    bool csv = false;
    RevealFilter filter;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        const bool hasValue = i + 1 < args.size();
        if (a == "--dir" && hasValue) {
            dir = QFile::decodeName(args[++i].c_str());
        } else if (a == "--csv") {
            csv = true;
        } else if (a == "--listing" && hasValue) {
            filter.serial = QString::fromUtf8(args[++i].c_str());
            bool number = false;
            filter.serial.toLongLong(&number);
            if (!number) {
                err << "lumoctl reveals: --listing needs a listing number\nusage:\n"
                    << revealsCommandUsage();
                return 2;
            }
        } else if (a == "--user" && hasValue) {
            filter.user = QString::fromUtf8(args[++i].c_str());
        } else {
            err << "lumoctl reveals: unexpected argument '" << a << "'\nusage:\n"
                << revealsCommandUsage();
            return 2;
        }
    }
    const QString path = QDir(dir).absoluteFilePath(QStringLiteral("lumo.fc"));
    if (!QFileInfo(dir).isDir()) {
        err << "lumoctl reveals: no folder " << QFile::encodeName(dir).constData() << '\n';
        return 1;
    }

    QList<Reveal> rows;
    try {
        // Opening brings an older register up to date, as the program does.
        Tsj sj(path);
        rows = readReveals(sj.lumo1(), filter);
    } catch (const DataError& e) {
        err << "lumoctl reveals: ";
        line(err, e.text());
        return 1;
    }

    const QStringList header = {QStringLiteral("时间"),     QStringLiteral("序号"),
                                QStringLiteral("用户"),     QStringLiteral("姓名"),
                                QStringLiteral("登录用户"), QStringLiteral("登录姓名")};
    QString (*field)(const QString&) = csv ? csvField : textField;
    const QChar separator = csv ? QLatin1Char(',') : QLatin1Char('\t');
    line(out, header.join(separator));
    for (const Reveal& r : rows) {
        QStringList cells;
        for (const QString& cell :
             {r.time, r.serial.toString(), r.user, r.name, r.loginUser, r.loginName})
            cells << field(cell);
        line(out, cells.join(separator));
    }
    if (!csv)
        line(out, QStringLiteral("共 %1 条记录").arg(rows.size()));
    return 0;
}

} // namespace lumo
