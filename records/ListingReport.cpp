#include "ListingReport.h"

#include "DataError.h"
#include "Dataset.h"

#include <QFont>
#include <QLocale>
#include <QPageLayout>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QTextLayout>

namespace lumo
{

namespace
{

constexpr double kPageHeight = 297.0 - 2 * 10.0; // A4 less the top and bottom margins
constexpr double kTitleHeight = 9.3;
constexpr double kHeaderHeight = 9.3;
constexpr double kDetailHeight = 13.2;
constexpr double kCellHeight = 6.9;
constexpr double kHeaderBoxTop = 2.6;
constexpr double kRemarkTop = 6.6;
constexpr double kRemarkHeight = 6.6;
constexpr double kRemarkWidth = 188.1;
constexpr double kCellPadding = 0.5;

struct Column {
    const char16_t* caption;
    double left;
    double width;
};

// Header boxes and the cells of a detail band's first line.
constexpr Column kColumns[] = {
    {u"区域", 0.0, 16.1},   {u"详细地址", 15.9, 43.7}, {u"户型", 59.3, 21.4},
    {u"楼层", 80.4, 15.3},  {u"朝向", 95.2, 19.3},     {u"房龄", 114.3, 15.1},
    {u"权属", 129.1, 17.5}, {u"面积", 146.1, 21.4},    {u"价格", 167.2, 20.9},
};

QFont reportFont(double points, bool bold = false)
{
    QFont f(QStringLiteral("宋体"));
    f.setPointSizeF(points);
    f.setBold(bold);
    return f;
}

// Draws on one page in millimetres and records what it drew.
class BandPainter
{
public:
    BandPainter(QPainter& painter, QPaintDevice* device, QList<ListingReport::DrawnText>& drawn)
        : m_p(painter), m_device(device), m_drawn(drawn), m_unit(device->logicalDpiY() / 25.4),
          m_unitX(device->logicalDpiX() / 25.4)
    {
    }

    void setPage(int page) { m_page = page; }
    void setBandTop(double top) { m_top = top; }

    QRectF toDevice(const QRectF& mm) const
    {
        return QRectF(mm.x() * m_unitX, (m_top + mm.y()) * m_unit, mm.width() * m_unitX,
                      mm.height() * m_unit);
    }

    void frame(const QRectF& mm)
    {
        m_p.setPen(QPen(Qt::black, 0.2 * m_unit));
        m_p.setBrush(Qt::NoBrush);
        m_p.drawRect(toDevice(mm));
    }

    // Draws a value wrapped inside its field; lines that do not fit in the
    // field's height are left out.
    void text(const QRectF& mm, const QString& text, const QFont& font, Qt::Alignment align)
    {
        if (text.isEmpty())
            return;
        const QRectF box = toDevice(mm);
        const QString shown = fittingText(text, font, box);
        m_p.setFont(font);
        m_p.setPen(Qt::black);
        m_p.save();
        m_p.setClipRect(box);
        m_p.drawText(box, int(align | Qt::AlignVCenter) | Qt::TextWordWrap, shown);
        m_p.restore();
        record(mm, shown, font);
    }

    // Draws a fixed text (title, caption, date) whole on one line, aligned
    // in its field and allowed to run past it.
    void label(const QRectF& mm, const QString& text, const QFont& font, Qt::Alignment align)
    {
        if (text.isEmpty())
            return;
        m_p.setFont(font);
        m_p.setPen(Qt::black);
        m_p.drawText(toDevice(mm), int(align | Qt::AlignVCenter) | Qt::TextDontClip, text);
        record(mm, text, font);
    }

private:
    void record(const QRectF& mm, const QString& shown, const QFont& font)
    {
        m_drawn.append({m_page, QRectF(mm.x(), m_top + mm.y(), mm.width(), mm.height()), shown,
                        font.pointSizeF()});
    }

    QString fittingText(const QString& text, const QFont& font, const QRectF& box) const
    {
        QTextLayout layout(text, font, m_device);
        QTextOption option;
        option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
        layout.setTextOption(option);
        layout.beginLayout();
        double height = 0;
        int end = 0;
        for (;;) {
            QTextLine line = layout.createLine();
            if (!line.isValid())
                break;
            line.setLineWidth(box.width());
            if (end > 0 && height + line.height() > box.height())
                break;
            height += line.height();
            end = line.textStart() + line.textLength();
        }
        layout.endLayout();
        return text.left(end).trimmed();
    }

