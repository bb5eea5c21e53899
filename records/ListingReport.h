#pragma once
#include <QDate>
#include <QList>
#include <QRectF>
#include <QString>
#include <QVector>

#include <functional>

class QPagedPaintDevice;

namespace lumo
{

class Dataset;

// One property of the print list, as its texts are printed.
struct ListingRow {
    QString district;
    QString address;
    QString layout;
    QString floor;
    QString orientation;
    QString age;
    QString ownership;
    QString area;
    QString price;
    QString remark;
};

// The listing printout: a title band on the first page, the column header
// on every page and one detail band per property, laid out in millimetres
// on A4 portrait with 10 mm margins. Works on any paged device (a printer or
// a PDF writer). Every text it draws is kept with its page and position, so
// the layout can be checked without reading the output back.
class ListingReport
{
public:
    struct DrawnText {
        int page;    // 1-based
        QRectF rect; // millimetres from the top left of the printable area
        QString text;
        double pointSize;
    };

    // Called after each detail band with the number of rows printed so far;
    // returning false stops the report there.
    using Progress = std::function<bool(int done, int total)>;

    // Rows per page: the first page carries the title band as well.
    static int rowsOnFirstPage();
    static int rowsOnFollowingPages();
    static int pageCount(int rows);

    // Reads the print list from the first to the last row and puts its
    // cursor back where it stood.
    static QVector<ListingRow> readRows(Dataset& printList);

    // Lays the report out on the device. Returns false when the device
    // cannot be painted on or when the progress callback stopped it.
    bool render(QPagedPaintDevice* device, const QVector<ListingRow>& rows,
                const QString& agencyName, const QString& telephone, const QDate& date,
                const Progress& progress = Progress());

    int pagesRendered() const { return m_pages; }
    const QList<DrawnText>& drawnTexts() const { return m_drawn; }
    // The texts drawn on one page, in drawing order.
    QStringList textsOnPage(int page) const;

private:
    QList<DrawnText> m_drawn;
    int m_pages = 0;
};

// The date as the system's short date format writes it ("2026/12/9").
QString shortDateText(const QDate& date);

} // namespace lumo
