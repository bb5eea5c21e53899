// Appearance entries of the main window: looks, colours and small tools.
#include "AppContext.h"
#include "Colors.h"
#include "SettingsStore.h"
#include "Tmain.h"

#include <QMdiArea>

namespace lumo {

void Tmain::connectLookEntries() {}

void Tmain::applyStoredLook()
{
    QColor color;
    if (colorFromText(m_ctx.store.ReadAppValue(QStringLiteral("rgb")), &color))
        mdiArea()->setBackground(color);
}

} // namespace lumo
