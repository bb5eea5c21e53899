#include "FilterBar.h"

#include "AppContext.h"
#include "DataError.h"
#include "DataSource.h"
#include "Dataset.h"
#include "Dialogs.h"
#include "FilterRows.h"
#include "LookupLists.h"
#include "MainFrame.h"
#include "Tcxxs.h"
#include "Tsj.h"

#include <QAction>
#include <QComboBox>
#include <QEvent>
#include <QKeyEvent>
#include <QLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>
#include <QSpinBox>
#include <QStyle>
#include <QToolButton>

namespace lumo
{

namespace
{

const char* const kTag = "tag";

const QString& boxCaption(int box)
{
    static const QString captions[3] = {QStringLiteral("区域"), QStringLiteral("朝向"),
                                        QStringLiteral("户型")};
    return captions[box];
}

QComboBox* makeCombo(QWidget* parent, const char* name, const QString& hint,
                     const QStringList& items)
{
    auto* c = new QComboBox(parent);
    c->setObjectName(QLatin1String(name));
    c->setToolTip(hint);
    c->setStatusTip(hint);
    c->setEditable(false);
    c->addItems(items);
    c->setCurrentIndex(0);
    return c;
}

QStringList numbers(int from, int to, int step = 1)
{
    QStringList l;
    for (int i = from; i <= to; i += step)
        l << QString::number(i);
    return l;
}

} // namespace

FilterBar::FilterBar(AppContext& ctx, MainFrame& frame, QWidget* parent)
    : QToolBar(parent), m_ctx(ctx), m_frame(frame)
{
    setObjectName(QStringLiteral("suiToolBar1"));
    setMovable(false);
    setFloatable(false);
    m_rows = new FilterRows(this);
    m_rows->setObjectName(QStringLiteral("FilterRows"));
    addWidget(m_rows);

    auto button = [this](const char* name, const QString& text, const QString& hint) {
        auto* b = new QPushButton(text, this);
        b->setObjectName(QLatin1String(name));
        b->setToolTip(hint);
        b->setStatusTip(hint);
        b->setFocusPolicy(Qt::TabFocus);
        m_rows->addControl(b);
        return b;
    };

    FlatButton1 = button("FlatButton1", QStringLiteral("卖房"), QStringLiteral("点击改变意向"));
    Button1 = button("Button1", QStringLiteral("无权属"), QStringLiteral("点击改变权属"));
    ToolButton1 = addSeparator("ToolButton1");
    ToolButton1->setProperty(kTag, 0);

    auto spin = [this](const char* name, const QString& hint) {
        auto* s = new QSpinBox(this);
        s->setObjectName(QLatin1String(name));
        s->setRange(1, 199999);
        s->setValue(1);
        s->setToolTip(hint);
        s->setStatusTip(hint);
        s->setMinimumWidth(70);
        m_rows->addControl(s);
        return s;
    };
    FlatSpinEditInteger1 = spin("FlatSpinEditInteger1", QStringLiteral("选择起始序号"));
    FlatSpinEditInteger2 = spin("FlatSpinEditInteger2", QStringLiteral("选择结束序号"));
    ToolButton2 = addSeparator("ToolButton2");
    ToolButton2->setProperty(kTag, 0);

    const char* editNames[3] = {"FlatEdit1", "FlatEdit2", "FlatEdit3"};
    for (int i = 0; i < 3; ++i) {
        auto* e = new QLineEdit(boxCaption(i), this);
        e->setObjectName(QLatin1String(editNames[i]));
        e->setReadOnly(true);
        e->setMouseTracking(true);
        e->setFixedWidth(90);
        e->installEventFilter(this);
        m_rows->addControl(e);
        m_boxes[i] = e;
    }
    FlatEdit1 = m_boxes[0];
    FlatEdit2 = m_boxes[1];
    FlatEdit3 = m_boxes[2];
    ToolButton3 = addSeparator("ToolButton3");
    m_rows->setSecondRowStart(FlatEdit1);

    FlatComboBox1 = makeCombo(this, "FlatComboBox1", QStringLiteral("选择楼层最低"),
                              numbers(0, 10) << QStringLiteral("15") << QStringLiteral("20"));
    m_rows->addControl(FlatComboBox1);
    FlatComboBox2 = makeCombo(this, "FlatComboBox2", QStringLiteral("选择楼层最高"),
                              numbers(0, 10) << QStringLiteral("15") << QStringLiteral("20")
                                             << QStringLiteral("25") << numbers(30, 90, 10));
    m_rows->addControl(FlatComboBox2);
    ToolButton6 = addSeparator("ToolButton6");

    suiButton4 = button("suiButton4", QStringLiteral("面积"), QStringLiteral("清空各查询项目"));
    FlatComboBox3 = makeCombo(this, "FlatComboBox3", QStringLiteral("查询面积最小"),
                              numbers(0, 20) << numbers(30, 200, 10));
    m_rows->addControl(FlatComboBox3);
    FlatComboBox4 = makeCombo(this, "FlatComboBox4", QStringLiteral("查询面积最大"),
                              QStringList{QStringLiteral("0")}
                                  << numbers(5, 35) << QStringLiteral("40") << numbers(50, 200, 10)
                                  << QStringLiteral("300") << QStringLiteral("400")
                                  << QStringLiteral("500") << QStringLiteral("1000"));
    m_rows->addControl(FlatComboBox4);
    ToolButton5 = addSeparator("ToolButton5");

    toolbutton4 = new QToolButton(this);
    toolbutton4->setObjectName(QStringLiteral("toolbutton4"));
    toolbutton4->setText(QStringLiteral("查询"));
    toolbutton4->setToolTip(QStringLiteral("开始查询"));
    toolbutton4->setStatusTip(QStringLiteral("开始查询"));
    toolbutton4->setProperty(kTag, 0);
    m_rows->addControl(toolbutton4);
    suiButton2 = button("suiButton2", QStringLiteral("刷新"), QStringLiteral("清空各查询项目"));

    // Mouse over Button1 and the separators hides the floating lists.
    for (QWidget* w : {static_cast<QWidget*>(Button1), static_cast<QWidget*>(ToolButton2),
                       static_cast<QWidget*>(ToolButton3)}) {
        w->setMouseTracking(true);
        w->installEventFilter(this);
    }

    QWidget* host = parent ? parent : this;
    FlatCheckListBox1 = makeCheckList("FlatCheckListBox1", QStringLiteral("选择房屋座落区域"), 89);
    FlatCheckListBox2 = makeCheckList("FlatCheckListBox2", QStringLiteral("选择户型"), 88);
    FlatCheckListBox3 = makeCheckList("FlatCheckListBox3", QStringLiteral("选择户型项目"), 105);
    m_lists[0] = FlatCheckListBox1;
    m_lists[1] = FlatCheckListBox2;
    m_lists[2] = FlatCheckListBox3;
    for (QListWidget* l : m_lists)
        l->setParent(host);
    hideCheckLists();

    connect(toolbutton4, &QToolButton::clicked, this, &FilterBar::ToolButton4Click);
    connect(suiButton2, &QPushButton::clicked, this, &FilterBar::Button2Click);
    connect(FlatButton1, &QPushButton::clicked, this, &FilterBar::FlatButton1Click);
    connect(Button1, &QPushButton::clicked, this, &FilterBar::Button1Click);
    connect(suiButton4, &QPushButton::clicked, this, &FilterBar::suiButton4Click);
    connect(FlatCheckListBox1, &QListWidget::itemChanged, this,
            &FilterBar::FlatCheckListBox1ClickCheck);
    connect(FlatCheckListBox2, &QListWidget::itemChanged, this,
            &FilterBar::FlatCheckListBox2ClickCheck);
    connect(FlatCheckListBox3, &QListWidget::itemChanged, this, &FilterBar::FlatCheckListBox3Click);
}

void FilterBar::setCornerControl(QWidget* control)
{
    m_rows->setCornerControl(control);
}

bool FilterBar::twoRows() const
{
    return m_rows->twoRows();
}

void FilterBar::resizeEvent(QResizeEvent* event)
{
    QToolBar::resizeEvent(event);
    const int frame = style()->pixelMetric(QStyle::PM_ToolBarFrameWidth, nullptr, this) +
                      style()->pixelMetric(QStyle::PM_ToolBarItemMargin, nullptr, this);
    // One row more or less changes the bar's height, and with it the frame.
    if (m_rows->fitTo(contentsRect().width() - 2 * frame)) {
        updateGeometry();
        if (layout())
            layout()->invalidate();
    }
}

QToolButton* FilterBar::addSeparator(const char* name)
{
    auto* s = new QToolButton(this);
    s->setObjectName(QLatin1String(name));
    s->setAutoRaise(true);
    s->setFocusPolicy(Qt::NoFocus);
    s->setFixedWidth(8);
    s->setEnabled(true);
    m_rows->addControl(s);
    return s;
}

QListWidget* FilterBar::makeCheckList(const char* name, const QString& hint, int width)
{
    auto* l = new QListWidget(this);
    l->setObjectName(QLatin1String(name));
    l->setToolTip(hint);
    l->setStatusTip(hint);
    l->resize(width, 119);
    l->setCursor(Qt::PointingHandCursor);
    l->setFrameShape(QFrame::Box);
    l->setStyleSheet(QStringLiteral("QListWidget { background: rgb(202, 234, 255); "
                                    "border: 1px solid rgb(0, 96, 96); color: black; }"
                                    "QListWidget::indicator:checked { background: navy; }"));
    // A click anywhere on an item toggles it, not only on its box.
    l->viewport()->installEventFilter(this);
    return l;
}

void FilterBar::fillCheckList(QListWidget* list, const QString& allItem, const QStringList& entries,
                              const QString& otherItem)
{
    const QSignalBlocker block(list);
    list->clear();
    QStringList items;
    items << allItem << entries << otherItem;
    for (const QString& text : items) {
        auto* item = new QListWidgetItem(text, list);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Unchecked);
    }
}

