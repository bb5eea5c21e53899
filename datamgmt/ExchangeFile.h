#pragma once
// The exchange file "fcsj.su": an archive of the database that agencies pass
// to each other. Export writes it; the imports read it by update (new
// listings only) or by replacement (the whole database).
#include "DataOperation.h"

#include <QByteArray>
#include <QStringList>
#include <QVariant>

namespace lumo
{

// The eleven fields of the duplicate test, in order.
const QStringList& comparedFields();
// The fifteen fields copied into a new register row, in order.
const QStringList& copiedFields();

// Writes "fcsj.su" in the current folder. The archive is made beside it and
// replaces an earlier exchange file only when complete.
DataResult exportExchange(DataEnv& env);

// Adds the listings of the application folder's "fcsj.su" that the register
// does not hold (same eleven compared fields), numbered after the register's
// last row, all in one transaction: a failure adds nothing.
DataResult importByUpdate(DataEnv& env);

// Replaces the database by the one in "fcsj.su" (the caller asked first).
// The data module's connection is closed; the new database is copied beside
// "lumo.fc" and renamed over it, so a failure leaves the old one in place.
// On success the program must end (`closeProgram`).
DataResult importByReplacement(DataEnv& env);

} // namespace lumo
