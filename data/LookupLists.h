#pragma once
#include <QList>
#include <QString>
#include <QStringList>

namespace lumo
{

class SettingsStore;

// The three lookup lists of "lumo.ini": districts (gj), orientations (cx)
// and layouts (hx). A section holds a count "s" and entries "s1" ... "sN".
struct LookupSection {
    QString section;      // "gj", "cx", "hx"
    int defaultCount;     // the count read when "s" is absent
    QStringList defaults; // written into empty default keys at start
    QString allItem;      // first item of the search check list
    QString otherItem;    // fixed last item
};

const QList<LookupSection>& lookupSections();
const LookupSection& lookupSection(const QString& section);

// Writes the default of every default key (s1 ... s6 of gj, s1 ... s10 of
// cx and hx) that reads as empty. The count "s" is never written here.
void writeLookupDefaults(const SettingsStore& store, const LookupSection& section);

// The entries 1 ... s of a section; a missing entry reads as the empty
// text. A count that is not a whole number raises DataError.
QStringList readLookupList(const SettingsStore& store, const LookupSection& section);

} // namespace lumo