void FilterBar::setLookupLists(const QStringList& districts, const QStringList& orientations,
                               const QStringList& layouts)
{
    setLookupList(0, districts);
    setLookupList(1, orientations);
    setLookupList(2, layouts);
}

void FilterBar::setLookupList(int box, const QStringList& entries)
{
    if (box < 0 || box > 2)
        return;
    const LookupSection& section = lookupSections().at(box);
    fillCheckList(m_lists[box], section.allItem, entries, section.otherItem);
}

void FilterBar::hideCheckLists()
{
    for (QListWidget* l : m_lists)
        l->hide();
}

void FilterBar::showCheckList(int box)
{
    for (int i = 0; i < 3; ++i)
        if (i != box)
            m_lists[i]->hide();
    QListWidget* list = m_lists[box];
    QWidget* host = list->parentWidget();
    const QPoint barTop = mapTo(host, QPoint(0, 0));
    const QPoint boxPos = m_boxes[box]->mapTo(host, QPoint(0, 0));
    // Under its box: 23 pixels below the top of the bar, or below the box
    // when the bar is taller than that.
    const int below = qMax(23, boxPos.y() - barTop.y() + m_boxes[box]->height());
    list->move(boxPos.x(), barTop.y() + below);
    list->show();
    list->raise();
}

