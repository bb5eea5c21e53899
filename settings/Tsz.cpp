#include "Tsz.h"

#include "AppContext.h"
#include "DataGrid.h"
#include "GridLineSizer.h"
#include "MainFrame.h"
#include "Named.h"
#include "Tsj.h"

#include <QComboBox>
#include <QEvent>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>

namespace lumo
{

namespace
{

// The in-place editor of the lookup grid hands every change to the grid at
// once, so that a key release writes the text as it stands.
class ListCellDelegate : public QStyledItemDelegate
{
public:
    ListCellDelegate(QObject* keyWatcher, QObject* parent)
        : QStyledItemDelegate(parent), m_keyWatcher(keyWatcher)
    {
    }

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override
    {
        QWidget* editor = QStyledItemDelegate::createEditor(parent, option, index);
        if (auto* line = qobject_cast<QLineEdit*>(editor)) {
            connect(line, &QLineEdit::textEdited, this,
                    [this, line] { emit const_cast<ListCellDelegate*>(this)->commitData(line); });
        }
        if (editor)
            editor->installEventFilter(m_keyWatcher);
        return editor;
    }

private:
    QObject* m_keyWatcher;
};

} // namespace

Tsz::Tsz(AppContext& ctx, MainFrame& frame, QWidget* parent) : ChildForm(ctx, frame, parent)
{
    setObjectName(QStringLiteral("Tsz"));
    setWindowTitle(QStringLiteral("软件设置 ver3.0"));

    suiPageControl1 = named(new QTabWidget(body()), "suiPageControl1");
    buildAgencyTab();
    buildListTab();
    buildPasswordTab();
    buildLevelTab();
    buildRevealTab();

    suiButton1 = named(new QPushButton(QStringLiteral("关 闭"), body()), "suiButton1");
    LMDSimpleLabel1 = named(new QLabel(body()), "LMDSimpleLabel1");
    LMDSimpleLabel1->setText(QStringLiteral("<a href=\"https://www.velmora.cn/download\">"
                                            "《下载最新版本》</a>"));
    LMDSimpleLabel1->setTextFormat(Qt::RichText);
    LMDSimpleLabel1->setOpenExternalLinks(true);

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(LMDSimpleLabel1);
    bottom->addStretch();
    bottom->addWidget(suiButton1);
    auto* layout = new QVBoxLayout(body());
    layout->addWidget(suiPageControl1, 1);
    layout->addLayout(bottom);

    connect(suiButton1, &QPushButton::clicked, this, &Tsz::suiButton1Click);

    // Moving the mouse over the window or its tabs hides the filter bar's
    // floating check lists.
    for (QWidget* w : {body(), static_cast<QWidget*>(suiPageControl1), suiTabSheet1, suiTabSheet2,
                       suiTabSheet3, suiTabSheet4, suiTabSheet5}) {
        w->setMouseTracking(true);
        w->installEventFilter(this);
    }
}

void Tsz::buildAgencyTab()
{
    suiTabSheet1 = named(new QWidget, "suiTabSheet1");
    suiPageControl1->addTab(suiTabSheet1, QStringLiteral("公司信息"));
    Panel1 = named(new QFrame(suiTabSheet1), "Panel1");
    Panel1->setFrameShape(QFrame::StyledPanel);
    StaticText1 = named(new QLabel(QStringLiteral("公司名称"), Panel1), "StaticText1");
    Edit1 = named(new QLineEdit(Panel1), "Edit1");
    StaticText2 = named(new QLabel(QStringLiteral("联系电话"), Panel1), "StaticText2");
    Edit2 = named(new QLineEdit(Panel1), "Edit2");
    Memo1 = named(new QPlainTextEdit(Panel1), "Memo1");
    Memo1->setPlainText(QStringLiteral("  《请输入您的公司名及电话！》"));
    Memo1->setMaximumHeight(60);
    Button1 = named(new QPushButton(QStringLiteral("更改"), Panel1), "Button1");

    auto* grid = new QGridLayout(Panel1);
    grid->addWidget(Memo1, 0, 0, 1, 2);
    grid->addWidget(StaticText1, 1, 0);
    grid->addWidget(Edit1, 1, 1);
    grid->addWidget(StaticText2, 2, 0);
    grid->addWidget(Edit2, 2, 1);
    grid->addWidget(Button1, 3, 1, Qt::AlignRight);
    auto* outer = new QVBoxLayout(suiTabSheet1);
    outer->addWidget(Panel1);
    outer->addStretch();

    connect(Button1, &QPushButton::clicked, this, &Tsz::Button1Click);
}

void Tsz::buildListTab()
{
    suiTabSheet2 = named(new QWidget, "suiTabSheet2");
    suiPageControl1->addTab(suiTabSheet2, QStringLiteral("快捷键设置"));
    StringGrid1 = named(new QTableWidget(kListRows, kListColumns, suiTabSheet2), "StringGrid1");
    // The header row and the number column are cells of the grid (row 0 and
    // column 0), fixed and not editable, so that row k holds entry k.
    StringGrid1->horizontalHeader()->hide();
    StringGrid1->verticalHeader()->hide();
    StringGrid1->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    StringGrid1->verticalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    StringGrid1->verticalHeader()->setDefaultSectionSize(24);
    const int widths[kListColumns] = {56, 129, 142, 133};
    for (int c = 0; c < kListColumns; ++c)
        StringGrid1->setColumnWidth(c, widths[c]);
    StringGrid1->setEditTriggers(QAbstractItemView::AllEditTriggers);
    StringGrid1->setTabKeyNavigation(true);
    StringGrid1->setItemDelegate(new ListCellDelegate(this, StringGrid1));
    StringGrid1->installEventFilter(this);
    new GridLineSizer(StringGrid1);
    for (int r = 0; r < kListRows; ++r) {
        for (int c = 0; c < kListColumns; ++c) {
            auto* item = new QTableWidgetItem;
            if (r == 0 || c == 0) {
                item->setFlags(Qt::ItemIsEnabled);
                item->setBackground(StringGrid1->palette().button());
            }
            StringGrid1->setItem(r, c, item);
        }
    }
    auto* layout = new QVBoxLayout(suiTabSheet2);
    layout->addWidget(StringGrid1);
}

void Tsz::buildPasswordTab()
{
    suiTabSheet3 = named(new QWidget, "suiTabSheet3");
    suiPageControl1->addTab(suiTabSheet3, QStringLiteral("密码管理"));
    Panel2 = named(new QFrame(suiTabSheet3), "Panel2");
    Panel2->setFrameShape(QFrame::StyledPanel);

    Label3 = named(new QLabel(QStringLiteral("用户级别："), Panel2), "Label3");
    suiComboBox1 = named(new QComboBox(Panel2), "suiComboBox1");
    suiComboBox1->setEditable(true);
    suiComboBox1->setInsertPolicy(QComboBox::NoInsert);
    suiComboBox1->setEditText(QStringLiteral("管理员"));
    Label1 = named(new QLabel(QStringLiteral("用户密码："), Panel2), "Label1");
    Edit5 = named(new QLineEdit(Panel2), "Edit5");
    Edit5->setEchoMode(QLineEdit::Password);
    Label2 = named(new QLabel(QStringLiteral("密码确认："), Panel2), "Label2");
    Edit6 = named(new QLineEdit(Panel2), "Edit6");
    Edit6->setEchoMode(QLineEdit::Password);
    Edit6->setEnabled(false);
    Label4 = named(new QLabel(QStringLiteral("用户姓名："), Panel2), "Label4");
    Edit7 = named(new QLineEdit(Panel2), "Edit7");
    Edit7->setEnabled(false);
    Memo2 = named(new QPlainTextEdit(Panel2), "Memo2");
    Memo2->setReadOnly(true);
    Memo2->setPlainText(
        QStringList{QStringLiteral("   "), QStringLiteral("   增加管理人员请输入管理级别和密码"),
                    QString(), QStringLiteral("   以及在次输入密码进行正确性确认！"), QString(),
                    QStringLiteral("   修改密码请输入管理级别和原密码，"), QString(),
                    QStringLiteral("   密码正确后在重新输入新密码！")}
            .join(QLatin1Char('\n')));
    suiButton3 = named(new QPushButton(QStringLiteral("增 加"), Panel2), "suiButton3");
    suiButton2 = named(new QPushButton(QStringLiteral("修 改"), Panel2), "suiButton2");
    suiButton2->setEnabled(false);
    Button3 = named(new QPushButton(QStringLiteral("确 认"), Panel2), "Button3");
    Button3->setEnabled(false);
    setModes(0, 0);

    auto* grid = new QGridLayout(Panel2);
    grid->addWidget(Label3, 0, 0);
    grid->addWidget(suiComboBox1, 0, 1);
    grid->addWidget(Label1, 1, 0);
    grid->addWidget(Edit5, 1, 1);
    grid->addWidget(Label2, 2, 0);
    grid->addWidget(Edit6, 2, 1);
    grid->addWidget(Label4, 3, 0);
    grid->addWidget(Edit7, 3, 1);
    grid->addWidget(Memo2, 0, 2, 4, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(suiButton3);
    buttons->addWidget(suiButton2);
    buttons->addWidget(Button3);
    grid->addLayout(buttons, 4, 0, 1, 3);
    auto* outer = new QVBoxLayout(suiTabSheet3);
    outer->addWidget(Panel2);
    outer->addStretch();

    connect(suiButton3, &QPushButton::clicked, this, &Tsz::suiButton3Click);
    connect(suiButton2, &QPushButton::clicked, this, &Tsz::suiButton2Click);
    connect(Button3, &QPushButton::clicked, this, &Tsz::Button3Click);
    connect(Edit5, &QLineEdit::returnPressed, this, &Tsz::Edit5KeyPress);
}

void Tsz::buildLevelTab()
{
    suiTabSheet4 = named(new QWidget, "suiTabSheet4");
    suiPageControl1->addTab(suiTabSheet4, QStringLiteral("等级管理设置"));
    DBGridEh1 =
        named(new DataGrid(context().sj.dj1, suiTabSheet4, &context().dialogs), "DBGridEh1");
    DBGridEh1->setColumns({{QStringLiteral("级别"), QStringLiteral("级别")},
                           {QStringLiteral("房源录入"), QStringLiteral("房源录入")},
                           {QStringLiteral("房源删除"), QStringLiteral("房源删除")},
                           {QStringLiteral("名片管理"), QStringLiteral("名片管理")},
                           {QStringLiteral("房主电话"), QStringLiteral("房主电话")},
                           {QStringLiteral("软件设置"), QStringLiteral("软件设置")},
                           {QStringLiteral("数据管理"), QStringLiteral("数据管理")}});
    DBGridEh1->datasetModel()->setEditable(true);
    DBGridEh1->datasetModel()->setBooleanCheckBoxes(true);
    DBGridEh1->setColumnWidth(0, 80);
    for (int c = 1; c < 7; ++c)
        DBGridEh1->setColumnWidth(c, 60);
    suiButton5 = named(new QPushButton(QStringLiteral("删除"), suiTabSheet4), "suiButton5");
    suiButton4 = named(new QPushButton(QStringLiteral("增 加"), suiTabSheet4), "suiButton4");

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(suiButton4);
    buttons->addWidget(suiButton5);
    auto* layout = new QVBoxLayout(suiTabSheet4);
    layout->addWidget(DBGridEh1, 1);
    layout->addLayout(buttons);

    connect(suiButton4, &QPushButton::clicked, this, &Tsz::suiButton4Click);
    connect(suiButton5, &QPushButton::clicked, this, &Tsz::suiButton5Click);
    connect(DBGridEh1, &QAbstractItemView::clicked, this, &Tsz::DBGridEh1CellClick);
}

void Tsz::showEvent(QShowEvent* event)
{
    ChildForm::showEvent(event);
    if (!m_shown) {
        m_shown = true;
        FormShow();
    }
}

bool Tsz::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::KeyRelease:
        if (watched == StringGrid1 || watched->parent() == StringGrid1->viewport())
            StringGrid1KeyUp();
        break;
    case QEvent::MouseMove:
        FormMouseMove();
        break;
    case QEvent::Resize:
        if (watched == suiTabSheet3)
            suiTabSheet3CanResize();
        break;
    default:
        break;
    }
    return ChildForm::eventFilter(watched, event);
}

void Tsz::FormMouseMove()
{
    frame().hideCheckLists();
}

void Tsz::suiButton1Click()
{
    frame().UnlockMenus();
    close();
}

} // namespace lumo
