#include "Tfz.h"

#include "AppContext.h"
#include "Clock.h"
#include "DataBinding.h"
#include "DataError.h"
#include "Dataset.h"
#include "Dialogs.h"
#include "MainFrame.h"
#include "Passwords.h"
#include "RevealLog.h"
#include "Screen.h"
#include "Tsj.h"

#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace lumo
{

namespace
{

const QString kBoxStyle = QStringLiteral("QLineEdit { background: #E6E6FF; color: black; }");
// The masks: "-" (45) for the detailed address, "*" (42) for the password.
const QString kAddressMask = QStringLiteral("lineedit-password-character: 45;");
const QString kPasswordMask = QStringLiteral("lineedit-password-character: 42;");

QLineEdit* dataBox(QWidget* parent, const char* name, const QRect& geometry)
{
    auto* box = new QLineEdit(parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setGeometry(geometry);
    box->setEnabled(false);
    box->setStyleSheet(kBoxStyle);
    return box;
}

QLabel* label(QWidget* parent, const char* name, const QString& text, const QRect& geometry)
{
    auto* l = new QLabel(text, parent);
    l->setObjectName(QString::fromLatin1(name));
    l->setGeometry(geometry);
    return l;
}

} // namespace

Tfz::Tfz(AppContext& ctx, MainFrame& frame, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint |
                          Qt::WindowTitleHint | Qt::MSWindowsFixedSizeDialogHint),
      m_ctx(ctx), m_frame(frame)
{
    setAttribute(Qt::WA_DeleteOnClose);
    setObjectName(QStringLiteral("Tfz"));
    setWindowTitle(QStringLiteral("房主信息"));
    setFixedSize(316, 221);

    DBEdit9 = dataBox(this, "DBEdit9", QRect(8, 8, 300, 22));
    DBEdit1 = dataBox(this, "DBEdit1", QRect(8, 36, 300, 22));
    DBEdit1->setEchoMode(QLineEdit::Password);
    // The mask character is taken from the style sheet when it changes on a
    // polished box.
    DBEdit1->ensurePolished();
    DBEdit1->setStyleSheet(
        QStringLiteral("QLineEdit { background: #E6E6FF; color: black; %1 }").arg(kAddressMask));
    DBEdit2 = dataBox(this, "DBEdit2", QRect(8, 64, 96, 22));
    DBEdit3 = dataBox(this, "DBEdit3", QRect(110, 64, 96, 22));
    DBEdit6 = dataBox(this, "DBEdit6", QRect(212, 64, 96, 22));
    DBEdit4 = dataBox(this, "DBEdit4", QRect(8, 92, 60, 22));
    Label1 = label(this, "Label1", QStringLiteral("楼"), QRect(72, 96, 16, 16));
    DBEdit7 = dataBox(this, "DBEdit7", QRect(92, 92, 70, 22));
    Label3 = label(this, "Label3", QStringLiteral("㎡"), QRect(166, 96, 16, 16));
    DBEdit8 = dataBox(this, "DBEdit8", QRect(186, 92, 84, 22));
    Label4 = label(this, "Label4", QStringLiteral("万元"), QRect(274, 96, 34, 16));
    Label2 = label(this, "Label2", QString(), QRect(8, 122, 300, 18));
    Label2->setStyleSheet(QStringLiteral("color: red;"));

    Edit2 = new QLineEdit(QStringLiteral("密码"), this);
    Edit2->setObjectName(QStringLiteral("Edit2"));
    Edit2->setGeometry(8, 146, 96, 24);
    Edit2->setEnabled(false);
    Edit1 = new QLineEdit(this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setGeometry(110, 146, 198, 24);
    Edit1->setEchoMode(QLineEdit::Password);
    Edit1->ensurePolished();
    Edit1->setStyleSheet(QStringLiteral("QLineEdit { %1 }").arg(kPasswordMask));

    suiButton1 = new QPushButton(QStringLiteral("确认"), this);
    suiButton1->setObjectName(QStringLiteral("suiButton1"));
    suiButton1->setGeometry(128, 184, 84, 28);
    suiButton2 = new QPushButton(QStringLiteral("关闭"), this);
    suiButton2->setObjectName(QStringLiteral("suiButton2"));
    suiButton2->setGeometry(224, 184, 84, 28);

    DataSource* source = ctx.sj.DataSource1;
    bindField(DBEdit9, source, QStringLiteral("房屋地址"));
    bindField(DBEdit1, source, QStringLiteral("详细地址"));
    bindField(DBEdit2, source, QStringLiteral("户型"));
    bindField(DBEdit3, source, QStringLiteral("朝向"));
    bindField(DBEdit6, source, QStringLiteral("权属"));
    bindField(DBEdit4, source, QStringLiteral("楼层"));
    bindField(DBEdit7, source, QStringLiteral("面积"));
    bindField(DBEdit8, source, QStringLiteral("价格"));

    connect(suiButton1, &QPushButton::clicked, this, &Tfz::Button1Click);
    connect(suiButton2, &QPushButton::clicked, this, &Tfz::suiButton2Click);
    connect(Edit1, &QLineEdit::returnPressed, this, [this] {
        QChar key(u'\r');
        Edit1KeyPress(key);
    });

    move(m_ctx.screen.centred(size()).topLeft());
}

bool Tfz::event(QEvent* e)
{
    if (e->type() == QEvent::WindowActivate)
        FormActivate();
    return QWidget::event(e);
}

void Tfz::FormActivate()
{
    Edit2->setText(QStringLiteral("密码"));
    Edit1->clear();
}

void Tfz::Edit1KeyPress(QChar& key)
{
    if (key != u'\r')
        return;
    key = QChar();
    suiButton1->setFocus();
    Button1Click();
}

void Tfz::Button1Click()
{
    if (Edit1->echoMode() != QLineEdit::Password)
        return;
    Label2->clear();
    bool accepted = false;
    try {
        Dataset* users = m_ctx.sj.ma;
        if (!users->active())
            users->open();
        const int saved = users->recNo();
        QString failure;
        accepted = findUser(*users, Edit1->text(), QString(), true);
        // Who saw the owner is written before anything is shown: without
        // the record the window stays locked.
        if (accepted) {
            try {
                recordAcceptance(*users);
            } catch (const DataError& e) {
                failure = e.text();
            }
        }
        if (saved >= 0)
            users->moveTo(saved);
        if (!failure.isEmpty())
            throw DataError(failure);
    } catch (const DataError& e) {
        m_ctx.dialogs.message(this, e.text(), Dialogs::Icon::Error);
        return;
    }
    if (!accepted) {
        Edit1->setFocus();
        Label2->setText(QStringLiteral("[密码错误]"));
        return;
    }
    Edit1->setEchoMode(QLineEdit::Normal);
    DBEdit1->setEchoMode(QLineEdit::Normal);
    Edit1->setEnabled(false);
    // Copied once: the name and telephone stay when the search row moves.
    QString telephone;
    QString owner;
    Dataset* found = m_ctx.sj.ADOQuery1;
    try {
        if (found->active() && found->recNo() >= 0) {
            telephone = found->displayText(QStringLiteral("联系电话"));
            owner = found->displayText(QStringLiteral("房主"));
        }
    } catch (const DataError& e) {
        m_ctx.dialogs.message(this, e.text(), Dialogs::Icon::Error);
    }
    Edit1->setText(telephone);
    Edit2->setText(owner);
}

void Tfz::recordAcceptance(const Dataset& users)
{
    Dataset* found = m_ctx.sj.ADOQuery1;
    // An empty search result shows no owner: there is nothing to record.
    if (!found->active() || found->recNo() < 0)
        return;
    const LoginUser login = m_frame.loggedInUser();
    Reveal reveal;
    reveal.serial = found->value(QStringLiteral("序号"));
    reveal.user = users.displayText(QStringLiteral("用户"));
    reveal.name = users.displayText(QStringLiteral("姓名"));
    reveal.loginUser = login.level;
    reveal.loginName = login.name;
    reveal.time = m_ctx.clock.now().toString(Qt::ISODate);
    recordReveal(m_ctx.sj.lumo1(), reveal);
}

void Tfz::suiButton2Click()
{
    close();
}

} // namespace lumo
