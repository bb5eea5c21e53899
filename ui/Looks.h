#pragma once
// The four looks of the program, their stored form "jm" and the colour
// dialog's presets. A window's own colours and fonts over the look: OwnLook.h.
#include <QColor>
#include <QList>
#include <QString>

namespace lumo
{

enum class Look { WinXpBlue, Mosphere, UserSkin, Plain };

struct StoredLook {
    Look look = Look::WinXpBlue;
    // The skin description file of a user's skin (Look::UserSkin only).
    QString skinFile;
};

// The longest user's skin path read back from "jm".
constexpr int kMaxSkinPathLength = 100;

// Reads a stored "jm": "2" mosphere, "3<path>" a user's skin (path cut at
// 100 characters), "4" plain; anything else, the empty value included,
// is winxpblue.
StoredLook parseStoredLook(const QString& jm);
// The "jm" text for a look; the user's skin path is stored whole.
QString storedLookText(Look look, const QString& skinFile = QString());

// The five preset custom colours of the colour dialog followed by white
// for the remaining custom slots (16 in all).
QList<QColor> presetCustomColors();
// The colour the colour dialog starts at before any colour was confirmed.
QColor initialDialogColor();

} // namespace lumo
