#include "Twnl.h"

#include "AppContext.h"
#include "Clock.h"
#include "Dialogs.h"
#include "Screen.h"
#include "TCnCalendar.h"
#include "calender1.h"

#include <QComboBox>
#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QVBoxLayout>

#include <stdexcept>

namespace lumo
{

namespace
{

constexpr int firstListYear = 1882;
constexpr int lastListYear = 2050;
// Four pillars after this year rest on computed term moments only.
constexpr int lastCheckedYear = 2030;

QStringList numbers(int from, int to)
{
    QStringList list;
    for (int i = from; i <= to; ++i)
        list << QString::number(i);
    return list;
}

QComboBox* makeBox(QWidget* parent, const char* name, const QString& hint, const QStringList& items)
{
    auto* box = new QComboBox(parent);
    box->setObjectName(QLatin1String(name));
    box->setToolTip(hint);
    box->setEditable(true);
    box->setInsertPolicy(QComboBox::NoInsert);
    box->addItems(items);
    return box;
}

QLabel* makeLabel(QWidget* parent, const char* name, const QString& caption)
{
    auto* label = new QLabel(caption, parent);
    label->setObjectName(QLatin1String(name));
    return label;
}

// Shows a number in a box, as its list entry when there is one.
void showNumber(QComboBox* box, int value)
{
    const QString text = QString::number(value);
    const int index = box->findText(text);
    if (index >= 0)
        box->setCurrentIndex(index);
    box->setEditText(text);
    box->lineEdit()->setModified(false);
}

QString weekdayName(const QDate& date)
{
    static const QString names[] = {
        QStringLiteral("星期日"), QStringLiteral("星期一"), QStringLiteral("星期二"),
        QStringLiteral("星期三"), QStringLiteral("星期四"), QStringLiteral("星期五"),
        QStringLiteral("星期六"),
    };
    return names[date.dayOfWeek() % 7];
}

} // namespace

Twnl::Twnl(AppContext& ctx, MainFrame& frame, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::WindowStaysOnTopHint), m_ctx(ctx), m_frame(frame)
{
    setAttribute(Qt::WA_DeleteOnClose);
    setObjectName(QStringLiteral("Twnl"));
    setWindowTitle(QStringLiteral("《万年历》"));
    buildControls();
    resize(478, 318);
    move(m_ctx.screen.centred(size()).topLeft());
    FormCreate();

    connect(CnCalendar1, &TCnCalendar::OnChange, this, &Twnl::CnCalendar1Change);
    onBoxChange(FlatComboBox1, &Twnl::FlatComboBox1Change);
    onBoxChange(FlatComboBox2, &Twnl::FlatComboBox2Change);
    onBoxChange(FlatComboBox3, &Twnl::FlatComboBox3Change);
    onBoxChange(FlatComboBox4, &Twnl::FlatComboBox4Change);
    onBoxChange(FlatComboBox5, &Twnl::FlatComboBox4Change);
    // The window shows itself as soon as it exists.
    show();
}

void Twnl::buildControls()
{
    RxLabel1 = makeLabel(this, "RxLabel1", QStringLiteral("阳历年："));
    RxLabel1->installEventFilter(this);
    FlatComboBox1 =
        makeBox(this, "FlatComboBox1", QStringLiteral("年"), numbers(firstListYear, lastListYear));
    RxLabel2 = makeLabel(this, "RxLabel2", QStringLiteral("月："));
    FlatComboBox2 = makeBox(this, "FlatComboBox2", QStringLiteral("月"), numbers(1, 12));
    RxLabel3 = makeLabel(this, "RxLabel3", QStringLiteral("日:"));
    FlatComboBox3 = makeBox(this, "FlatComboBox3", QStringLiteral("日"), numbers(1, 31));
    RxLabel5 = makeLabel(this, "RxLabel5", QStringLiteral("时:"));
    FlatComboBox4 =
        makeBox(this, "FlatComboBox4", QStringLiteral("时-(23点以后算第二天)"), numbers(0, 23));
    RxLabel6 = makeLabel(this, "RxLabel6", QStringLiteral("分:"));
    FlatComboBox5 = makeBox(this, "FlatComboBox5", QStringLiteral("分"), numbers(0, 59));

    RxLabel4 = makeLabel(this, "RxLabel4", QStringLiteral("排四柱："));
    RxLabel4->setToolTip(QStringLiteral("点击添加节气数据"));
    FlatEdit1 = new QLineEdit(this);
    FlatEdit1->setObjectName(QStringLiteral("FlatEdit1"));
    FlatEdit1->setToolTip(QStringLiteral("排四柱"));
    FlatEdit1->setReadOnly(true);

    CnCalendar1 = new TCnCalendar(this);
    CnCalendar1->setObjectName(QStringLiteral("CnCalendar1"));
    CnCalendar1->setToolTip(QStringLiteral("万年历"));
    QFont font(QStringLiteral("宋体"));
    font.setPixelSize(12);
    CnCalendar1->setFont(font);
    QPalette palette = CnCalendar1->palette();
    palette.setColor(QPalette::Base, palette.color(QPalette::ToolTipBase));
    CnCalendar1->setPalette(palette);

    FlatEdit2 = new QLineEdit(this);
    FlatEdit2->setObjectName(QStringLiteral("FlatEdit2"));
    FlatEdit2->setReadOnly(true);

    auto* dateRow = new QHBoxLayout;
    for (QWidget* w : {static_cast<QWidget*>(RxLabel1), static_cast<QWidget*>(FlatComboBox1),
                       static_cast<QWidget*>(RxLabel2), static_cast<QWidget*>(FlatComboBox2),
                       static_cast<QWidget*>(RxLabel3), static_cast<QWidget*>(FlatComboBox3),
                       static_cast<QWidget*>(RxLabel5), static_cast<QWidget*>(FlatComboBox4),
                       static_cast<QWidget*>(RxLabel6), static_cast<QWidget*>(FlatComboBox5)})
        dateRow->addWidget(w);
    auto* pillarRow = new QHBoxLayout;
    pillarRow->addWidget(RxLabel4);
    pillarRow->addWidget(FlatEdit1, 1);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->setSpacing(3);
    layout->addLayout(dateRow);
    layout->addLayout(pillarRow);
    layout->addWidget(CnCalendar1, 1);
    layout->addWidget(FlatEdit2);
}

void Twnl::onBoxChange(QComboBox* box, void (Twnl::*handler)())
{
    auto run = [this, box, handler] {
        box->lineEdit()->setModified(false);
        (this->*handler)();
    };
    connect(box, &QComboBox::activated, this, run);
    connect(box->lineEdit(), &QLineEdit::editingFinished, this, [box, run] {
        if (box->lineEdit()->isModified())
            run();
    });
}

void Twnl::FormCreate()
{
    const QDateTime now = m_ctx.clock.now();
    CnCalendar1->setSelectedDate(now.date());
    m_hour = now.time().hour();
    m_minute = now.time().minute();
    showDateInBoxes();
    showNumber(FlatComboBox4, m_hour);
    showNumber(FlatComboBox5, m_minute);
    computeTexts();
}

void Twnl::showDateInBoxes()
{
    showNumber(FlatComboBox1, CnCalendar1->Year());
    showNumber(FlatComboBox2, CnCalendar1->Month());
    showNumber(FlatComboBox3, CnCalendar1->Day());
}

bool Twnl::readNumber(QComboBox* box, int fallback, int& value)
{
    const QString text = box->currentText();
    bool ok = false;
    value = text.toInt(&ok);
    if (ok)
        return true;
    m_ctx.dialogs.message(this, QStringLiteral("'%1' is 不是一个有效的整数值").arg(text),
                          Dialogs::Icon::Error);
    showNumber(box, fallback);
    return false;
}

// Hours and minutes outside the day are refused: the pillars have no hour for them.
bool Twnl::readTime(int& hour, int& minute)
{
    if (!readNumber(FlatComboBox4, m_hour, hour) || !readNumber(FlatComboBox5, m_minute, minute))
        return false;
    if (hour < 0 || hour > 23) {
        m_ctx.dialogs.message(this, QStringLiteral("小时必须在0到23之间"), Dialogs::Icon::Error);
        showNumber(FlatComboBox4, m_hour);
        return false;
    }
    if (minute < 0 || minute > 59) {
        m_ctx.dialogs.message(this, QStringLiteral("分钟必须在0到59之间"), Dialogs::Icon::Error);
        showNumber(FlatComboBox5, m_minute);
        return false;
    }
    m_hour = hour;
    m_minute = minute;
    return true;
}

void Twnl::CnCalendar1Change()
{
    showNumber(FlatComboBox3, CnCalendar1->Day());
    computeTexts();
}

void Twnl::computeTexts()
{
    int hour = 0;
    int minute = 0;
    if (!readTime(hour, minute))
        return;
    const int year = CnCalendar1->Year();
    const int month = CnCalendar1->Month();
    const int day = CnCalendar1->Day();

    calender1 cal;
    std::string pillars;
    try {
        pillars = cal.FourPillars(year, month, day, hour, minute);
    } catch (const std::out_of_range&) {
        // A date outside the term table (only a clock far off the calendar's years).
        FlatEdit1->clear();
        FlatEdit2->clear();
        return;
    }
    const QString termName = QString::fromStdString(cal.JieTermName());
    const QString termHour = QString::number(cal.JieTermHour());
    const QString termMinute = QString::number(cal.JieTermMinute());

    const QString status = QStringLiteral("公历: ") + QString::number(month) +
                           QStringLiteral("月") + QString::number(cal.JieTermDay()) +
                           QStringLiteral("日  ") + termName + QStringLiteral("  时间: ") +
                           termHour + QStringLiteral("点 ") + termMinute + QStringLiteral("分");

    QString line =
        QStringLiteral("四柱: ") + QString::fromStdString(calender1::pillarText(pillars, "  "));
    if (year > lastCheckedYear)
        line += QStringLiteral("        四柱准确度不高？");
    if (cal.JieTermDay() == day)
        line += QStringLiteral("      今日") + termName + QStringLiteral(" 时间: ") + termHour +
                QStringLiteral("点") + termMinute + QStringLiteral("分");
    FlatEdit1->setText(line);
    FlatEdit2->setText(status + QString(24, QLatin1Char(' ')) +
                       weekdayName(QDate(year, month, day)));
}

void Twnl::FlatComboBox1Change()
{
    int year = 0;
    if (!readNumber(FlatComboBox1, CnCalendar1->Year(), year))
        return;
    // The pillars and terms are known for these years only.
    if (year < firstListYear || year > lastListYear) {
        m_ctx.dialogs.message(this, QStringLiteral("年份必须在1882到2050之间"),
                              Dialogs::Icon::Error);
        showNumber(FlatComboBox1, CnCalendar1->Year());
        return;
    }
    if (CnCalendar1->Day() > 28)
        CnCalendar1->setDay(1);
    CnCalendar1->setYear(year);
    showDateInBoxes();
}

void Twnl::FlatComboBox2Change()
{
    int month = 0;
    if (!readNumber(FlatComboBox2, CnCalendar1->Month(), month))
        return;
    if (month >= 1 && month <= 12) {
        if (CnCalendar1->Day() > 28)
            CnCalendar1->setDay(1);
        CnCalendar1->setMonth(month);
    }
    showDateInBoxes();
}

// A day beyond the month's length leaves the date as it is.
void Twnl::FlatComboBox3Change()
{
    int day = 0;
    if (!readNumber(FlatComboBox3, CnCalendar1->Day(), day))
        return;
    CnCalendar1->setDay(day);
    showNumber(FlatComboBox3, CnCalendar1->Day());
}

void Twnl::FlatComboBox4Change()
{
    computeTexts();
}

void Twnl::RxLabel1Click()
{
    close();
}

bool Twnl::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == RxLabel1 && event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        RxLabel1Click();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace lumo
