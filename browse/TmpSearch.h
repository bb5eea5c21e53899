#pragma once
#include <QString>
#include <QStringList>

namespace lumo
{

// The lines of the business-card search over the table dh: every card with a
// positive number whose name, address and telephone contain the filled
// boxes' texts. Texts go in as typed (a text of blanks counts as filled);
// apostrophes are doubled so that they stay inside the quoted text.
QStringList cardSearchStatement(const QString& name, const QString& address,
                                const QString& telephone);

} // namespace lumo
