#include "Tlrxx.h"

#include "AppContext.h"
#include "DataError.h"
#include "DataGrid.h"
#include "Dataset.h"
#include "Dialogs.h"
#include "GridWidths.h"
#include "LookupLists.h"
#include "MainFrame.h"
#include "OwnLook.h"
#include "Scaling.h"
#include "Screen.h"
#include "SettingsStore.h"
#include "Tsj.h"

#include <QApplication>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace lumo
{

namespace
{

// The form's design background.
const QColor kFormColor(0xEF, 0xEC, 0xDE);

// Captions are flat buttons used as labels.
QPushButton* caption(QWidget* parent, const char* name, const QString& text)
{
    auto* b = new QPushButton(text, parent);
    b->setObjectName(QLatin1String(name));
    b->setFlat(true);
    b->setFocusPolicy(Qt::NoFocus);
    b->setMouseTracking(true);
    // A caption may give up the style's wide button margins on a narrow form.
    b->setMinimumWidth(b->fontMetrics().horizontalAdvance(text) + 18);
    return b;
}

QComboBox* dropDown(QWidget* parent, const char* name)
{
    auto* c = new QComboBox(parent);
    c->setObjectName(QLatin1String(name));
    c->setEditable(true);
    c->setInsertPolicy(QComboBox::NoInsert);
    return c;
}

QLineEdit* lineBox(QWidget* parent, const char* name)
{
    auto* e = new QLineEdit(parent);
    e->setObjectName(QLatin1String(name));
    return e;
}

QSpinBox* spinBox(QWidget* parent, const char* name)
{
    auto* s = new QSpinBox(parent);
    s->setObjectName(QLatin1String(name));
    s->setRange(0, 200);
    s->setValue(0);
    return s;
}

QPushButton* stripButton(QWidget* parent, const char* name, const QString& text,
                         const QString& hint)
{
    auto* b = new QPushButton(text, parent);
    b->setObjectName(QLatin1String(name));
    b->setToolTip(hint);
    b->setStatusTip(hint);
    return b;
}

} // namespace

Tlrxx::Tlrxx(AppContext& ctx, MainFrame& frame, QWidget* parent) : ChildForm(ctx, frame, parent)
{
    setObjectName(QStringLiteral("Tlrxx"));
    setWindowTitle(QStringLiteral("房源信息录入系统"));
    QWidget* b = body();
    setBodyColor(kFormColor);
    b->setMouseTracking(true);
    b->installEventFilter(this);

    auto* layout = new QVBoxLayout(b);
    layout->setContentsMargins(4, 4, 4, 0);

    m_upper = new QWidget(b);
    m_upper->setMouseTracking(true);
    m_upper->installEventFilter(this);
    auto* upperRow = new QHBoxLayout(m_upper);
    upperRow->setContentsMargins(0, 0, 0, 0);
    auto* boxes = new QWidget(m_upper);
    boxes->setMouseTracking(true);
    boxes->installEventFilter(this);
    // About 500 pixels wide where there is room; narrower on a small screen,
    // so the form fits an 800-pixel screen beside the picture.
    boxes->setMinimumWidth(380);
    boxes->setMaximumWidth(500);
    boxes->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);

    auto* g = new QGridLayout(boxes);
    g->setContentsMargins(0, 0, 0, 0);
    g->setHorizontalSpacing(4);
    g->setVerticalSpacing(2);

    // Line 1: intention, district and detailed address.
    suiButton2 = caption(boxes, "suiButton2", QStringLiteral("意向"));
    ComboBox4 = dropDown(boxes, "ComboBox4");
    ComboBox4->addItems({QStringLiteral("卖"), QStringLiteral("租")});
    ComboBox4->setCurrentIndex(0);
    suiButton11 = caption(boxes, "suiButton11", QStringLiteral("详细地址"));
    FlatComboBox3 = dropDown(boxes, "FlatComboBox3");
    FlatComboBox3->setEditText(QString());
    Edit8 = lineBox(boxes, "Edit8");
    g->addWidget(suiButton2, 0, 0);
    g->addWidget(ComboBox4, 0, 1);
    g->addWidget(suiButton11, 0, 2);
    g->addWidget(FlatComboBox3, 0, 3);
    g->addWidget(Edit8, 0, 4, 1, 2);
    FlatEdit2 = lineBox(boxes, "FlatEdit2");
    FlatEdit2->setReadOnly(true);
    FlatEdit2->hide();
    g->addWidget(FlatEdit2, 1, 4, 1, 2);

    // Line 2: the address near a well-known building.
    suiButton5 = caption(boxes, "suiButton5", QStringLiteral("附近著名建筑"));
    Edit1 = lineBox(boxes, "Edit1");
    g->addWidget(suiButton5, 2, 0, 1, 2);
    g->addWidget(Edit1, 2, 2, 1, 4);
    FlatEdit1 = lineBox(boxes, "FlatEdit1");
    FlatEdit1->setReadOnly(true);
    FlatEdit1->hide();
    g->addWidget(FlatEdit1, 3, 2, 1, 4);

    // Lines 3 and 4: captions above their boxes.
    suiButton4 = caption(boxes, "suiButton4", QStringLiteral("朝 向"));
    FlatComboBox4 = dropDown(boxes, "FlatComboBox4");
    suiButton6 = caption(boxes, "suiButton6", QStringLiteral("户 型"));
    FlatComboBox2 = dropDown(boxes, "FlatComboBox2");
    BitBtn1 = caption(boxes, "BitBtn1", QStringLiteral(" 楼 层 "));
    SpinEdit1 = spinBox(boxes, "SpinEdit1");
    suiButton9 = caption(boxes, "suiButton9", QStringLiteral("面  积"));
    Edit3 = lineBox(boxes, "Edit3");
    suiButton8 = caption(boxes, "suiButton8", QStringLiteral(" 房 龄 "));
    SpinEdit3 = spinBox(boxes, "SpinEdit3");
    bitbtn8 = caption(boxes, "bitbtn8", QStringLiteral("权 属"));
    FlatComboBox1 = dropDown(boxes, "FlatComboBox1");
    FlatComboBox1->addItems(
        {QStringLiteral("产权"), QStringLiteral("使用权"), QStringLiteral("其它")});
    FlatComboBox1->setCurrentIndex(0);
    const QList<QPair<QWidget*, QWidget*>> line3 = {
        {suiButton4, FlatComboBox4}, {suiButton6, FlatComboBox2}, {BitBtn1, SpinEdit1},
        {suiButton9, Edit3},         {suiButton8, SpinEdit3},     {bitbtn8, FlatComboBox1}};
    for (int i = 0; i < line3.size(); ++i) {
        g->addWidget(line3[i].first, 4, i);
        g->addWidget(line3[i].second, 5, i);
    }

    // Lines 5 and 6: price, owner, telephone.
    suiButton10 = caption(boxes, "suiButton10", QStringLiteral("价  格"));
    Edit6 = lineBox(boxes, "Edit6");
    suiButton3 = caption(boxes, "suiButton3", QStringLiteral("房主姓名"));
    Edit5 = lineBox(boxes, "Edit5");
    suiButton12 = caption(boxes, "suiButton12", QStringLiteral("联系电话"));
    Edit4 = lineBox(boxes, "Edit4");
    g->addWidget(suiButton10, 6, 0);
    g->addWidget(Edit6, 7, 0);
    g->addWidget(suiButton3, 6, 1);
    g->addWidget(Edit5, 7, 1);
    g->addWidget(suiButton12, 6, 2, 1, 4);
    g->addWidget(Edit4, 7, 2, 1, 4);

    // Lines 7 and 8: remarks.
    suiButton1 = caption(boxes, "suiButton1", QStringLiteral("备注"));
    edit2 = new QPlainTextEdit(boxes);
    edit2->setObjectName(QStringLiteral("edit2"));
    edit2->setFixedHeight(41);
    edit2->setMinimumWidth(200);
    edit2->setMaximumWidth(481);
    g->addWidget(suiButton1, 8, 0);
    g->addWidget(edit2, 9, 0, 1, 6);
    Edit7 = lineBox(boxes, "Edit7");
    Edit7->hide();

    upperRow->addWidget(boxes, 0, Qt::AlignTop);
    upperRow->addStretch(1);

    // The photo: a picture box over the label "无房型".
    auto* pictureArea = new QWidget(m_upper);
    pictureArea->setFixedSize(281, 236);
    Label1 = new QLabel(QStringLiteral("无房型"), pictureArea);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setGeometry(0, 0, 281, 236);
    Label1->setAlignment(Qt::AlignCenter);
    setOwnTextColor(Label1, Qt::white);
    setOwnBackground(Label1, QColor(96, 112, 128));
    dbImage1 = new QLabel(pictureArea);
    dbImage1->setObjectName(QStringLiteral("dbImage1"));
    dbImage1->setGeometry(0, 0, 281, 236);
    dbImage1->setScaledContents(true);
    dbImage1->hide();
    for (QLabel* l : {Label1, dbImage1}) {
        l->setCursor(Qt::PointingHandCursor);
        l->installEventFilter(this);
    }
    upperRow->addWidget(pictureArea, 0, Qt::AlignTop);
    upperRow->addSpacing(20);
    layout->addWidget(m_upper);
    layout->addStretch(1);

    // The bottom panel: the table grid and the button strip.
    Panel1 = new QWidget(b);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setFixedHeight(212);
    auto* lower = new QVBoxLayout(Panel1);
    lower->setContentsMargins(0, 0, 0, 0);
    lower->setSpacing(0);
    DBGrid1 = new DataGrid(ctx.sj.DataSource3, Panel1, &ctx.dialogs);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    DBGrid1->datasetModel()->setEditable(true);
    DBGrid1->setSelectionMode(QAbstractItemView::ExtendedSelection);
    DBGrid1->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                             QAbstractItemView::AnyKeyPressed);
    DBGrid1->setTabKeyNavigation(true);
    DBGrid1->installEventFilter(this);
    lower->addWidget(DBGrid1, 1);
    Panel2 = new QWidget(Panel1);
    Panel2->setObjectName(QStringLiteral("Panel2"));
    auto* strip = new QHBoxLayout(Panel2);
    strip->setContentsMargins(4, 2, 25, 2);
    Button3 = stripButton(Panel2, "Button3", QStringLiteral("修改"), QStringLiteral("到数据尾"));
    suiButton7 = stripButton(Panel2, "suiButton7", QStringLiteral("刷新"), QString());
    Button1 = stripButton(Panel2, "Button1", QStringLiteral("添加"), QStringLiteral("添加信息"));
    suiButton15 =
        stripButton(Panel2, "suiButton15", QStringLiteral("关闭"), QStringLiteral("关闭录入窗口"));
    strip->addStretch(1);
    for (QPushButton* btn : {Button3, suiButton7, Button1, suiButton15})
        strip->addWidget(btn);
    lower->addWidget(Panel2);
    layout->addWidget(Panel1);

    for (QWidget* w : {static_cast<QWidget*>(Edit1), static_cast<QWidget*>(Edit8)}) {
        w->setMouseTracking(true);
        w->installEventFilter(this);
    }
    for (QPushButton* c :
         {suiButton2, suiButton11, suiButton5, suiButton4, suiButton6, BitBtn1, suiButton9,
          suiButton8, bitbtn8, suiButton10, suiButton3, suiButton12, suiButton1})
        c->installEventFilter(this);
    Edit3->installEventFilter(this);
    Edit6->installEventFilter(this);
    FlatEdit1->installEventFilter(this);
    FlatEdit2->installEventFilter(this);

    connect(Button1, &QPushButton::clicked, this, &Tlrxx::Button1Click);
    connect(Button3, &QPushButton::clicked, this, &Tlrxx::Button3Click);
    connect(suiButton7, &QPushButton::clicked, this, &Tlrxx::Button4Click);
    connect(suiButton15, &QPushButton::clicked, this, &Tlrxx::Button2Click);
    connect(DBGrid1, &QAbstractItemView::clicked, this, &Tlrxx::DBGrid1CellClick);
    connect(ComboBox4, &QComboBox::currentTextChanged, this, &Tlrxx::ComboBox4Change);

    FormShow();
}

