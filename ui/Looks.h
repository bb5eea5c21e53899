#pragma once
// The four looks of the program, their stored form "jm" and the stored
// window and grid colours ("rgb", "bgrgb") with the helpers that apply them.
#include <QColor>
#include <QList>
#include <QString>

class QTableView;
class QWidget;

namespace lumo
{

class SettingsStore;

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

// Window background colour "rgb": applied to `widget` (a window body) when
// stored; an empty or unreadable value leaves the widget as it is.
// Returns true when a colour was applied.
bool applyWindowColor(QWidget* widget, const SettingsStore& store);
// Grid background colour "bgrgb" for a grid opening now.
bool applyGridColor(QTableView* grid, const SettingsStore& store);

// Gives `widget` its own background colour so that it wins over the look's
// style sheet as well as over the palette.
void setOwnBackground(QWidget* widget, const QColor& color);

} // namespace lumo
