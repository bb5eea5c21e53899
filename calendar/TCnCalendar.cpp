#include "TCnCalendar.h"

#include "DateCn.h"

#include <QAbstractItemView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QTextCharFormat>

namespace lumo
{

const QColor TCnCalendar::red(255, 0, 0);
const QColor TCnCalendar::green(0, 128, 0);

namespace
{

QString fromUtf8(const std::string& text)
{
    return QString::fromStdString(text);
}

QAbstractItemView* calendarView(const QCalendarWidget* widget)
{
    return widget->findChild<QAbstractItemView*>(QStringLiteral("qt_calendar_calendarview"));
}

} // namespace

TCnCalendar::TCnCalendar(QWidget* parent) : QCalendarWidget(parent)
{
    setFirstDayOfWeek(Qt::Sunday);
    setNavigationBarVisible(false);
    setVerticalHeaderFormat(QCalendarWidget::NoVerticalHeader);
    setHorizontalHeaderFormat(QCalendarWidget::ShortDayNames);
    setDateEditEnabled(false);
    setMinimumDate(QDate(1, 1, 1));
    // Weekends are drawn like every other day.
    QTextCharFormat plain;
    plain.setForeground(palette().color(QPalette::Text));
    setWeekdayTextFormat(Qt::Saturday, plain);
    setWeekdayTextFormat(Qt::Sunday, plain);

    // The view would otherwise select days of the neighbouring months and turn the page on
    // wheel turns and page keys.
    if (auto* view = calendarView(this)) {
        view->installEventFilter(this);
        view->viewport()->installEventFilter(this);
    }
    connect(this, &QCalendarWidget::selectionChanged, this, &TCnCalendar::OnChange);
}

LunarCell TCnCalendar::cellFor(const QDate& date, int mode)
{
    LunarCell cell;
    cell.text = QString::number(date.day());
    if (!DateCn::covers(date.year(), date.month(), date.day()))
        return cell;

    const LunarDate lunar = DateCn::SolarToLunar(date.year(), date.month(), date.day());
    const std::string dayName = DateCn::LunarDayName(lunar.day);
    const std::string monthName = DateCn::LunarMonthName(lunar.month);
    if (dayName == "初一") {
        cell.text +=
            monthName == "正月" ? QStringLiteral(" 新年") : QLatin1Char(' ') + fromUtf8(monthName);
        cell.mark = red;
    } else if (mode == 0) {
        const int term = DateCn::SolarTermIndex(date.year(), date.month(), date.day());
        if (term != 0) {
            cell.text += QLatin1Char(' ') + fromUtf8(DateCn::SolarTermNameByIndex(term));
            cell.mark = green;
        } else if (monthName == "腊月" && dayName == "廿三") {
            cell.text += QStringLiteral(" 小年");
            cell.mark = red;
        } else {
            cell.text += QLatin1Char(' ') + fromUtf8(dayName);
        }
    } else if (mode == 1) {
        cell.text +=
            QLatin1Char(' ') + fromUtf8(DateCn::DayGanZhi(date.year(), date.month(), date.day()));
    }
    return cell;
}

CellLook TCnCalendar::look(const QDate& date) const
{
    const LunarCell cell = cellFor(date, m_tag);
    const bool selected = date == selectedDate();
    CellLook result;
    result.text = cell.text;
    result.background = palette().color(selected ? QPalette::Highlight : QPalette::Base);
    if (cell.mark.isValid())
        result.foreground = cell.mark;
    else
        result.foreground = palette().color(selected ? QPalette::HighlightedText : QPalette::Text);
    return result;
}

void TCnCalendar::setTag(int tag)
{
    if (tag == m_tag)
        return;
    m_tag = tag;
    updateCells();
}

bool TCnCalendar::setYear(int year)
{
    if (year <= 0 || year == Year())
        return true;
    return changeDate(year, Month(), Day());
}

bool TCnCalendar::setMonth(int month)
{
    if (month <= 0 || month > 12 || month == Month())
        return true;
    return changeDate(Year(), month, Day());
}

bool TCnCalendar::setDay(int day)
{
    if (day <= 0 || day == Day() || day > selectedDate().daysInMonth())
        return true;
    return changeDate(Year(), Month(), day);
}

bool TCnCalendar::changeDate(int year, int month, int day)
{
    const QDate date(year, month, day);
    if (!date.isValid())
        return false;
    setSelectedDate(date);
    return selectedDate() == date;
}

QString TCnCalendar::snnz() const
{
    return fromUtf8(DateCn::YearGanZhi(Year()));
}

QString TCnCalendar::snyz() const
{
    if (!DateCn::covers(Year(), Month(), Day()))
        return QString();
    return fromUtf8(DateCn::LunarMonthGanZhi(Year(), Month(), Day()));
}

QString TCnCalendar::snrz() const
{
    if (!DateCn::covers(Year(), Month(), Day()))
        return QString();
    return fromUtf8(DateCn::DayGanZhi(Year(), Month(), Day()));
}

QString TCnCalendar::sz() const
{
    if (!DateCn::covers(Year(), Month(), Day()))
        return QString();
    return fromUtf8(DateCn::GanZhiText(Year(), Month(), Day()));
}

bool TCnCalendar::inShownMonth(const QDate& date) const
{
    return date.year() == yearShown() && date.month() == monthShown();
}

void TCnCalendar::paintCell(QPainter* painter, const QRect& rect, QDate date) const
{
    painter->save();
    if (!inShownMonth(date)) {
        painter->fillRect(rect, palette().color(QPalette::Base));
    } else {
        const CellLook cell = look(date);
        painter->fillRect(rect, cell.background);
        painter->setFont(font());
        painter->setPen(cell.foreground);
        painter->drawText(rect, Qt::AlignCenter, cell.text);
    }
    painter->restore();
}

// The view's rows are the weekday header (row 0) and six weeks. Days of the previous month
// can only stand in the first week, those of the next month only in the last two.
bool TCnCalendar::isOutsideCellAt(const QPoint& pos) const
{
    const QAbstractItemView* view = calendarView(this);
    const QModelIndex index = view->indexAt(pos);
    if (!index.isValid() || index.row() == 0)
        return false;
    bool ok = false;
    const int day = index.data(Qt::DisplayRole).toInt(&ok);
    if (!ok || day <= 0)
        return false;
    return (index.row() == 1 && day > 7) || (index.row() >= 4 && day < 15);
}

bool TCnCalendar::keyLeavesMonth(int key, Qt::KeyboardModifiers modifiers) const
{
    int step = 0;
    switch (key) {
    case Qt::Key_Left:
        step = -1;
        break;
    case Qt::Key_Right:
        step = 1;
        break;
    case Qt::Key_Up:
        step = -7;
        break;
    case Qt::Key_Down:
        step = 7;
        break;
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_Home:
    case Qt::Key_End:
        return true;
    default:
        return false;
    }
    if (modifiers & Qt::ControlModifier)
        return true;
    if (layoutDirection() == Qt::RightToLeft && (step == 1 || step == -1))
        step = -step;
    const QDate target = selectedDate().addDays(step);
    return target.month() != Month() || target.year() != Year();
}

bool TCnCalendar::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove: {
        auto* mouse = static_cast<QMouseEvent*>(event);
        const QAbstractItemView* view = calendarView(this);
        if (view && watched == view->viewport() && isOutsideCellAt(mouse->position().toPoint()))
            return true;
        break;
    }
    case QEvent::Wheel:
        return true;
    case QEvent::KeyPress: {
        auto* key = static_cast<QKeyEvent*>(event);
        if (keyLeavesMonth(key->key(), key->modifiers()))
            return true;
        break;
    }
    default:
        break;
    }
    return QCalendarWidget::eventFilter(watched, event);
}

} // namespace lumo
