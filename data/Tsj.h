#pragma once
#include <QObject>
#include <QSqlDatabase>

namespace lumo
{

class Dataset;
class DataSource;

// The data module: the connection lumo1 to "lumo.fc", the connection lwb to
// "lumo.up" used while an exchange file is imported, and every dataset the
// windows share. One instance lives from start to end of the program.
//
// Creating it connects lumo1 (read-write, never creating the file: a
// missing "lumo.fc" raises DataError with the engine's text), brings a
// register of an older schema version up to date (SchemaMigration.h; a
// newer one raises DataError) and opens ADOTable1, ADOTable3, ADOTable4, ma
// and dj on their first rows.
class Tsj : public QObject
{
    Q_OBJECT
public:
    // databasePath: "lumo.fc" resolves in the current folder.
    explicit Tsj(const QString& databasePath = QStringLiteral("lumo.fc"),
                 QObject* parent = nullptr);
    ~Tsj() override;

    QSqlDatabase lumo1() const;
    QString lumo1Name() const { return m_lumo1; }
    QString databasePath() const { return m_path; }
    bool lumo1Connected() const;
    // Disconnecting closes every dataset on lumo1 first.
    void disconnectLumo1();
    // Connects lumo1 again and opens the tables that are open at start.
    void connectLumo1();

    QSqlDatabase lwb() const;
    QString lwbName() const { return m_lwb; }
    // Connects lwb to the given update database (default "lumo.up").
    void connectLwb(const QString& path = QStringLiteral("lumo.up"));
    void disconnectLwb();

    // Search result, register, print list, business cards (table and
    // search), users, access levels, the register of an imported database.
    Dataset* ADOQuery1;
    Dataset* ADOTable1;
    Dataset* ADOTable3;
    Dataset* ADOTable4;
    Dataset* ADOQuery2;
    Dataset* ma;
    Dataset* dj;
    Dataset* wb;

    DataSource* DataSource1; // ADOQuery1
    DataSource* DataSource2; // ADOTable3
    DataSource* DataSource3; // ADOTable1
    DataSource* DataSource5; // ADOTable4 or ADOQuery2
    DataSource* ma1;
    DataSource* dj1;
    DataSource* wb1;

private:
    void openMain(QSqlDatabase& db, const QString& path);
    Dataset* makeDataset(const char* name, const QString& connection, const QString& table);

    QString m_path;
    QString m_lumo1;
    QString m_lwb;
};

} // namespace lumo
