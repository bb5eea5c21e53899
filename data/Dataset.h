#pragma once
#include <QHash>
#include <QObject>
#include <QSqlQuery>
#include <QStringList>
#include <QVariant>
#include <QVector>

#include <memory>
#include <vector>

namespace lumo
{

// A dataset over one table or one SELECT statement of a QtSql connection,
// with the cursor operations the windows rely on: open and close, first /
// next / last and the end-of-data test, field values by name, insert / edit
// / post / delete and locate. Every grid and data-aware box bound to a
// dataset shares its one current row.
//
// Rows are identified by their rowid. A query of the form "select * from
// <table> ..." knows its whole row list when it opens (the row ids of the
// result, which the engine finds without reading the rows); a table reads
// its row list lazily as views or scans move forward. Only a bounded number
// of rows keep their values in memory; the others are read again by rowid,
// a block of neighbouring rows at a time, so a dataset over a register of
// hundreds of thousands of rows stays small and any row is reached at once.
//
// Failures raise DataError with the engine's text.
class Dataset : public QObject
{
    Q_OBJECT
public:
    enum class State { Inactive, Browse, Edit, Insert };

    explicit Dataset(QString connectionName, QObject* parent = nullptr);
    ~Dataset() override;

    QString connectionName() const { return m_connection; }
    void setConnectionName(const QString& name) { m_connection = name; }

    // A table dataset delivers the table's rows in natural (rowid) order.
    void setTableName(const QString& table);
    QString tableName() const { return m_table; }

    // A query dataset runs its statement: a list of lines joined with line
    // breaks. Statements of the form "select * from <table> ..." can be
    // edited and deleted from; other result sets are read-only. Opening a
    // statement that returns no result set carries it out and then raises
    // DataError.
    void clearSql();
    void addSql(const QString& line);
    void setSql(const QStringList& lines);
    QStringList sql() const { return m_sql; }
    QString sqlText() const { return m_sql.join(QLatin1Char('\n')); }
    bool isQuery() const { return m_table.isEmpty() || !m_sql.isEmpty(); }

    void open();
    void close();
    void setActive(bool active);
    bool active() const { return m_state != State::Inactive; }
    State state() const { return m_state; }
    // Reads the rows again, keeping the current row where it can.
    void refresh();

    // Navigation. eof() is true after next() from the last row and on an
    // empty dataset; bof() after first() or prior() from the first row.
    void first();
    void next();
    void prior();
    void last();
    bool eof() const { return m_eof; }
    bool bof() const { return m_bof; }
    bool isEmpty();
    // Current row index (0-based), -1 when there is none.
    int recNo() const { return m_current; }
    bool moveTo(int row);

    // Rows known so far (a query's whole result once open); reading more
    // happens on demand.
    int loadedCount() const { return int(m_rowids.size()); }
    bool allLoaded() const { return !hasMore(); }
    void fetchMore(int rows = 256);
    // Reads the whole result to count it.
    int recordCount();

    // Fields.
    QStringList fieldNames() const { return m_fields; }
    int fieldCount() const { return m_fields.size(); }
    int fieldIndex(const QString& field) const;
    bool hasField(const QString& field) const { return fieldIndex(field) >= 0; }
    QString declaredType(int column) const;

    // The current row's value (or the edit buffer's while editing):
    // text, number, QDate for date fields, bool for yes/no fields, or a null
    // QVariant. Throws DataError for an unknown field.
    QVariant value(const QString& field) const;
    QString displayText(const QString& field) const;
    void setValue(const QString& field, const QVariant& value);
    QVariant valueAt(int row, int column);
    QString displayTextAt(int row, int column);
    QString displayString(int column, const QVariant& value) const;

    // Row changes. insert() and append() start a new row that becomes the
    // current row at the end of the dataset when posted (moving to another
    // row posts a changed row and drops an untouched one); post() writes the
    // edit buffer; remove() deletes the current row and makes the next one
    // current (the previous one after the last).
    void insert();
    void append();
    void edit();
    void post();
    void cancel();
    void remove();
    // Sets one field of row `row` and posts it (used by editable grids).
    void setValueAt(int row, int column, const QVariant& value);

    // Moves to the first row whose field equals value exactly
    // (case-sensitive, whole value). Returns whether one was found.
    bool locate(const QString& field, const QVariant& value);

signals:
    void activeChanged(bool active);
    // The row list was replaced (open, close, refresh).
    void rowsReset();
    // Rows [first, last] were read and appended to the row list.
    void rowsAppended(int first, int last);
    void rowRemoved(int row);
    void rowChanged(int row);
    void currentRowChanged(int row);
    void stateChanged();

private:
    using Row = QVector<QVariant>;

    QSqlDatabase database() const;
    void setState(State s);
    void setCurrent(int row, bool notify = true);
    void openRows();
    // Before moving: posts a changed row, drops an untouched one.
    void checkBrowseMode();
    void resetRows();
    void readRowids(const QString& statement);
    // Reads the values of the not yet cached rows of the block around `row`
    // in one statement.
    void loadBlock(int row);
    void readColumns(const QString& table);
    const Row& rowValues(int row);
    void cacheRow(qint64 rowid, Row values);
    // Forgets the values of every row but the current one.
    void dropCache();
    QVariant fromStorage(int column, const QVariant& v) const;
    QVariant toStorage(int column, const QVariant& v) const;
    bool ensureLoaded(int row);
    // A table's rowids after the rows read so far, by rowid alone; the
    // running statement is finished, so no read lock stays held.
    void readRemainingRowids();
    // Reads the next page of at most `rows` rows of a paged table.
    void fetchPage(int rows);
    void requireActive() const;
    void requireEditing(const char* op) const;
    [[noreturn]] void fail(const QSqlQuery& q) const;

    QString m_connection;
    QString m_table; // table of a table dataset, or of an editable query
    QStringList m_sql;
    State m_state = State::Inactive;

    QStringList m_fields;
    QStringList m_types; // declared types, upper case
    bool m_hasRowid = false;

    std::unique_ptr<QSqlQuery> m_source; // still delivering rows
    // A table whose further rows are read page by page after the last rowid
    // read, each page a statement of its own: an open table holds no read
    // lock between pages, so other programs can commit meanwhile.
    bool m_paged = false;
    bool hasMore() const { return m_source || m_paged; }
    std::vector<qint64> m_rowids; // row list (rowid, or index for read-only)
    QHash<qint64, Row> m_cache;   // values of recently used rows
    int m_current = -1;
    bool m_eof = true;
    bool m_bof = true;

    Row m_buffer;             // edit / insert buffer
    QVector<bool> m_modified; // fields set in the buffer
};

} // namespace lumo
