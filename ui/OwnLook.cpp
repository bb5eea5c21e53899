#include "OwnLook.h"

#include "Colors.h"
#include "SettingsStore.h"

#include <QAbstractItemView>
#include <QHeaderView>
#include <QVariantMap>
#include <QWidget>

#include <optional>

namespace lumo
{

namespace
{

// The generated rules sit between these markers in the widget's style sheet.
const QString kBegin = QStringLiteral("/*own-look*/");
const QString kEnd = QStringLiteral("/*end-own-look*/");
// The widget's own rules by part, kept on the widget so that each call can
// rebuild the whole block.
const char* const kParts = "lumoOwnLook";
// The parts in the order their rules are written.
const char* const kOrder[] = {"background", "grid", "header", "text", "font"};

QString withoutOwnBlock(const QString& sheet)
{
    const qsizetype begin = sheet.indexOf(kBegin);
    if (begin < 0)
        return sheet;
    const qsizetype end = sheet.indexOf(kEnd, begin);
    if (end < 0)
        return sheet.left(begin);
    return sheet.left(begin) + sheet.mid(end + kEnd.size());
}

// The selector of the widget itself. A widget without a name gets one, as
// the rules must not reach its children.
QString selfSelector(QWidget* widget)
{
    if (widget->objectName().isEmpty())
        widget->setObjectName(QStringLiteral("ownLook%1").arg(quintptr(widget), 0, 16));
    return QLatin1Char('#') + widget->objectName();
}

void rebuild(QWidget* widget, const QString& rest)
{
    const QVariantMap parts = widget->property(kParts).toMap();
    QString block;
    for (const char* part : kOrder) {
        const QString rule = parts.value(QLatin1String(part)).toString();
        if (!rule.isEmpty())
            block += rule + QLatin1Char('\n');
    }
    QString sheet = rest;
    if (!block.isEmpty())
        sheet += kBegin + QLatin1Char('\n') + block + kEnd;
    if (sheet != widget->styleSheet())
        widget->setStyleSheet(sheet);
}

// Sets (or, with an empty rule, removes) one part of the widget's own rules.
void setPart(QWidget* widget, const char* part, const QString& rule)
{
    QVariantMap parts = widget->property(kParts).toMap();
    if (rule.isEmpty())
        parts.remove(QLatin1String(part));
    else
        parts.insert(QLatin1String(part), rule);
    widget->setProperty(kParts, parts);
    rebuild(widget, withoutOwnBlock(widget->styleSheet()));
}

QString colorText(const QColor& color)
{
    return color.name(QColor::HexRgb);
}

QString fontDeclarations(const QFont& font)
{
    QString d;
    const uint set = font.resolveMask();
    if (set & QFont::FamilyResolved) {
        QString family = font.family();
        family.replace(QLatin1Char('"'), QString());
        d += QStringLiteral("font-family: \"%1\"; ").arg(family);
    }
    if (set & QFont::SizeResolved) {
        if (font.pixelSize() > 0)
            d += QStringLiteral("font-size: %1px; ").arg(font.pixelSize());
        else
            d += QStringLiteral("font-size: %1pt; ").arg(font.pointSizeF());
    }
    if (set & QFont::WeightResolved)
        d += QStringLiteral("font-weight: %1; ").arg(int(font.weight()));
    if (set & QFont::StyleResolved)
        d += font.italic() ? QStringLiteral("font-style: italic; ")
                           : QStringLiteral("font-style: normal; ");
    return d;
}

std::optional<QColor> storedColor(const SettingsStore& store, const QString& name)
{
    QColor color;
    if (!colorFromText(store.ReadAppValue(name), &color))
        return std::nullopt;
    return color;
}

} // namespace

void setOwnBackground(QWidget* widget, const QColor& color)
{
    if (!widget || !color.isValid())
        return;
    // A plain widget paints a style-sheet background only when asked to.
    widget->setAttribute(Qt::WA_StyledBackground, true);
    setPart(widget, "background",
            selfSelector(widget) + QStringLiteral(" { background-color: ") + colorText(color) +
                QStringLiteral("; }"));
}

void setOwnGridColor(QAbstractItemView* grid, const QColor& color)
{
    if (!grid || !color.isValid())
        return;
    setPart(grid, "grid",
            selfSelector(grid) + QStringLiteral(" { background-color: ") + colorText(color) +
                QStringLiteral("; alternate-background-color: ") + colorText(color.darker(106)) +
                QStringLiteral("; }"));
}

void setOwnHeaderColor(QHeaderView* header, const QColor& color)
{
    if (!header || !color.isValid())
        return;
    setPart(header, "header",
            selfSelector(header) + QStringLiteral("::section { background-color: ") +
                colorText(color) + QStringLiteral("; }"));
}

void setOwnTextColor(QWidget* widget, const QColor& color)
{
    if (!widget)
        return;
    if (!color.isValid()) {
        setPart(widget, "text", QString());
        return;
    }
    setPart(widget, "text",
            selfSelector(widget) + QStringLiteral(" { color: ") + colorText(color) +
                QStringLiteral("; }"));
}

void setOwnFont(QWidget* widget, const QFont& font)
{
    if (!widget)
        return;
    const QString declarations = fontDeclarations(font);
    if (declarations.isEmpty()) {
        setPart(widget, "font", QString());
        return;
    }
    const QString self = selfSelector(widget);
    setPart(widget, "font",
            self + QStringLiteral(", ") + self + QStringLiteral(" * { ") + declarations +
                QLatin1Char('}'));
}

void setOwnStyleSheet(QWidget* widget, const QString& sheet)
{
    if (widget)
        rebuild(widget, withoutOwnBlock(sheet));
}

QColor storedWindowColor(const SettingsStore& store, const QColor& fallback)
{
    return storedColor(store, QStringLiteral("rgb")).value_or(fallback);
}

QColor storedGridColor(const SettingsStore& store, const QColor& fallback)
{
    return storedColor(store, QStringLiteral("bgrgb")).value_or(fallback);
}

} // namespace lumo
