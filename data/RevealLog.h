#pragma once
// The record of who saw an owner's details (table fzck): one row for every
// password accepted in the owner-details window.
#include <QList>
#include <QSqlDatabase>
#include <QString>
#include <QVariant>

namespace lumo
{

struct Reveal {
    // The listing's serial number (null when the listing had none).
    QVariant serial;
    // The users row whose password was accepted: level and name.
    QString user;
    QString name;
    // The user logged in at the main window: level and name.
    QString loginUser;
    QString loginName;
    // ISO date and time, "yyyy-MM-ddTHH:mm:ss".
    QString time;
};

struct RevealFilter {
    // A listing's serial number; empty for all. Text that is not a whole
    // number matches nothing.
    QString serial;
    // Part of a level or a name, of the accepted or of the logged-in user
    // (case-sensitive); empty for all.
    QString user;
};

// Adds one row. Throws DataError.
void recordReveal(const QSqlDatabase& db, const Reveal& reveal);
// The rows that match, newest first (by time, then by the order written).
// Throws DataError.
QList<Reveal> readReveals(const QSqlDatabase& db, const RevealFilter& filter = {});

} // namespace lumo