void Tlrxx::FormShow()
{
    AppContext& ctx = context();
    if (ctx.screen.width() > 800) {
        scaleBy(body(), 125, 100);
        Panel1->setFixedHeight(320);
    }
    Panel1->setFixedHeight(Panel1->height() - 20);

    // The grid's design colour is the system's tool-tip colour.
    setOwnGridColor(
        DBGrid1, storedGridColor(ctx.store, QApplication::palette().color(QPalette::ToolTipBase)));
    setBodyColor(storedWindowColor(ctx.store, kFormColor));
    restoreColumnWidths(ctx.store, QStringLiteral("lr"), DBGrid1, 18);

    const struct {
        QComboBox* box;
        const char* section;
        QString initial;
    } lists[] = {{FlatComboBox4, "cx", QStringLiteral("南北")},
                 {FlatComboBox3, "gj", QString()},
                 {FlatComboBox2, "hx", QStringLiteral("二室一厅")}};
    for (const auto& l : lists) {
        const LookupSection& section = lookupSection(QLatin1String(l.section));
        l.box->clear();
        try {
            l.box->addItems(readLookupList(ctx.store, section));
        } catch (const DataError& e) {
            ctx.dialogs.message(this, e.text(), Dialogs::Icon::Error);
        }
        l.box->addItem(section.otherItem);
        l.box->setEditText(l.initial);
    }
}

