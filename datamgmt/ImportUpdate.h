#pragma once
// The heart of the import by update: which listings of the update database
// the register lacks, and adding them.
#include <QSqlDatabase>

#include <cstdint>

namespace lumo
{

class DataProgress;

// Adds to the table fcxx of `reg` every row of fcxx of `ext`, in its natural
// order, whose eleven compared fields (comparedFields()) no register row
// holds, rows added before it included. A new row gets the serial number
// after the register's last row (1 when that is missing or not above 0) and
// the fifteen copied fields (copiedFields()). Equal means: texts and blobs
// byte for byte, numbers by value (3 equals 3.0), null only null.
//
// The test keeps one 64-bit hash and the rowid per register row (16 bytes),
// computed from the engine's values without building texts; rows whose hash
// matches are compared with the stored row, so a collision never hides a
// listing. The caller holds the transaction. Returns the number of rows
// added; failures raise DataError with the engine's text. Bar 1 follows the
// exchange rows, bar 2 the register rows read.
qint64 addMissingListings(QSqlDatabase reg, QSqlDatabase ext, DataProgress& progress);

// For tests: replaces the last step of making a row's key (nullptr puts the
// real one back), so that keys of different rows can be made to collide.
void setRowKeyFinishForTesting(std::uint64_t (*finish)(std::uint64_t));

} // namespace lumo
