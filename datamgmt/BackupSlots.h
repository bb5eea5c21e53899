#pragma once
// The ring of five dated backups of the database under "bak": the backup
// taken when the main window closes (at most once a day) and the restore of
// a slot.
#include "DataOperation.h"

#include <QDate>

namespace lumo
{

class SettingsStore;

// Registry product of the slot values.
inline constexpr const char* kSlotProduct = "Velmora";
inline constexpr int kSlotCount = 5;

// The date text of a backup: the long date format ("2026年12月9日星期三"). It is
// the slot file's base name and the restore entry's caption.
QString slotDateText(const QDate& date);
// The slot written after the one named by "cs": 1 after an empty or unusable
// value, 1 after 5.
int nextSlot(const QString& cs);
// The date text held by slot 1..5 (empty while the slot is unused).
QString slotName(const SettingsStore& store, int slot);
// The slot file of a date text.
QString slotFile(const Folders& folders, const QString& dateText);

// The closing backup. Today's archive is made first in the working archive
// "fcxx.vvv"; only when it is complete does it become the slot file, the
// slot's previous file go and "cs" and the slot name change. A failure keeps
// the ring and the registry as they were, so the next close tries again.
// `skipped` is set when today's backup exists already.
DataResult closingBackup(DataEnv& env);

// Writes slot `slot`'s backup back over the database. The archive is
// unpacked into a temporary folder beside the database and replaces it only
// when complete; the data module is connected again afterwards either way.
DataResult restoreSlot(DataEnv& env, int slot);
// The same for the backup of date text `name` (a restore entry's caption).
DataResult restoreBackup(DataEnv& env, const QString& name);

} // namespace lumo
