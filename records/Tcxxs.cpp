#include "Tcxxs.h"

#include "AppContext.h"
#include "DataError.h"
#include "DataGrid.h"
#include "Dataset.h"
#include "Dialogs.h"
#include "GridWidths.h"
#include "MainFrame.h"
#include "OwnLook.h"
#include "Scaling.h"
#include "Screen.h"
#include "SettingsStore.h"
#include "Tdyyl.h"
#include "Tsj.h"

#include <QAction>
#include <QFrame>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QMouseEvent>
#include <QPushButton>
#include <QSplitter>
#include <QVBoxLayout>

namespace lumo
{

namespace
{

const QString kFile = QStringLiteral("file");

// The 13 columns of both grids and their initial widths in the result grid
// and in the print-list grid.
struct ColumnSpec {
    const char16_t* field;
    const char16_t* title;
    int resultWidth;
    int listWidth;
};

const ColumnSpec kColumns[13] = {
    {u"序号", u"序号", 42, 42},           {u"SB", u"意向", 30, 32},   {u"区域", u"区域", 49, 49},
    {u"房屋地址", u"房屋地址", 115, 115}, {u"户型", u"户型", 65, 65}, {u"楼层", u"楼层", 33, 33},
    {u"朝向", u"朝向", 39, 39},           {u"房龄", u"房龄", 35, 35}, {u"面积", u"面积", 49, 49},
    {u"权属", u"权属", 48, 48},           {u"价格", u"价格", 47, 47}, {u"备注", u"备注", 141, 131},
    {u"登记日期", u"登记日期", 73, 65},
};

// The fields copied into the print list, in order.
const char16_t* const kPrintFields[16] = {
    u"序号", u"楼层", u"房龄", u"面积", u"价格", u"SB",       u"区域", u"房屋地址",
    u"户型", u"朝向", u"权属", u"备注", u"相片", u"联系电话", u"房主", u"登记日期"};

QString text16(const char16_t* s)
{
    return QString::fromUtf16(s);
}

DataGrid* makeGrid(DataSource* source, QWidget* parent, Dialogs* dialogs, const char* name,
                   bool listGrid)
{
    auto* g = new DataGrid(source, parent, dialogs);
    g->setObjectName(QLatin1String(name));
    QList<DatasetModel::Column> cols;
    for (const ColumnSpec& c : kColumns)
        cols.append({text16(c.field), text16(c.title)});
    g->setColumns(cols);
    g->datasetModel()->setEditable(false);
    g->setEditTriggers(QAbstractItemView::NoEditTriggers);
    g->setSelectionBehavior(QAbstractItemView::SelectRows);
    g->setSelectionMode(QAbstractItemView::ExtendedSelection);
    g->setShowGrid(true);
    g->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    g->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    QFont cellFont(QStringLiteral("宋体"));
    cellFont.setPixelSize(listGrid ? 12 : 13);
    g->setFont(cellFont);
    QFont titleFont(QStringLiteral("宋体"));
    titleFont.setPixelSize(13);
    g->horizontalHeader()->setFont(titleFont);
    for (int i = 0; i < 13; ++i)
        g->setColumnWidth(i, listGrid ? kColumns[i].listWidth : kColumns[i].resultWidth);
    // Cell heights are the window's own, whatever the font.
    g->verticalHeader()->setMinimumSectionSize(1);
    g->verticalHeader()->setDefaultSectionSize(listGrid ? 20 : 22);
    QPalette pal = g->palette();
    // The result grid keeps its selection visible when it loses focus.
    if (!listGrid)
        pal.setColor(QPalette::Inactive, QPalette::Highlight,
                     pal.color(QPalette::Active, QPalette::Highlight));
    g->setPalette(pal);
    g->setMouseTracking(true);
    return g;
}

QPushButton* makeButton(QWidget* parent, const char* name, const QString& text)
{
    auto* b = new QPushButton(text, parent);
    b->setObjectName(QLatin1String(name));
    b->setFixedHeight(28);
    return b;
}

} // namespace

Tcxxs::Tcxxs(AppContext& ctx, MainFrame& frame, QWidget* parent) : ChildForm(ctx, frame, parent)
{
    setObjectName(QStringLiteral("Tcxxs"));
    setWindowTitle(QStringLiteral("查询结果"));
    QWidget* b = body();
    setBodyColor(QColor(0xEA, 0xF2, 0xF2));

    auto* layout = new QVBoxLayout(b);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    Bevel1 = new QFrame(b);
    Bevel1->setObjectName(QStringLiteral("Bevel1"));
    Bevel1->setFrameShape(QFrame::HLine);
    Bevel1->setFrameShadow(QFrame::Sunken);
    Bevel2 = new QFrame(b);
    Bevel2->setObjectName(QStringLiteral("Bevel2"));
    Bevel2->setFrameShape(QFrame::HLine);
    Bevel2->setFrameShadow(QFrame::Raised);
    layout->addWidget(Bevel1);
    layout->addWidget(Bevel2);

    Splitter1 = new QSplitter(Qt::Vertical, b);
    Splitter1->setObjectName(QStringLiteral("Splitter1"));
    Splitter1->setHandleWidth(3);
    Splitter1->setChildrenCollapsible(false);
    Splitter1->setStyleSheet(
        QStringLiteral("QSplitter::handle { background: rgb(64, 128, 128); }"));
    layout->addWidget(Splitter1, 1);

    Tsj& sj = ctx.sj;
    Panel3 = new QWidget(Splitter1);
    Panel3->setObjectName(QStringLiteral("Panel3"));
    Panel3->setMinimumHeight(50);
    auto* upper = new QVBoxLayout(Panel3);
    upper->setContentsMargins(0, 0, 0, 0);
    RxDBGrid1 = makeGrid(sj.DataSource1, Panel3, &ctx.dialogs, "RxDBGrid1", false);
    upper->addWidget(RxDBGrid1);

    Panel1 = new QWidget(Splitter1);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setMinimumHeight(5);
    auto* lower = new QVBoxLayout(Panel1);
    lower->setContentsMargins(0, 0, 0, 0);
    lower->setSpacing(0);
    Panel2 = new QWidget(Panel1);
    Panel2->setObjectName(QStringLiteral("Panel2"));
    Panel2->setFixedHeight(36);
    auto* strip = new QHBoxLayout(Panel2);
    strip->setContentsMargins(4, 2, 4, 2);
    bsSkinSpeedButton3 = makeButton(Panel2, "bsSkinSpeedButton3", QStringLiteral("导 入"));
    bsSkinSpeedButton2 = makeButton(Panel2, "bsSkinSpeedButton2", QStringLiteral("删 除"));
    bsSkinSpeedButton1 = makeButton(Panel2, "bsSkinSpeedButton1", QStringLiteral("打 印"));
    bsSkinSpeedButton4 = makeButton(Panel2, "bsSkinSpeedButton4", QStringLiteral("界面表格"));
    for (QPushButton* btn :
         {bsSkinSpeedButton3, bsSkinSpeedButton2, bsSkinSpeedButton1, bsSkinSpeedButton4})
        strip->addWidget(btn);
    strip->addStretch(1);
    lower->addWidget(Panel2);
    RxDBGrid2 = makeGrid(sj.DataSource2, Panel1, &ctx.dialogs, "RxDBGrid2", true);
    lower->addWidget(RxDBGrid2, 1);
    // The lower panel keeps its height when the window is resized.
    Splitter1->setStretchFactor(0, 1);
    Splitter1->setStretchFactor(1, 0);

    for (DataGrid* g : {RxDBGrid1, RxDBGrid2}) {
        g->viewport()->setMouseTracking(true);
        g->viewport()->installEventFilter(this);
    }

    connect(bsSkinSpeedButton3, &QPushButton::clicked, this, &Tcxxs::FlatButton1Click);
    connect(bsSkinSpeedButton2, &QPushButton::clicked, this, &Tcxxs::FlatButton3Click);
    connect(bsSkinSpeedButton1, &QPushButton::clicked, this, &Tcxxs::FlatButton2Click);
    connect(bsSkinSpeedButton4, &QPushButton::clicked, this, &Tcxxs::bsSkinSpeedButton4Click);
    connect(Splitter1, &QSplitter::splitterMoved, this, &Tcxxs::Splitter1Moved);

    setLowerPanelHeight(110);
    FormShow();
}

int Tcxxs::lowerPanelHeight() const
{
    const QList<int> sizes = Splitter1->sizes();
    if (Splitter1->isVisible() && sizes.size() == 2 && sizes[0] + sizes[1] > 0)
        return sizes[1];
    return m_lowerHeight;
}

void Tcxxs::setLowerPanelHeight(int height)
{
    m_lowerHeight = qMax(5, height);
    const int total =
        Splitter1->isVisible() ? Splitter1->height() - Splitter1->handleWidth() : 10000;
    Splitter1->setSizes({qMax(50, total - m_lowerHeight), m_lowerHeight});
}

void Tcxxs::FormShow()
{
    const SettingsStore& store = context().store;
    // On a wide screen the window scales its controls, their fonts, the
    // columns and the lower panel.
    if (context().screen.width() > 800) {
        scaleBy(body(), 120, 100);
        // The splitter's limits are the window's own, not a control's size.
        Panel3->setMinimumHeight(50);
        Panel1->setMinimumHeight(5);
        for (int i = 0; i < 13; ++i) {
            RxDBGrid1->setColumnWidth(i, kColumns[i].resultWidth * 120 / 100);
            RxDBGrid2->setColumnWidth(i, kColumns[i].listWidth * 120 / 100);
        }
        setLowerPanelHeight(m_lowerHeight * 120 / 100);
    }
    if (!store.ReadAppValue(QStringLiteral("序号")).isEmpty()) {
        restoreColumnWidths(store, kFile, RxDBGrid1, 13);
        bool ok = false;
        const int h = store.ReadAppValue(QStringLiteral("lrheight")).toInt(&ok);
        if (ok)
            setLowerPanelHeight(h);
    }
    m_gridColour = storedGridColor(store, m_gridColour);
    if (store.ReadAppValue(QStringLiteral("bg")) == QStringLiteral("1")) {
        applyGridStyle(true, 22, 20);
        bsSkinSpeedButton4->setText(QStringLiteral("普通表格"));
    } else {
        applyGridStyle(false, 20, 20);
        bsSkinSpeedButton4->setText(QStringLiteral("界面表格"));
    }
    if (QWidget* mainWindow = frame().frameWidget()) {
        QWidget* bar = mainWindow->findChild<QWidget*>(QStringLiteral("bsSkinMainMenuBar1"));
        if (bar && bar->isHidden())
            frame().LockMenus();
    }
}

void Tcxxs::applyGridStyle(bool skinned, int resultHeight, int listHeight)
{
    m_skinned = skinned;
    const QString skin = skinned ? QStringLiteral("QHeaderView::section { background: "
                                                  "qlineargradient(x1:0, y1:0, x2:0, y2:1, "
                                                  "stop:0 #f4f8fc, stop:1 #c8d8ec); "
                                                  "border: 1px solid #8aa4c8; padding: 2px; }")
                                 : QString();
    for (DataGrid* g : {RxDBGrid1, RxDBGrid2}) {
        g->setProperty("skinned", skinned);
        setOwnStyleSheet(g, skin);
        setOwnGridColor(g, m_gridColour);
        g->setAlternatingRowColors(skinned);
    }
    RxDBGrid1->verticalHeader()->setDefaultSectionSize(resultHeight);
    RxDBGrid2->verticalHeader()->setDefaultSectionSize(listHeight);
}

void Tcxxs::FormClose()
{
    const SettingsStore& store = context().store;
    saveColumnWidths(store, kFile, RxDBGrid1, 13);
    store.WriteAppValue(QStringLiteral("lrheight"), QString::number(lowerPanelHeight()));
    if (QAction* n15 = frame().menuEntry(QStringLiteral("N15")))
        n15->setEnabled(false);
    frame().resultsWindowClosed();
    try {
        Dataset* list = context().sj.ADOTable3;
        if (list->active()) {
            while (!list->isEmpty()) {
                list->first();
                list->remove();
            }
            list->close();
        }
    } catch (const DataError& e) {
        context().dialogs.message(this, e.text(), Dialogs::Icon::Error);
    }
}

void Tcxxs::FlatButton1Click()
{
    Tsj& sj = context().sj;
    Dataset* found = sj.ADOQuery1;
    Dataset* list = sj.ADOTable3;
    try {
        if (!list->active())
            list->open();
        // Only a found row can be copied.
        if (!found->active() || found->recNo() < 0)
            return;
        const QVariant serial = found->value(QStringLiteral("序号"));
        if (list->locate(QStringLiteral("序号"), serial))
            return;
        list->insert();
        try {
            for (const char16_t* f : kPrintFields) {
                const QString field = text16(f);
                list->setValue(field, found->value(field));
            }
            list->post();
        } catch (const DataError&) {
            list->cancel();
            throw;
        }
    } catch (const DataError& e) {
        context().dialogs.message(this, e.text(), Dialogs::Icon::Error);
    }
}

void Tcxxs::FlatButton3Click()
{
    Dataset* list = context().sj.ADOTable3;
    try {
        if (!list->active() || list->isEmpty() || list->recNo() < 0)
            throw DataError(QString());
        list->remove();
    } catch (const DataError&) {
        context().dialogs.message(this, QStringLiteral("没有可删除的信息？"),
                                  Dialogs::Icon::Warning);
    }
}

void Tcxxs::FlatButton2Click()
{
    if (context().sj.ADOTable3->active())
        new Tdyyl(context(), frame());
}

void Tcxxs::bsSkinSpeedButton4Click()
{
    const SettingsStore& store = context().store;
    if (bsSkinSpeedButton4->text() == QStringLiteral("界面表格")) {
        applyGridStyle(true, 25, 25);
        bsSkinSpeedButton4->setText(QStringLiteral("普通表格"));
        store.WriteAppValue(QStringLiteral("bg"), QStringLiteral("1"));
    } else {
        applyGridStyle(false, 25, 25);
        bsSkinSpeedButton4->setText(QStringLiteral("界面表格"));
        store.WriteAppValue(QStringLiteral("bg"), QStringLiteral("2"));
        Panel1->update();
    }
}

void Tcxxs::RxDBGrid1DblClick()
{
    Dataset* found = context().sj.ADOQuery1;
    if (!found->active())
        return;
    try {
        // A registration date equal to the number 0 marks a row without
        // data; an empty value does not count as 0.
        bool zero = false;
        if (found->recNo() >= 0) {
            const QVariant v = found->value(QStringLiteral("登记日期"));
            if (v.typeId() == QMetaType::LongLong || v.typeId() == QMetaType::Double ||
                v.typeId() == QMetaType::Int)
                zero = v.toDouble() == 0;
            else if (v.typeId() == QMetaType::QString) {
                bool ok = false;
                zero = v.toString().trimmed().toDouble(&ok) == 0 && ok;
            }
        }
        if (zero)
            return;
        frame().openPhotoPreview();
    } catch (const DataError& e) {
        context().dialogs.message(this, e.text(), Dialogs::Icon::Error);
    }
}

void Tcxxs::RxDBGrid1MouseMove()
{
    frame().hideCheckLists();
}

void Tcxxs::Splitter1Moved()
{
    const QList<int> sizes = Splitter1->sizes();
    if (sizes.size() == 2)
        m_lowerHeight = sizes[1];
    if (lowerPanelHeight() < 5)
        setLowerPanelHeight(5);
}

bool Tcxxs::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    if ((type == QEvent::MouseMove || type == QEvent::MouseButtonDblClick) &&
        (watched == RxDBGrid1->viewport() || watched == RxDBGrid2->viewport())) {
        if (type == QEvent::MouseMove)
            RxDBGrid1MouseMove();
        // Anywhere in a grid, also below its last row or in an empty grid:
        // the grid's own signal would only come for a cell.
        else if (static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton)
            RxDBGrid1DblClick();
    }
    return ChildForm::eventFilter(watched, event);
}

} // namespace lumo
