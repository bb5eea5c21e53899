#include "Looks.h"

namespace lumo
{

StoredLook parseStoredLook(const QString& jm)
{
    StoredLook result;
    if (jm.isEmpty())
        return result;
    switch (jm.at(0).unicode()) {
    case u'2':
        result.look = Look::Mosphere;
        break;
    case u'3':
        result.look = Look::UserSkin;
        result.skinFile = jm.mid(1, kMaxSkinPathLength);
        break;
    case u'4':
        result.look = Look::Plain;
        break;
    default:
        break;
    }
    return result;
}

QString storedLookText(Look look, const QString& skinFile)
{
    switch (look) {
    case Look::WinXpBlue:
        return QStringLiteral("1");
    case Look::Mosphere:
        return QStringLiteral("2");
    case Look::UserSkin:
        return QStringLiteral("3") + skinFile;
    case Look::Plain:
        return QStringLiteral("4");
    }
    return QStringLiteral("1");
}

QList<QColor> presetCustomColors()
{
    QList<QColor> colors{QColor(0xEF, 0xEC, 0xDE), QColor(0x5C, 0x8A, 0xDE),
                         QColor(0xAD, 0xCF, 0xB3), QColor(0x3F, 0x7E, 0x7E),
                         QColor(0xF9, 0xFA, 0xDE)};
    while (colors.size() < 16)
        colors.append(QColor(Qt::white));
    return colors;
}

QColor initialDialogColor()
{
    return QColor(0xF9, 0xFA, 0xDE);
}

} // namespace lumo
