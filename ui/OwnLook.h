#pragma once
// A window's own colours and fonts, and how they win over the look.
//
// The looks are application-wide style sheets, and a style sheet decides
// over palettes and fonts set in code: a grid's palette loses against the
// look's "QTableView { background-color }", a font set on a window no longer
// reaches controls the look has styled. So what a window sets as its own goes
// into the widget's own style sheet, which Qt prefers to the application's
// whatever the selectors; it shows the same under the plain look. Each
// widget keeps one generated block; every call rebuilds it, so a colour set
// twice is replaced, and the rest of the widget's style sheet stays.
#include <QColor>
#include <QFont>
#include <QString>

class QAbstractItemView;
class QHeaderView;
class QWidget;

namespace lumo
{

class SettingsStore;

// Background of a window body or panel: the widget itself, not its children.
void setOwnBackground(QWidget* widget, const QColor& color);
// Cell background of a grid; alternating rows, where a grid uses them, take
// a shade of the same colour.
void setOwnGridColor(QAbstractItemView* grid, const QColor& color);
// Title background of a grid's header.
void setOwnHeaderColor(QHeaderView* header, const QColor& color);
// Text colour of a control; an invalid colour gives the text back to the look.
void setOwnTextColor(QWidget* widget, const QColor& color);
// The parts of `font` that are set (family, size, weight, italic), for the
// widget and everything in it. A font with nothing set gives the fonts back
// to the look.
void setOwnFont(QWidget* widget, const QFont& font);
// The widget's style sheet besides its own colours and fonts (for rules a
// window writes itself); its own colours and fonts stay.
void setOwnStyleSheet(QWidget* widget, const QString& sheet);

// The stored window colour "rgb" and grid colour "bgrgb"; `fallback` (the
// window's design colour) when nothing readable is stored.
QColor storedWindowColor(const SettingsStore& store, const QColor& fallback);
QColor storedGridColor(const SettingsStore& store, const QColor& fallback);

} // namespace lumo
