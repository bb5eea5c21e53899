#pragma once
// A file layer for the database engine that fails after N bytes: it wraps
// the engine's default file system and takes every byte the engine writes
// (database, journal and log files) from the same write budget as the
// archive component and the operations' own copies (FileFaults.h). Once the
// budget is spent every write fails as on a full disk.
namespace lumo::test
{

// Makes the counting file layer the engine's default for every connection
// opened afterwards (the Qt driver's included). Safe to call repeatedly.
void installFaultyVfs();

} // namespace lumo::test