    QPainter& m_p;
    QPaintDevice* m_device;
    QList<ListingReport::DrawnText>& m_drawn;
    double m_unit;
    double m_unitX;
    int m_page = 1;
    double m_top = 0;
};

void drawTitle(BandPainter& b, const QString& agencyName, const QString& telephone,
               const QDate& date)
{
    b.label(QRectF(0, 0, 190, kTitleHeight),
            QStringLiteral("《") + agencyName + QStringLiteral("》"), reportFont(22, true),
            Qt::AlignHCenter);
    const double top = 3.5;
    const double h = kTitleHeight - top;
    b.label(QRectF(1.3, top, 17.8, h), QStringLiteral("联系电话："), reportFont(11), Qt::AlignLeft);
    b.text(QRectF(19.1, top, 45, h), telephone, reportFont(10), Qt::AlignLeft);
    b.label(QRectF(164.6, top, 19.3, h), shortDateText(date), reportFont(11), Qt::AlignHCenter);
}

void drawHeader(BandPainter& b)
{
    for (const Column& c : kColumns) {
        const QRectF box(c.left, kHeaderBoxTop, c.width, kCellHeight);
        b.frame(box);
        b.label(box.adjusted(kCellPadding, 0, -kCellPadding, 0), QString::fromUtf16(c.caption),
                reportFont(10), Qt::AlignHCenter);
    }
}

void drawDetail(BandPainter& b, const ListingRow& row)
{
    const QFont font = reportFont(11);
    const QString values[] = {row.district, row.address,   row.layout, row.floor, row.orientation,
                              row.age,      row.ownership, row.area,   row.price};
    for (int i = 0; i < 9; ++i) {
        const Column& c = kColumns[i];
        const QRectF box(c.left, 0, c.width, kCellHeight);
        b.frame(box);
        if (i == 3 || i == 5) {
            // A number right-aligned in its narrow field, then its unit.
            const double field = i == 3 ? 5.6 : 7.1;
            const double fieldLeft = c.left + c.width - 0.5 - 4.2 - 0.2 - field;
            b.text(QRectF(fieldLeft, 0, field, kCellHeight), values[i], font, Qt::AlignRight);
            b.label(QRectF(fieldLeft + field + 0.2, 0, 4.2, kCellHeight),
                    i == 3 ? QStringLiteral("楼") : QStringLiteral("年"), font, Qt::AlignLeft);
            continue;
        }
        const Qt::Alignment align = i >= 7 ? Qt::AlignHCenter : Qt::AlignLeft;
        b.text(box.adjusted(kCellPadding, 0, -kCellPadding, 0), values[i], font, align);
    }
    b.frame(QRectF(0, kRemarkTop, kRemarkWidth, kRemarkHeight));
    b.label(QRectF(0.8, kRemarkTop, 17.5, kRemarkHeight), QStringLiteral("详细信息:"),
            reportFont(10), Qt::AlignLeft);
    b.text(QRectF(18.5, kRemarkTop, 168, kRemarkHeight), row.remark, font, Qt::AlignLeft);
}

} // namespace

QString shortDateText(const QDate& date)
{
    return QLocale(QLocale::Chinese, QLocale::China).toString(date, QLocale::ShortFormat);
}

int ListingReport::rowsOnFirstPage()
{
    return int((kPageHeight - kTitleHeight - kHeaderHeight) / kDetailHeight);
}

int ListingReport::rowsOnFollowingPages()
{
    return int((kPageHeight - kHeaderHeight) / kDetailHeight);
}

int ListingReport::pageCount(int rows)
{
    if (rows <= rowsOnFirstPage())
        return 1;
    const int rest = rows - rowsOnFirstPage();
    return 1 + (rest + rowsOnFollowingPages() - 1) / rowsOnFollowingPages();
}

QVector<ListingRow> ListingReport::readRows(Dataset& printList)
{
    QVector<ListingRow> rows;
    if (!printList.active())
        return rows;
    const int saved = printList.recNo();
    printList.first();
    while (!printList.eof()) {
        ListingRow r;
        r.district = printList.displayText(QStringLiteral("区域"));
        r.address = printList.displayText(QStringLiteral("房屋地址"));
        r.layout = printList.displayText(QStringLiteral("户型"));
        r.floor = printList.displayText(QStringLiteral("楼层"));
        r.orientation = printList.displayText(QStringLiteral("朝向"));
        r.age = printList.displayText(QStringLiteral("房龄"));
        r.ownership = printList.displayText(QStringLiteral("权属"));
        r.area = printList.displayText(QStringLiteral("面积"));
        r.price = printList.displayText(QStringLiteral("价格"));
        r.remark = printList.displayText(QStringLiteral("备注"));
        rows.append(r);
        printList.next();
    }
    if (saved >= 0)
        printList.moveTo(saved);
    return rows;
}

bool ListingReport::render(QPagedPaintDevice* device, const QVector<ListingRow>& rows,
                           const QString& agencyName, const QString& telephone, const QDate& date,
                           const Progress& progress)
{
    m_drawn.clear();
    m_pages = 0;
    device->setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                      QMarginsF(10, 10, 10, 10), QPageLayout::Millimeter));
    QPainter painter;
    if (!painter.begin(device))
        return false;
    BandPainter bands(painter, device, m_drawn);

    m_pages = 1;
    bands.setPage(1);
    bands.setBandTop(0);
    drawTitle(bands, agencyName, telephone, date);
    bands.setBandTop(kTitleHeight);
    drawHeader(bands);
    double y = kTitleHeight + kHeaderHeight;

    for (int i = 0; i < rows.size(); ++i) {
        if (y + kDetailHeight > kPageHeight + 1e-6) {
            device->newPage();
            ++m_pages;
            bands.setPage(m_pages);
            bands.setBandTop(0);
            drawHeader(bands);
            y = kHeaderHeight;
        }
        bands.setBandTop(y);
        drawDetail(bands, rows.at(i));
        y += kDetailHeight;
        if (progress && !progress(i + 1, int(rows.size()))) {
            painter.end();
            return false;
        }
    }
    return painter.end();
}

QStringList ListingReport::textsOnPage(int page) const
{
    QStringList texts;
    for (const DrawnText& d : m_drawn)
        if (d.page == page)
            texts << d.text;
    return texts;
}

} // namespace lumo
