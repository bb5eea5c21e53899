#include "Looks.h"

#include "Colors.h"
#include "SettingsStore.h"

#include <QTableView>
#include <QWidget>

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

namespace
{

// Our own rule is kept between these markers in the widget's style sheet so
// that a second call replaces it and other rules stay.
const QString kBegin = QStringLiteral("/*lumo-background*/");
const QString kEnd = QStringLiteral("/*end-lumo-background*/");

QString withoutOwnRule(const QString& sheet)
{
    const int begin = sheet.indexOf(kBegin);
    if (begin < 0)
        return sheet;
    const int end = sheet.indexOf(kEnd, begin);
    if (end < 0)
        return sheet.left(begin);
    return sheet.left(begin) + sheet.mid(end + kEnd.size());
}

} // namespace

void setOwnBackground(QWidget* widget, const QColor& color)
{
    if (!widget)
        return;
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, color);
    palette.setColor(QPalette::Base, color);
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);

    // A style sheet rule on the widget itself, matched by its object name,
    // so that the application's look does not paint over the colour and
    // the children keep their own look.
    if (widget->objectName().isEmpty())
        widget->setObjectName(QStringLiteral("lumoColored%1").arg(quintptr(widget), 0, 16));
    widget->setAttribute(Qt::WA_StyledBackground, true);
    const QString selector = QLatin1Char('#') + widget->objectName();
    const QString rule = kBegin + selector + QStringLiteral(" { background-color: ") +
                         color.name() + QStringLiteral("; }") + kEnd;
    widget->setStyleSheet(withoutOwnRule(widget->styleSheet()) + rule);
}

bool applyWindowColor(QWidget* widget, const SettingsStore& store)
{
    QColor color;
    if (!widget || !colorFromText(store.ReadAppValue(QStringLiteral("rgb")), &color))
        return false;
    setOwnBackground(widget, color);
    return true;
}

bool applyGridColor(QTableView* grid, const SettingsStore& store)
{
    QColor color;
    if (!grid || !colorFromText(store.ReadAppValue(QStringLiteral("bgrgb")), &color))
        return false;
    setOwnBackground(grid, color);
    return true;
}

} // namespace lumo
