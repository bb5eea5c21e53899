#include "Tscjl.h"

#include "AppContext.h"
#include "DataError.h"
#include "DataGrid.h"
#include "Dataset.h"
#include "Dialogs.h"
#include "FramingText.h"
#include "GridWidths.h"
#include "MainFrame.h"
#include "Named.h"
#include "OwnLook.h"
#include "SettingsStore.h"
#include "Tsj.h"

#include <QAction>
#include <QApplication>
#include <QDateTimeEdit>
#include <QEvent>
#include <QFrame>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLocale>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QSqlQuery>
#include <QVBoxLayout>

namespace lumo
{

namespace
{

constexpr int kColumns = 13;
const QString kSection = QStringLiteral("sc");
// What the data layer says when a row operation meets an empty table.
const QString kEmptyDataset = QStringLiteral("无法在空数据集上执行该操作");

// The design colours of the window, its grid and the grid's titles.
const QColor kWindowColor(0xEF, 0xEC, 0xDE);
const QColor kGridColor(0xF9, 0xF8, 0xE6);
const QColor kTitleColor(0xEF, 0xEC, 0xDE);

} // namespace

QDateTime Tscjl::initialMoment()
{
    return QDateTime(QDate(2002, 9, 19), QTime(22, 57, 16));
}

Tscjl::Tscjl(AppContext& ctx, MainFrame& frame, QWidget* parent) : ChildForm(ctx, frame, parent)
{
    setObjectName(QStringLiteral("Tscjl"));
    setWindowTitle(QStringLiteral("删除记录"));
    setBodyColor(kWindowColor);

    DBGrid1 = named(new DataGrid(ctx.sj.DataSource3, body(), &ctx.dialogs), "DBGrid1");
    DBGrid1->setColumns({{QStringLiteral("序号"), QStringLiteral("序号")},
                         {QStringLiteral("SB"), QStringLiteral("意向")},
                         {QStringLiteral("区域"), QStringLiteral("区域")},
                         {QStringLiteral("房屋地址"), QStringLiteral("房屋地址")},
                         {QStringLiteral("户型"), QStringLiteral("户型")},
                         {QStringLiteral("楼层"), QStringLiteral("楼层")},
                         {QStringLiteral("朝向"), QStringLiteral("朝向")},
                         {QStringLiteral("房龄"), QStringLiteral("房龄")},
                         {QStringLiteral("面积"), QStringLiteral("面积")},
                         {QStringLiteral("权属"), QStringLiteral("权属")},
                         {QStringLiteral("价格"), QStringLiteral("价格")},
                         {QStringLiteral("备注"), QStringLiteral("备注")},
                         {QStringLiteral("登记日期"), QStringLiteral("登记日期")}});
    DBGrid1->setColumnWidth(0, 30);
    DBGrid1->setColumnWidth(12, 80);
    DBGrid1->setSelectionBehavior(QAbstractItemView::SelectRows);
    DBGrid1->setSelectionMode(QAbstractItemView::SingleSelection);
    DBGrid1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    DBGrid1->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    setOwnGridColor(DBGrid1, kGridColor);
    setOwnHeaderColor(DBGrid1->horizontalHeader(), kTitleColor);
    DBGrid1->setContextMenuPolicy(Qt::CustomContextMenu);
    DBGrid1->setMouseTracking(true);
    DBGrid1->viewport()->installEventFilter(this);

    suiPopupMenu1 = named(new QMenu(this), "suiPopupMenu1");
    N1 = named(suiPopupMenu1->addAction(QStringLiteral("删除当前房源")), "N1");
    N2 = named(suiPopupMenu1->addAction(QStringLiteral("关 闭")), "N2");

    Panel1 = named(new QFrame(body()), "Panel1");
    Panel1->setFixedHeight(66);
    Panel1->installEventFilter(this);
    Animate1 = named(new QProgressBar(Panel1), "Animate1");
    Animate1->setRange(0, 0);
    Animate1->setTextVisible(false);
    Animate1->setGeometry(10, 20, 160, 24);
    Animate1->hide();

    Panel2 = named(new QFrame(Panel1), "Panel2");
    // The caption's words stand above and below the pickers: "起始" and
    // "日期" frame the start picker, "结束" and "日期" the end picker.
    StaticText1 = named(
        new FramingText(QStringLiteral("起始              结束           日期              日期"),
                        Panel2),
        "StaticText1");
    DateTimePicker1 = named(new QDateTimeEdit(StaticText1), "DateTimePicker1");
    DateTimePicker2 = named(new QDateTimeEdit(StaticText1), "DateTimePicker2");
    StaticText1->setFramed({DateTimePicker1, DateTimePicker2});
    for (QDateTimeEdit* picker : {DateTimePicker1, DateTimePicker2}) {
        // Only the date is shown (as the short date) and chosen; the time
        // of day stays.
        picker->setDisplayFormat(
            QLocale(QLocale::Chinese, QLocale::China).dateFormat(QLocale::ShortFormat));
        picker->setCalendarPopup(true);
        picker->setDateTime(initialMoment());
    }
    suiButton1 = named(new QPushButton(QStringLiteral("日期删除"), Panel2), "suiButton1");
    suiButton2 = named(new QPushButton(QStringLiteral("全部删除"), Panel2), "suiButton2");
    suiButton3 = named(new QPushButton(QStringLiteral("关 闭"), Panel2), "suiButton3");

    auto* row = new QHBoxLayout(Panel2);
    row->setContentsMargins(4, 1, 4, 1);
    row->addWidget(StaticText1);
    row->addWidget(suiButton1);
    row->addWidget(suiButton2);
    row->addWidget(suiButton3);
    Panel2->adjustSize();
    Panel2->move(0, (66 - Panel2->height()) / 2);

    auto* layout = new QVBoxLayout(body());
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(DBGrid1, 1);
    layout->addWidget(Panel1);

    connect(DBGrid1, &QWidget::customContextMenuRequested, this, [this](const QPoint& pos) {
        suiPopupMenu1->popup(DBGrid1->viewport()->mapToGlobal(pos));
    });
    connect(N1, &QAction::triggered, this, &Tscjl::N1Click);
    connect(N2, &QAction::triggered, this, &Tscjl::suiButton3Click);
    connect(suiButton1, &QPushButton::clicked, this, &Tscjl::BitBtn3Click);
    connect(suiButton2, &QPushButton::clicked, this, &Tscjl::BitBtn2Click);
    connect(suiButton3, &QPushButton::clicked, this, &Tscjl::suiButton3Click);
}

void Tscjl::showEvent(QShowEvent* event)
{
    ChildForm::showEvent(event);
    if (!m_shown) {
        m_shown = true;
        FormShow();
    }
}

bool Tscjl::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseMove && watched == DBGrid1->viewport())
        DBGrid1MouseMove();
    else if (event->type() == QEvent::Resize && watched == Panel1 && m_shown)
        placeButtonPanel();
    return ChildForm::eventFilter(watched, event);
}

