#pragma once
// The database file as a whole, through the engine's own locking and
// journal: checking that a file can serve as the register, taking a
// consistent copy of it, and writing new content into it.
#include <QString>

namespace lumo
{

class DataProgress;

// Empty when `path` is a sound database (the engine's integrity check
// passes) holding the five tables fcxx, fzxx, dh, ma and jb with every field
// the program names; else the reason it is not. Further tables and fields
// are allowed.
QString databaseProblem(const QString& path);

// Removes the engine's files beside `database` (its journal, WAL and shared
// memory), each where present. False with `error` set to the first that
// could not be removed.
bool removeSideFiles(const QString& database, QString* error = nullptr);

// Copies the database `source` into the new file `copy` through the engine,
// as one read transaction: a program writing meanwhile cannot tear the copy,
// and rows still in a "-wal" file are included. The copy uses the rollback
// journal. False with `error` set on failure (the copy is then removed).
bool snapshotDatabase(const QString& source, const QString& copy, QString* error);

// The outcome of putting a database in place.
struct PlaceResult {
    bool ok = false;
    // Another program holds a transaction on the target: nothing changed.
    bool busy = false;
    QString error;
};

// Writes the content of the database `source` into the database file
// `target` with the engine's online backup: it takes the target's write
// lock (another program's transaction makes it fail with `busy`, nothing
// changed), works under the target's journal (a process that dies part-way
// leaves the old content, restored by the next connection), and every other
// connection sees the new content at once. A leftover journal of a crashed
// writer is rolled back first. A target that is missing or no database at
// all is replaced by renaming a complete copy over it. `source` must be a
// private file of the caller: it is switched to the rollback journal.
// `progress` may be null; its processEvents runs between chunks.
PlaceResult placeDatabase(const QString& source, const QString& target, DataProgress* progress);

} // namespace lumo
