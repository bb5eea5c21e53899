#pragma once
// The database in and out of archives (slot files, the working archive, the
// exchange file): packing a consistent copy, and unpacking only the
// database entry of an archive that may come from outside.
#include "DataOperation.h"

#include <string>
#include <vector>

namespace lumo
{

// The file name of the database entry in every archive the program writes
// and the only entry it takes out of one.
inline constexpr const char* kDatabaseEntry = "lumo.fc";

// Packs the database `database` into the archive `archiveName`. The archive
// is made from a copy taken through the engine in one read transaction
// (another program writing meanwhile cannot tear it), kept in a temporary
// folder beside the database and stored under the database's own name.
// False with the reasons in `errors`.
bool archiveDatabase(DataEnv& env, const QString& database, const QString& archiveName,
                     std::vector<std::string>& errors);

// Unpacks the entry whose file name is "lumo.fc" (the first one, letter case
// ignored) of `archiveName` into `folder` as "lumo.fc"; every other entry is
// passed over and nothing else is written. True when that entry was
// unpacked completely and the archive had no error.
bool unpackDatabase(DataEnv& env, const QString& archiveName, const QString& folder,
                    std::vector<std::string>& errors);

} // namespace lumo