void Tlrxx::Button2Click()
{
    frame().UnlockMenus();
    close();
}

void Tlrxx::FormClose()
{
    saveColumnWidths(context().store, QStringLiteral("lr"), DBGrid1, 18);
    // Whichever way the form closes, the menus are released with it.
    frame().UnlockMenus();
}

void Tlrxx::FormMouseMove()
{
    FlatEdit1->hide();
    FlatEdit2->hide();
    frame().hideCheckLists();
}

void Tlrxx::FlatEdit1Click()
{
    FlatEdit1->hide();
}

void Tlrxx::FlatEdit2Click()
{
    FlatEdit2->hide();
}

bool Tlrxx::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type t = event->type();
    if ((watched == Edit3 || watched == Edit6) && t == QEvent::KeyPress) {
        // Area and price take digits, points and Backspace; every other
        // typed character (minus, Ctrl+V and other control characters)
        // is discarded. Keys that type nothing (arrows, Delete) still work.
        auto* ke = static_cast<QKeyEvent*>(event);
        if (ke->key() == Qt::Key_Backspace || ke->key() == Qt::Key_Delete)
            return false;
        if (ke->matches(QKeySequence::Paste))
            return true;
        const QString text = ke->text();
        if (text.isEmpty())
            return false;
        for (const QChar c : text)
            if (!(c.isDigit() && c.unicode() < 128) && c != QLatin1Char('.'))
                return true;
        return false;
    }
    if ((watched == Edit1 || watched == Edit8) && t == QEvent::KeyRelease) {
        auto* ke = static_cast<QKeyEvent*>(event);
        if (watched == Edit1)
            Edit1KeyUp(ke->key());
        else
            Edit8KeyUp(ke->key());
        return false;
    }
    if ((watched == dbImage1 || watched == Label1) && t == QEvent::MouseButtonRelease) {
        DBImage1Click();
        return true;
    }
    if (watched == FlatEdit1 && t == QEvent::MouseButtonRelease) {
        FlatEdit1Click();
        return true;
    }
    if (watched == FlatEdit2 && t == QEvent::MouseButtonRelease) {
        FlatEdit2Click();
        return true;
    }
    if (watched == DBGrid1 && t == QEvent::KeyPress) {
        auto* ke = static_cast<QKeyEvent*>(event);
        if (ke->key() == Qt::Key_Delete && (ke->modifiers() & Qt::ControlModifier)) {
            Dataset* table = context().sj.ADOTable1;
            try {
                if (table->recNo() >= 0 &&
                    context().dialogs.question(this, QStringLiteral("删除该记录吗？")))
                    table->remove();
            } catch (const DataError& e) {
                context().dialogs.message(this, e.text(), Dialogs::Icon::Error);
            }
            return true;
        }
    }
    if (t == QEvent::MouseMove && watched != DBGrid1 && watched != FlatEdit1 &&
        watched != FlatEdit2 && watched != Edit3 && watched != Edit6 && watched != dbImage1 &&
        watched != Label1)
        FormMouseMove();
    return ChildForm::eventFilter(watched, event);
}

} // namespace lumo