void FilterBar::FlatEdit11MouseMove()
{
    showCheckList(0);
}

void FilterBar::FlatEdit2MouseMove()
{
    showCheckList(1);
}

void FilterBar::FlatEdit3MouseMove()
{
    showCheckList(2);
}

void FilterBar::FormMouseMove()
{
    hideCheckLists();
}

bool FilterBar::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type t = event->type();
    if (!m_lists[2])
        return QToolBar::eventFilter(watched, event); // still being built
    for (int i = 0; i < 3; ++i) {
        if (watched == m_boxes[i]) {
            if (t == QEvent::MouseMove || t == QEvent::Enter) {
                if (i == 0)
                    FlatEdit11MouseMove();
                else if (i == 1)
                    FlatEdit2MouseMove();
                else
                    FlatEdit3MouseMove();
            } else if (t == QEvent::KeyPress) {
                // The boxes show the chosen entries; typing is ignored,
                // but Tab still moves on.
                auto* ke = static_cast<QKeyEvent*>(event);
                if (ke->key() != Qt::Key_Tab && ke->key() != Qt::Key_Backtab)
                    return true;
            }
            return QToolBar::eventFilter(watched, event);
        }
        if (m_lists[i] && watched == m_lists[i]->viewport()) {
            if (t == QEvent::MouseButtonPress || t == QEvent::MouseButtonDblClick)
                return true;
            if (t == QEvent::MouseButtonRelease) {
                auto* me = static_cast<QMouseEvent*>(event);
                if (me->button() == Qt::LeftButton) {
                    if (QListWidgetItem* item = m_lists[i]->itemAt(me->position().toPoint()))
                        item->setCheckState(item->checkState() == Qt::Checked ? Qt::Unchecked
                                                                              : Qt::Checked);
                }
                return true;
            }
            return QToolBar::eventFilter(watched, event);
        }
    }
    if ((watched == Button1 || watched == ToolButton2 || watched == ToolButton3) &&
        (t == QEvent::MouseMove || t == QEvent::Enter))
        FormMouseMove();
    return QToolBar::eventFilter(watched, event);
}

