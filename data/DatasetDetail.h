#pragma once
// Small pieces shared by the files of the dataset: identifier quoting, the
// declared-type tests and the engine's error text.
#include <QSqlError>
#include <QString>

namespace lumo::dataset_detail
{

// Rows whose values stay in memory; the rest are read again by rowid.
constexpr int kCacheLimit = 4096;

inline QString quoted(const QString& name)
{
    QString n = name;
    n.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + n + QLatin1Char('"');
}

inline bool isDateType(const QString& t)
{
    return t.contains(QLatin1String("DATE")) || t.contains(QLatin1String("TIME"));
}

inline bool isBoolType(const QString& t)
{
    return t.contains(QLatin1String("BOOL")) || t == QLatin1String("BIT") ||
           t == QLatin1String("YESNO");
}

inline bool isIntType(const QString& t)
{
    return t.contains(QLatin1String("INT"));
}

inline bool isRealType(const QString& t)
{
    return t.contains(QLatin1String("REAL")) || t.contains(QLatin1String("FLOA")) ||
           t.contains(QLatin1String("DOUB")) || t.contains(QLatin1String("NUM")) ||
           t.contains(QLatin1String("DEC")) || t.contains(QLatin1String("CURR"));
}

inline QString engineText(const QSqlError& e)
{
    return e.databaseText().isEmpty() ? e.text() : e.databaseText();
}

} // namespace lumo::dataset_detail
