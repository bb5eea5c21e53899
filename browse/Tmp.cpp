#include "Tmp.h"

#include "AppContext.h"
#include "Clock.h"
#include "DataError.h"
#include "DataGrid.h"
#include "DataSource.h"
#include "Dataset.h"
#include "Dialogs.h"
#include "MainFrame.h"
#include "Named.h"
#include "Screen.h"
#include "TmpSearch.h"
#include "Tsj.h"

#include <QGridLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QSet>

#include <algorithm>

namespace lumo
{

namespace
{

// What the data layer says when a row operation meets an empty dataset.
const QString kEmptyDataset = QStringLiteral("无法在空数据集上执行该操作");

} // namespace

Tmp::Tmp(AppContext& ctx, MainFrame& frame, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::WindowStaysOnTopHint), m_ctx(ctx), m_frame(frame)
{
    setAttribute(Qt::WA_DeleteOnClose);
    setObjectName(QStringLiteral("Tmp"));
    setWindowTitle(QStringLiteral("名片管理"));

    suiButton1 = named(new QPushButton(QStringLiteral("名称"), this), "suiButton1");
    Edit1 = named(new QLineEdit(this), "Edit1");
    suiButton2 = named(new QPushButton(QStringLiteral("电话"), this), "suiButton2");
    Edit3 = named(new QLineEdit(this), "Edit3");
    suiButton4 = named(new QPushButton(QStringLiteral("地址"), this), "suiButton4");
    Edit2 = named(new QLineEdit(this), "Edit2");
    suiButton3 = named(new QPushButton(QStringLiteral("备注"), this), "suiButton3");
    Edit4 = named(new QLineEdit(this), "Edit4");
    suiButton5 = named(new QPushButton(QStringLiteral("查询"), this), "suiButton5");
    suiButton6 = named(new QPushButton(QStringLiteral("添加"), this), "suiButton6");
    suiButton7 = named(new QPushButton(QStringLiteral("删除"), this), "suiButton7");
    suiButton8 = named(new QPushButton(QStringLiteral(" 关闭"), this), "suiButton8");
    // The caption buttons only label their boxes.
    for (QPushButton* caption : {suiButton1, suiButton2, suiButton4, suiButton3}) {
        caption->setFocusPolicy(Qt::NoFocus);
        caption->setFlat(true);
    }

    DBGrid1 = named(new DataGrid(ctx.sj.DataSource5, this, &ctx.dialogs), "DBGrid1");
    DBGrid1->setColumns({{QStringLiteral("序号"), QStringLiteral("序号")},
                         {QStringLiteral("名称"), QStringLiteral("名称")},
                         {QStringLiteral("地址"), QStringLiteral("地址")},
                         {QStringLiteral("电话"), QStringLiteral("电话")},
                         {QStringLiteral("备注"), QStringLiteral("备注")},
                         {QStringLiteral("日期"), QStringLiteral("日期")}});
    DBGrid1->datasetModel()->setEditable(true);
    const int widths[] = {32, 117, 136, 96, 192};
    for (int c = 0; c < 5; ++c)
        DBGrid1->setColumnWidth(c, widths[c]);
    // Typing, double-clicking or F2 opens the in-place editor. It is not
    // opened merely by moving to a cell: an editor left open would write its
    // cell back into whatever row the buttons have just started.
    DBGrid1->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::SelectedClicked |
                             QAbstractItemView::EditKeyPressed | QAbstractItemView::AnyKeyPressed);
    DBGrid1->setSelectionMode(QAbstractItemView::ExtendedSelection);
    DBGrid1->installEventFilter(this);

    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(6, 6, 6, 6);
    grid->addWidget(suiButton1, 0, 0);
    grid->addWidget(Edit1, 0, 1);
    grid->addWidget(suiButton2, 0, 2);
    grid->addWidget(Edit3, 0, 3);
    grid->addWidget(suiButton5, 0, 4);
    grid->addWidget(suiButton4, 1, 0);
    grid->addWidget(Edit2, 1, 1, 1, 3);
    auto* addDelete = new QHBoxLayout;
    addDelete->addWidget(suiButton6);
    addDelete->addWidget(suiButton7);
    grid->addLayout(addDelete, 1, 4);
    grid->addWidget(suiButton3, 2, 0);
    grid->addWidget(Edit4, 2, 1, 1, 3);
    grid->addWidget(suiButton8, 2, 4);
    grid->addWidget(DBGrid1, 3, 0, 1, 5);
    grid->setRowStretch(3, 1);

    setFixedSize(539, 332);
    move(ctx.screen.centred(size()).topLeft());
    setMouseTracking(true);

    connect(suiButton5, &QPushButton::clicked, this, &Tmp::BitBtn1Click);
    connect(suiButton6, &QPushButton::clicked, this, &Tmp::BitBtn2Click);
    connect(suiButton7, &QPushButton::clicked, this, &Tmp::Button5Click);
    connect(suiButton8, &QPushButton::clicked, this, &Tmp::suiButton8Click);
}

void Tmp::showError(const QString& text)
{
    m_ctx.dialogs.message(this, text, Dialogs::Icon::Error);
}