void FilterBar::checkListClicked(int box)
{
    QListWidget* list = m_lists[box];
    const QString& caption = boxCaption(box);
    const QSignalBlocker block(list);
    QStringList values;
    QString text;
    if (list->count() > 0 && list->item(0)->checkState() == Qt::Checked)
        for (int i = 1; i < list->count(); ++i)
            list->item(i)->setCheckState(Qt::Unchecked);
    for (int i = 1; i < list->count(); ++i) {
        if (list->item(i)->checkState() == Qt::Checked) {
            values << quoteSqlText(list->item(i)->text());
            text += list->item(i)->text() + QStringLiteral(",");
        }
    }
    if (text.isEmpty())
        text = caption;
    m_values[box] = values.join(QStringLiteral("','"));
    m_boxes[box]->setText(text);
}

void FilterBar::FlatCheckListBox1ClickCheck()
{
    checkListClicked(0);
}

void FilterBar::FlatCheckListBox2ClickCheck()
{
    checkListClicked(1);
}

void FilterBar::FlatCheckListBox3Click()
{
    checkListClicked(2);
}

void FilterBar::FlatButton1Click()
{
    if (ToolButton2->property(kTag).toInt() == 1) {
        FlatButton1->setText(QStringLiteral("卖房"));
        ToolButton2->setProperty(kTag, 0);
    } else {
        FlatButton1->setText(QStringLiteral("租房"));
        ToolButton2->setProperty(kTag, 1);
    }
    if (FlatButton1->text() == QStringLiteral("租房"))
        Button1->setText(QStringLiteral("全部"));
}

void FilterBar::Button1Click()
{
    static const QString sale[3] = {QStringLiteral("产权"), QStringLiteral("使用权"),
                                    QStringLiteral("无权属")};
    static const QString rent[3] = {QStringLiteral("季度"), QStringLiteral("半年"),
                                    QStringLiteral("全部")};
    const int p = qBound(0, ToolButton1->property(kTag).toInt(), 2);
    const bool forSale = FlatButton1->text() == QStringLiteral("卖房");
    Button1->setText(forSale ? sale[p] : rent[p]);
    ToolButton1->setProperty(kTag, (p + 1) % 3);
}