void Tscjl::FormShow()
{
    const SettingsStore& store = context().store;
    restoreColumnWidths(store, kSection, DBGrid1, kColumns);
    setOwnGridColor(DBGrid1, storedGridColor(store, kGridColor));
    const QColor window = storedWindowColor(store, kWindowColor);
    setBodyColor(window);
    setOwnBackground(Panel1, window);
    setOwnBackground(Panel2, window);
    placeButtonPanel();
}

// The button panel stands 10 pixels from the right edge of the window (the
// screen's edge when the window fills the screen), never beyond its left.
void Tscjl::placeButtonPanel()
{
    Panel2->move(qMax(0, Panel1->width() - Panel2->width() - 10), Panel2->y());
}

void Tscjl::FormClose()
{
    saveColumnWidths(context().store, kSection, DBGrid1, kColumns);
}

void Tscjl::DBGrid1MouseMove()
{
    frame().hideCheckLists();
}

void Tscjl::showError(const QString& text)
{
    context().dialogs.message(this, text, Dialogs::Icon::Error);
}

void Tscjl::N1Click()
{
    if (!context().dialogs.question(this, QStringLiteral("删除后将不能恢复!")))
        return;
    try {
        Dataset* table = context().sj.ADOTable1;
        if (table->active() && table->isEmpty())
            throw DataError(kEmptyDataset);
        table->remove();
    } catch (const DataError& e) {
        showError(e.text());
    }
}

