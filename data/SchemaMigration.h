#pragma once
// Versions of the register's schema. The version lives in the database
// file itself (PRAGMA user_version); version 0 is the register as first
// delivered. Opening a register of an older version brings it up to date:
// the file is copied into the "bak" folder beside it first, then every
// missing step runs, all in one transaction, so the register is either left
// at its old version or reaches the current one. A register of a newer
// version than this program knows is refused and left unchanged.
//
// Adding a version: append one step to the table in SchemaMigration.cpp and
// make data/schema.sql (the delivered database) produce the same schema with
// the new user_version.
#include <QSqlDatabase>
#include <QString>
#include <QStringList>

#include <vector>

namespace lumo
{

struct MigrationStep {
    // The version the register has after this step.
    int version;
    // What the step adds, for the developer notes and error texts.
    QString description;
    // Statements run in order inside the migration's transaction.
    QStringList statements;
};

// The steps of this program, in ascending version order (1, 2, ...).
const std::vector<MigrationStep>& migrationSteps();
// The version this program writes: that of the last step.
int currentSchemaVersion();

// The register's version (PRAGMA user_version). Throws DataError.
int schemaVersion(const QSqlDatabase& db);

struct MigrationResult {
    int fromVersion = 0;
    int toVersion = 0;
    // The copy made before migrating; empty when nothing had to be done.
    QString backupPath;
};

// Brings the open register `db`, whose file is `path`, up to the version of
// the last of `steps`. Throws DataError with a Chinese text when the
// register is newer than the steps know (nothing is changed), when the copy
// cannot be made (nothing is changed) or when a step fails (the transaction
// is rolled back; the register keeps its old version).
MigrationResult migrateSchema(QSqlDatabase& db, const QString& path,
                              const std::vector<MigrationStep>& steps = migrationSteps());

// The version of the database file `path`, read without changing it; -1
// when the file cannot be read as a database.
int fileSchemaVersion(const QString& path);

// The name of the copy taken before migrating the register `path` from
// `version`: "lumo-v<version>-before-migration-<yyyyMMdd-HHmmss>.fc" in the
// "bak" folder beside it. Slot files are named after the long date and end
// in ".bak", so the two never meet; a second migration within one second
// gets a counter.
QString migrationBackupPath(const QString& path, int version);

} // namespace lumo