void FilterBar::suiButton4Click()
{
    suiButton4->setText(suiButton4->text() == QStringLiteral("面积") ? QStringLiteral("价格")
                                                                     : QStringLiteral("面积"));
}

void FilterBar::Button2Click()
{
    FlatButton1->setText(QStringLiteral("卖房"));
    Button1->setText(QStringLiteral("无权属"));
    for (int i = 0; i < 3; ++i) {
        m_boxes[i]->setText(boxCaption(i));
        m_values[i].clear();
        const QSignalBlocker block(m_lists[i]);
        for (int k = 0; k < m_lists[i]->count(); ++k)
            m_lists[i]->item(k)->setCheckState(Qt::Unchecked);
    }
    for (QComboBox* c : {FlatComboBox1, FlatComboBox2, FlatComboBox3, FlatComboBox4})
        c->setCurrentIndex(c->findText(QStringLiteral("0")));
    FlatSpinEditInteger1->setValue(0); // raised to the minimum 1
    FlatSpinEditInteger2->setValue(0);
}

SearchFilter FilterBar::state() const
{
    SearchFilter f;
    f.saleRentCaption = FlatButton1->text();
    f.ownershipCaption = Button1->text();
    f.firstSerial = FlatSpinEditInteger1->value();
    f.lastSerial = FlatSpinEditInteger2->value();
    f.districtValues = m_values[0];
    f.orientationValues = m_values[1];
    f.layoutValues = m_values[2];
    f.floorLow = FlatComboBox1->currentText();
    f.floorHigh = FlatComboBox2->currentText();
    f.rangeCaption = suiButton4->text();
    f.rangeLow = FlatComboBox3->currentText();
    f.rangeHigh = FlatComboBox4->currentText();
    return f;
}

int FilterBar::resultsMarker() const
{
    return toolbutton4->property(kTag).toInt();
}

int FilterBar::saleRentState() const
{
    return ToolButton2->property(kTag).toInt();
}

int FilterBar::ownershipPosition() const
{
    return ToolButton1->property(kTag).toInt();
}

QString FilterBar::valueList(int box) const
{
    return box >= 0 && box < 3 ? m_values[box] : QString();
}

void FilterBar::resultsWindowClosed()
{
    toolbutton4->setProperty(kTag, 0);
}

void FilterBar::emptyPrintList()
{
    // Read afresh, so rows left from an earlier run are emptied too.
    Dataset* list = m_ctx.sj.ADOTable3;
    list->close();
    list->open();
    while (!list->isEmpty()) {
        list->first();
        list->remove();
    }
    list->close();
}

void FilterBar::ToolButton4Click()
{
    hideCheckLists();
    m_frame.LockMenus();
    Tsj& sj = m_ctx.sj;
    try {
        emptyPrintList();
        if (sj.DataSource1->dataset() != sj.ADOQuery1)
            sj.DataSource1->setDataset(sj.ADOQuery1);
        sj.ADOQuery1->close();
        sj.ADOQuery1->clearSql();
        for (const QString& line : buildSearchStatement(state()))
            sj.ADOQuery1->addSql(line);
        sj.ADOQuery1->open();
    } catch (const DataError& e) {
        m_ctx.dialogs.message(m_frame.frameWidget(), e.text(), Dialogs::Icon::Error);
        return;
    }
    if (resultsMarker() == 1 && m_results)
        m_results->close();
    auto* results = new Tcxxs(m_ctx, m_frame);
    m_results = results;
    m_frame.showChild(results);
    toolbutton4->setProperty(kTag, 1);
    if (QAction* n15 = m_frame.menuEntry(QStringLiteral("N15")))
        n15->setEnabled(true);
}

} // namespace lumo
