#pragma once
// Repair and compaction of the database file.
#include "DataOperation.h"
#include "DatabaseFile.h"

namespace lumo
{

// Writes a compacted copy of the database `source` to `target` after the
// engine's integrity check passed. `target` must not exist or be an empty
// file. True when the copy was written; the source is never changed. Raises
// nothing.
bool CompactJetFile(const QString& source, const QString& target);

// Closes the data module's connection, compacts the database into
// "lumo.~fc" and renames that over "lumo.fc". On success the program must
// end (`closeProgram`); on failure the database file is unchanged.
DataResult compactDatabase(DataEnv& env);

} // namespace lumo