void Tscjl::BitBtn3Click()
{
    if (!context().dialogs.question(this, QStringLiteral("信息删除后将不能恢复!")))
        return;
    Dataset* table = context().sj.ADOTable1;
    const QDateTime start = DateTimePicker1->dateTime();
    const QDateTime end = DateTimePicker2->dateTime();
    QSqlDatabase db = context().sj.lumo1();
    // One transaction for the whole range keeps a long deletion quick; the
    // busy bar shows that work is going on.
    Animate1->show();
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const bool inTransaction = db.transaction();
    try {
        int row = table->active() ? table->recNo() : -1;
        int examined = 0;
        while (row >= 0 && table->moveTo(row)) {
            const QDate date = table->value(QStringLiteral("登记日期")).toDate();
            const QDateTime registered(date, QTime(0, 0));
            if (date.isValid() && registered >= start && registered <= end)
                table->remove(); // the following row moves up into `row`
            else
                ++row;
            if (++examined % 500 == 0)
                QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        }
        if (inTransaction)
            db.commit();
        if (table->active())
            table->last();
    } catch (const DataError& e) {
        // Nothing of the range is deleted; the grid shows the table as stored.
        if (inTransaction)
            db.rollback();
        QApplication::restoreOverrideCursor();
        Animate1->hide();
        showError(e.text());
        try {
            table->refresh();
        } catch (const DataError&) {
        }
        return;
    }
    QApplication::restoreOverrideCursor();
    Animate1->hide();
}

bool Tscjl::deleteEverything()
{
    Tsj& sj = context().sj;
    Dataset* query = sj.ADOQuery1;
    const QStringList searchStatement = query->sql();
    const bool searchShown = query->active();
    query->close();
    query->clearSql();
    query->addSql(QStringLiteral("delete from fcxx"));
    QString failure;
    try {
        query->open();
    } catch (const DataError& e) {
        // A statement without a result set always ends here; it ran when the
        // register is empty now.
        failure = e.text();
    }
    QSqlQuery count(sj.lumo1());
    const bool done = count.exec(QStringLiteral("select count(*) from fcxx")) && count.next() &&
                      count.value(0).toLongLong() == 0;
    // The search query gets its own statement back, so that reopening it
    // can never run the deletion again, and the windows that show the
    // register are reloaded.
    query->close();
    query->setSql(searchStatement);
    try {
        if (searchShown)
            query->open();
        if (sj.ADOTable1->active())
            sj.ADOTable1->refresh();
    } catch (const DataError& e) {
        if (failure.isEmpty())
            failure = e.text();
    }
    if (!done)
        showError(failure);
    return done;
}

void Tscjl::BitBtn2Click()
{
    if (!context().dialogs.question(this, QStringLiteral("信息全部删除后将不能恢复!")))
        return;
    Animate1->show();
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    const bool done = deleteEverything();
    if (done) {
        context().dialogs.message(this, QStringLiteral("信息删除完成,请重新启动软件！！！"));
        Animate1->hide();
        close();
        return;
    }
    Animate1->hide();
}

void Tscjl::suiButton3Click()
{
    frame().UnlockMenus();
    close();
}

} // namespace lumo
