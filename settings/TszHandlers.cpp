// The handlers of the settings window.
#include "AppContext.h"
#include "DataError.h"
#include "DataGrid.h"
#include "Dataset.h"
#include "Dialogs.h"
#include "LookupLists.h"
#include "OwnLook.h"
#include "Passwords.h"
#include "SettingsStore.h"
#include "Tsj.h"
#include "Tsz.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>

namespace lumo
{

namespace
{

const char* const kTag = "tag";

// The lookup sections in grid column order.
const QString& columnSection(int column)
{
    static const QString sections[] = {QString(), QStringLiteral("gj"), QStringLiteral("cx"),
                                       QStringLiteral("hx")};
    return sections[column];
}

// The button of the active mode has red text; the other has the look's.
void drawActive(QPushButton* button, bool active)
{
    setOwnTextColor(button, active ? QColor(Qt::red) : QColor());
}

} // namespace

int Tsz::addFlag() const
{
    return suiButton3->property(kTag).toInt();
}

int Tsz::changeFlag() const
{
    return suiButton2->property(kTag).toInt();
}

void Tsz::setModes(int add, int change)
{
    suiButton3->setProperty(kTag, add);
    suiButton2->setProperty(kTag, change);
    drawActive(suiButton3, add == 1);
    drawActive(suiButton2, change == 1);
}

void Tsz::showError(const QString& text)
{
    context().dialogs.message(this, text, Dialogs::Icon::Error);
}

void Tsz::FormShow()
{
    SettingsStore& store = context().store;
    Edit1->setText(store.ReadAppValue(QStringLiteral("gs")));
    Edit2->setText(store.ReadAppValue(QStringLiteral("dh")));

    const QStringList titles = {QStringLiteral("序号"), QStringLiteral("区域"),
                                QStringLiteral("朝向"), QStringLiteral("户型")};
    for (int c = 0; c < kListColumns; ++c)
        StringGrid1->item(0, c)->setText(titles[c]);
    for (int r = 1; r < kListRows; ++r)
        StringGrid1->item(r, 0)->setText(QString::number(r));
    for (int c = 1; c < kListColumns; ++c) {
        const LookupSection& section = lookupSection(columnSection(c));
        QStringList entries;
        try {
            entries = readLookupList(store, section);
        } catch (const DataError& e) {
            // Writing this column back would replace the stored list by an
            // empty one: the column stays empty and cannot be edited.
            m_listUnread[c] = true;
            const QString reason = QStringLiteral("“%1”列表的数目无法读取：%2")
                                       .arg(StringGrid1->item(0, c)->text(), e.text());
            for (int r = 1; r < kListRows; ++r) {
                StringGrid1->item(r, c)->setFlags(Qt::NoItemFlags);
                StringGrid1->item(r, c)->setToolTip(reason);
            }
            showError(e.text());
            continue;
        }
        for (int k = 1; k <= entries.size() && k < kListRows; ++k)
            StringGrid1->item(k, c)->setText(entries[k - 1]);
    }

    fillLevels();
    suiPageControl1->setCurrentWidget(suiTabSheet3);
}

void Tsz::fillLevels()
{
    // The typed level stays in the box while the list is filled anew.
    const QString text = suiComboBox1->currentText();
    suiComboBox1->clear();
    Dataset* dj = context().sj.dj;
    try {
        if (dj->active()) {
            // The level grid shows dj: it stays on the level the user chose.
            const int chosen = dj->recNo();
            for (dj->first(); !dj->eof(); dj->next())
                suiComboBox1->addItem(dj->displayText(QStringLiteral("级别")));
            if (chosen >= 0)
                dj->moveTo(chosen);
        }
    } catch (const DataError& e) {
        showError(e.text());
    }
    suiComboBox1->setEditText(text);
}

void Tsz::suiTabSheet3CanResize()
{
    fillLevels();
}

void Tsz::Button1Click()
{
    context().store.WriteAppValue(QStringLiteral("gs"), Edit1->text());
    context().store.WriteAppValue(QStringLiteral("dh"), Edit2->text());
}

void Tsz::StringGrid1KeyUp()
{
    const SettingsStore& store = context().store;
    try {
        for (int c = 1; c < kListColumns; ++c) {
            if (m_listUnread[c])
                continue;
            const QString& section = columnSection(c);
            for (int r = 1; r < kListRows; ++r) {
                const QString text = StringGrid1->item(r, c)->text();
                const QString key = QStringLiteral("s%1").arg(r);
                if (!text.isEmpty()) {
                    store.writeProfileString(section, QStringLiteral("s"), QString::number(r));
                    store.writeProfileString(section, key, text);
                } else {
                    store.writeProfileString(section, key, QString());
                }
            }
        }
    } catch (const DataError& e) {
        showError(e.text());
    }
}

void Tsz::suiButton3Click()
{
    suiButton2->setEnabled(false);
    Button3->setEnabled(true);
    setModes(1, 0);
    for (QLineEdit* e : {Edit5, Edit6, Edit7}) {
        e->setEnabled(true);
        e->clear();
    }
}

void Tsz::suiButton2Click()
{
    for (QLineEdit* e : {Edit5, Edit6, Edit7}) {
        e->setEnabled(true);
        e->clear();
    }
    setModes(0, 1);
    Button3->setEnabled(true);
}

void Tsz::Edit5KeyPress()
{
    // The confirmation box keeps what the user typed there: a password is
    // never put into it on the user's behalf.
    const QString level = suiComboBox1->currentText();
    const QString password = Edit5->text();
    m_foundRow = -1;
    Dataset* ma = context().sj.ma;
    try {
        if (findUser(*ma, password, level)) {
            Edit7->setText(ma->displayText(QStringLiteral("姓名")));
            suiButton2->setEnabled(true);
            m_foundRow = ma->recNo();
            m_foundLevel = level;
            m_foundPassword = ma->value(QStringLiteral("密码")).toString();
        }
    } catch (const DataError& e) {
        showError(e.text());
    }
}

bool Tsz::checkUserInput()
{
    const struct {
        QString text;
        QString message;
    } checks[] = {{suiComboBox1->currentText(), QStringLiteral("请输入用户级别")},
                  {Edit5->text(), QStringLiteral("请输入用户密码")},
                  {Edit6->text(), QStringLiteral("请输入密码确认")},
                  {Edit7->text(), QStringLiteral("请输入用户姓名")}};
    for (const auto& check : checks) {
        if (check.text.isEmpty()) {
            context().dialogs.message(this, check.message, Dialogs::Icon::Warning);
            return false;
        }
    }
    return true;
}

void Tsz::Button3Click()
{
    Dataset* ma = context().sj.ma;
    const bool adding = addFlag() == 1;
    const bool changing = changeFlag() == 1;
    if (!adding && !changing)
        return;
    if (!checkUserInput())
        return;
    const QString level = suiComboBox1->currentText();
    try {
        if (adding) {
            ma->insert();
        } else {
            // Only the row that the last lookup found may be changed, and only
            // while it still holds the level and password it was found by.
            if (m_foundRow < 0 || !ma->moveTo(m_foundRow) ||
                ma->value(QStringLiteral("用户")).toString() != m_foundLevel ||
                ma->value(QStringLiteral("密码")).toString() != m_foundPassword) {
                m_foundRow = -1;
                context().dialogs.message(
                    this,
                    QStringLiteral("没有找到要修改的用户：请选择用户级别，输入原密码后按回车键，"
                                   "找到用户后再修改。"),
                    Dialogs::Icon::Warning);
                return;
            }
            ma->edit();
        }
        // Only the hash of the confirmation's text is stored.
        const QString stored = hashPassword(Edit6->text());
        ma->setValue(QStringLiteral("用户"), level);
        ma->setValue(QStringLiteral("密码"), stored);
        ma->setValue(QStringLiteral("姓名"), Edit7->text());
        ma->post();
        if (changing) {
            m_foundLevel = level;
            m_foundPassword = stored;
        }
    } catch (const DataError& e) {
        ma->cancel();
        showError(e.text());
        return;
    }
    // Rows of an earlier version still in plain text are hashed now.
    try {
        hashPlainPasswords(*ma);
    } catch (const DataError& e) {
        showError(e.text());
    }
    for (QWidget* w : {static_cast<QWidget*>(Edit5), static_cast<QWidget*>(Edit6),
                       static_cast<QWidget*>(Edit7), static_cast<QWidget*>(Button3)})
        w->setEnabled(false);
    setModes(0, 0);
}

bool Tsz::currentLevelUnnamed()
{
    Dataset* dj = context().sj.dj;
    if (!dj->active() || dj->recNo() < 0)
        return false;
    return dj->value(QStringLiteral("级别")).toString().isEmpty();
}

void Tsz::suiButton4Click()
{
    Dataset* dj = context().sj.dj;
    try {
        if (currentLevelUnnamed()) {
            context().dialogs.message(this, QStringLiteral("请输入级别！"), Dialogs::Icon::Warning);
            return;
        }
        dj->insert();
        for (const char* field :
             {"房源录入", "房源删除", "名片管理", "房主电话", "软件设置", "数据管理"})
            dj->setValue(QString::fromUtf8(field), false);
        dj->post();
    } catch (const DataError& e) {
        dj->cancel();
        showError(e.text());
        return;
    }
    // The new level waits in the grid for its name.
    const QModelIndex name = DBGridEh1->model()->index(dj->recNo(), 0);
    DBGridEh1->setCurrentIndex(name);
    DBGridEh1->setFocus();
    DBGridEh1->edit(name);
}

void Tsz::DBGridEh1CellClick()
{
    try {
        if (currentLevelUnnamed())
            context().dialogs.message(this, QStringLiteral("请输入级别！"), Dialogs::Icon::Warning);
    } catch (const DataError& e) {
        showError(e.text());
    }
}

void Tsz::suiButton5Click()
{
    try {
        context().sj.dj->remove();
    } catch (const DataError& e) {
        showError(e.text());
    }
}

} // namespace lumo
