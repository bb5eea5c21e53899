#pragma once
// Skins are Qt style sheets applied to the whole application, so every
// open window changes at once. Two are built in; a user's skin is a
// "skin.ini" description file naming a style sheet in its own folder:
//
//   [Skin]
//   Name=海蓝
//   StyleSheet=skin.qss
//
// Relative url(...) references in that style sheet are taken from the
// skin's folder.
#include "Looks.h"

#include <QString>

namespace lumo
{

// The style sheet of "winxpblue" or "mosphere"; empty for the others.
QString builtInStyleSheet(Look look);

struct UserSkin {
    QString name;
    QString styleSheet;
};

// Loads a user's skin; false (with a reason in `error`) when the file or
// its style sheet cannot be read.
bool loadUserSkin(const QString& iniFile, UserSkin* skin, QString* error = nullptr);

// Turns the relative url(...) references of a style sheet into absolute
// paths under `folder`.
QString resolveSkinUrls(const QString& styleSheet, const QString& folder);

// Applies a look to the whole application and returns the look in effect:
// a user's skin that cannot be loaded falls back to "winxpblue".
Look applyLook(const StoredLook& look);

} // namespace lumo
