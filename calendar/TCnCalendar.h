#pragma once
#include <QCalendarWidget>
#include <QColor>
#include <QDate>
#include <QString>

namespace lumo
{

// What a day cell of the lunar grid shows: the day number with its lunar text, and the
// colour of its mark (red or green), or an invalid colour for the grid's own font colour.
struct LunarCell {
    QString text;
    QColor mark;
};

// What is painted in a day cell: its text and final colours.
struct CellLook {
    QString text;
    QColor foreground;
    QColor background;
};

// A month grid whose day cells show, beside the day number, the lunar day name, the solar
// term, or the marks of a lunar month's first day, the lunar new year and the little new
// year (小年). The grid holds one selected date; cells outside the month stay empty and
// cannot be selected, and the grid never leaves its month on its own.
class TCnCalendar : public QCalendarWidget
{
    Q_OBJECT
public:
    static const QColor red;
    static const QColor green;

    explicit TCnCalendar(QWidget* parent = nullptr);

    // The cell of a date in drawing mode 0 (lunar names, terms, marks) or 1 (the day's stem
    // and branch). Dates outside 1901 to 2050 show only their number.
    static LunarCell cellFor(const QDate& date, int mode);

    // The cell of a day of the shown month as the grid paints it, with selection colours.
    CellLook look(const QDate& date) const;

    // Drawing mode, 0 unless set.
    int Tag() const { return m_tag; }
    void setTag(int tag);

    int Year() const { return selectedDate().year(); }
    int Month() const { return selectedDate().month(); }
    int Day() const { return selectedDate().day(); }
    // A value of 0 or below, the current value, a month above 12 or a day beyond the month's
    // length changes nothing and gives true. A combination that is no date (29 February in a
    // common year) is refused: the date stays and the result is false.
    bool setYear(int year);
    bool setMonth(int month);
    bool setDay(int day);

    // Stem-and-branch texts: of the grid's year, and of the selected date's lunar month,
    // day and all three. Empty outside 1901 to 2050.
    QString snnz() const;
    QString snyz() const;
    QString snrz() const;
    QString sz() const;

signals:
    // The selected date changed.
    void OnChange();

protected:
    void paintCell(QPainter* painter, const QRect& rect, QDate date) const override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool changeDate(int year, int month, int day);
    bool inShownMonth(const QDate& date) const;
    bool isOutsideCellAt(const QPoint& pos) const;
    bool keyLeavesMonth(int key, Qt::KeyboardModifiers modifiers) const;

    int m_tag = 0;
};

} // namespace lumo
