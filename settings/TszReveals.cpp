// The settings window's tab "查看记录": who saw which owner's details.
#include "AppContext.h"
#include "DataError.h"
#include "Dialogs.h"
#include "Named.h"
#include "RevealLog.h"
#include "Tsj.h"
#include "Tsz.h"

#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>

namespace lumo
{

namespace
{

} // namespace

void Tsz::buildRevealTab()
{
    suiTabSheet5 = named(new QWidget, "suiTabSheet5");
    suiPageControl1->addTab(suiTabSheet5, QStringLiteral("查看记录"));
    Label5 = named(new QLabel(QStringLiteral("房源序号："), suiTabSheet5), "Label5");
    Edit8 = named(new QLineEdit(suiTabSheet5), "Edit8");
    Edit8->setPlaceholderText(QStringLiteral("全部"));
    Label6 = named(new QLabel(QStringLiteral("用户："), suiTabSheet5), "Label6");
    Edit9 = named(new QLineEdit(suiTabSheet5), "Edit9");
    Edit9->setPlaceholderText(QStringLiteral("级别或姓名的一部分"));
    Label7 = named(new QLabel(suiTabSheet5), "Label7");
    StringGrid2 = named(new QTableWidget(0, 6, suiTabSheet5), "StringGrid2");
    StringGrid2->setHorizontalHeaderLabels(
        {QStringLiteral("时间"), QStringLiteral("序号"), QStringLiteral("用户"),
         QStringLiteral("姓名"), QStringLiteral("登录用户"), QStringLiteral("登录姓名")});
    StringGrid2->verticalHeader()->hide();
    StringGrid2->setEditTriggers(QAbstractItemView::NoEditTriggers);
    StringGrid2->setSelectionBehavior(QAbstractItemView::SelectRows);
    StringGrid2->horizontalHeader()->setStretchLastSection(true);
    StringGrid2->setColumnWidth(0, 150);

    auto* filters = new QGridLayout;
    filters->addWidget(Label5, 0, 0);
    filters->addWidget(Edit8, 0, 1);
    filters->addWidget(Label6, 0, 2);
    filters->addWidget(Edit9, 0, 3);
    filters->addWidget(Label7, 0, 4);
    filters->setColumnStretch(3, 1);
    auto* layout = new QVBoxLayout(suiTabSheet5);
    layout->addLayout(filters);
    layout->addWidget(StringGrid2, 1);

    connect(Edit8, &QLineEdit::textChanged, this, &Tsz::fillReveals);
    connect(Edit9, &QLineEdit::textChanged, this, &Tsz::fillReveals);
    connect(suiPageControl1, &QTabWidget::currentChanged, this, [this](int) {
        if (suiPageControl1->currentWidget() == suiTabSheet5)
            fillReveals();
    });
}

void Tsz::fillReveals()
{
    QList<Reveal> rows;
    try {
        rows = readReveals(context().sj.lumo1(), {Edit8->text(), Edit9->text()});
    } catch (const DataError& e) {
        showError(e.text());
    }
    StringGrid2->setRowCount(int(rows.size()));
    for (int r = 0; r < int(rows.size()); ++r) {
        const Reveal& reveal = rows[r];
        QString time = reveal.time;
        time.replace(QLatin1Char('T'), QLatin1Char(' '));
        const QString cells[] = {time,        reveal.serial.toString(), reveal.user,
                                 reveal.name, reveal.loginUser,         reveal.loginName};
        for (int c = 0; c < 6; ++c)
            StringGrid2->setItem(r, c, new QTableWidgetItem(cells[c]));
    }
    Label7->setText(QStringLiteral("共 %1 条记录").arg(rows.size()));
}

} // namespace lumo