void Tmp::showTable()
{
    Tsj& sj = m_ctx.sj;
    // Changes made in the search view went to the same rows of dh: the table
    // view reads them again.
    if (sj.DataSource5->dataset() != sj.ADOTable4 && sj.ADOTable4->active())
        sj.ADOTable4->refresh();
    sj.DataSource5->setDataset(sj.ADOTable4);
}

void Tmp::BitBtn1Click()
{
    Tsj& sj = m_ctx.sj;
    sj.DataSource5->setDataset(sj.ADOQuery2);
    sj.ADOQuery2->close();
    sj.ADOQuery2->setSql(cardSearchStatement(Edit1->text(), Edit2->text(), Edit3->text()));
    try {
        sj.ADOQuery2->open();
    } catch (const DataError& e) {
        showError(e.text());
    }
}

void Tmp::BitBtn2Click()
{
    Tsj& sj = m_ctx.sj;
    Dataset* table = sj.ADOTable4;
    try {
        showTable();
        table->last();
        qlonglong number = 1;
        if (table->recNo() >= 0) {
            const qlonglong last = table->value(QStringLiteral("序号")).toLongLong();
            if (last > 0)
                number = last + 1;
        }
        table->insert();
        table->setValue(QStringLiteral("序号"), number);
        table->setValue(QStringLiteral("名称"), Edit1->text());
        table->setValue(QStringLiteral("地址"), Edit2->text());
        table->setValue(QStringLiteral("备注"), Edit4->text());
        table->setValue(QStringLiteral("电话"), Edit3->text());
        table->setValue(QStringLiteral("日期"), m_ctx.clock.today());
        table->post();
    } catch (const DataError& e) {
        table->cancel();
        showError(e.text());
    }
}

void Tmp::Button5Click()
{
    if (!m_ctx.dialogs.question(this, QStringLiteral("删除后将不能恢复!")))
        return;
    Tsj& sj = m_ctx.sj;
    Dataset* table = sj.ADOTable4;
    try {
        // In the search view the card selected there is the one deleted.
        const bool searchView = sj.DataSource5->dataset() == sj.ADOQuery2;
        const bool searchRowSelected =
            searchView && sj.ADOQuery2->active() && sj.ADOQuery2->recNo() >= 0;
        QVariant number;
        if (searchRowSelected)
            number = sj.ADOQuery2->value(QStringLiteral("序号"));
        showTable();
        // An empty search result selects no card: none is deleted, rather
        // than a card of the table that the user cannot see.
        if (searchView && !searchRowSelected) {
            showError(QStringLiteral("ADOQuery2: ") + kEmptyDataset);
        } else if (searchView && !number.isNull() &&
                   !table->locate(QStringLiteral("序号"), number)) {
            // The selected card is no longer in the table.
        } else if (!table->active() || !table->isEmpty()) {
            table->remove();
        } else {
            showError(QStringLiteral("ADOTable4: ") + kEmptyDataset);
        }
    } catch (const DataError& e) {
        showError(QStringLiteral("ADOTable4: ") + e.text());
    }
    sj.DataSource5->setDataset(table);
}

void Tmp::deleteSelectedRows()
{
    Dataset* shown = m_ctx.sj.DataSource5->dataset();
    if (!shown || !shown->active() || shown->recNo() < 0)
        return;
    QSet<int> selected;
    for (const QModelIndex& index : DBGrid1->selectionModel()->selectedIndexes())
        selected.insert(index.row());
    QList<int> rows(selected.begin(), selected.end());
    if (rows.size() <= 1) {
        if (!m_ctx.dialogs.question(this, QStringLiteral("删除当前记录吗?"), QString(),
                                    Dialogs::Buttons::OkCancel))
            return;
        rows = {shown->recNo()};
    } else if (!m_ctx.dialogs.question(this, QStringLiteral("删除所有选中记录吗?"), QString(),
                                       Dialogs::Buttons::OkCancel)) {
        return;
    }
    // From the bottom up, so that the rows still to delete keep their place.
    std::sort(rows.begin(), rows.end(), std::greater<int>());
    try {
        for (int row : rows) {
            if (shown->moveTo(row))
                shown->remove();
        }
    } catch (const DataError& e) {
        showError(e.text());
    }
    // Rows deleted through the search query are gone from the table as well.
    if (shown != m_ctx.sj.ADOTable4 && m_ctx.sj.ADOTable4->active()) {
        try {
            m_ctx.sj.ADOTable4->refresh();
        } catch (const DataError& e) {
            showError(e.text());
        }
    }
}

void Tmp::suiButton8Click()
{
    m_frame.UnlockMenus();
    close();
}

void Tmp::FormMouseMove()
{
    m_frame.hideCheckLists();
}

void Tmp::mouseMoveEvent(QMouseEvent* event)
{
    FormMouseMove();
    QWidget::mouseMoveEvent(event);
}

bool Tmp::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == DBGrid1 && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Delete && (key->modifiers() & Qt::ControlModifier)) {
            deleteSelectedRows();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace lumo
