// The login panel of the main window: level list, password, welcome line.
#include "AppContext.h"
#include "DataError.h"
#include "Dataset.h"
#include "Dialogs.h"
#include "FilterBar.h"
#include "Passwords.h"
#include "Screen.h"
#include "Tmain.h"
#include "Tsj.h"

#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

namespace lumo
{

namespace
{

// Sends the password box's keys through one handler: every key clears the
// welcome line; Enter looks the user up.
class PasswordKeys : public QObject
{
public:
    PasswordKeys(QLineEdit* box, std::function<void()> cleared, std::function<void()> enter)
        : QObject(box), m_cleared(std::move(cleared)), m_enter(std::move(enter))
    {
        box->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::KeyPress) {
            auto* key = static_cast<QKeyEvent*>(event);
            m_cleared();
            if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
                m_enter();
                return true;
            }
        }
        return false;
    }

private:
    std::function<void()> m_cleared;
    std::function<void()> m_enter;
};

} // namespace

void Tmain::buildLoginPanel()
{
    suiImagePanel1 = new QFrame(centralWidget());
    suiImagePanel1->setObjectName(QStringLiteral("suiImagePanel1"));
    suiImagePanel1->setFrameShape(QFrame::StyledPanel);
    suiImagePanel1->setAutoFillBackground(true);
    suiImagePanel1->setGeometry(256, 120, 280, 211);
    auto* outer = new QVBoxLayout(suiImagePanel1);
    outer->setContentsMargins(0, 0, 0, 8);

    suiImagePanel2 = new QFrame(suiImagePanel1);
    suiImagePanel2->setObjectName(QStringLiteral("suiImagePanel2"));
    suiImagePanel2->setFixedHeight(24);
    suiImagePanel2->setCursor(Qt::SizeAllCursor);
    suiImagePanel2->setStyleSheet(
        QStringLiteral("#suiImagePanel2 { background: #3a6ea5; } #Label1 { color: white; }"));
    auto* strip = new QHBoxLayout(suiImagePanel2);
    strip->setContentsMargins(2, 0, 2, 0);
    strip->setSpacing(0);
    // The bevel fills the strip left of the button; the panel is dragged by it.
    Bevel3 = new QFrame(suiImagePanel2);
    Bevel3->setObjectName(QStringLiteral("Bevel3"));
    auto* bevel = new QHBoxLayout(Bevel3);
    bevel->setContentsMargins(4, 0, 0, 0);
    Label1 = new QLabel(QStringLiteral("*用户识别*"), Bevel3);
    Label1->setObjectName(QStringLiteral("Label1"));
    bevel->addWidget(Label1);
    bevel->addStretch();
    strip->addWidget(Bevel3, 1);
    suiImageButton1 = new QToolButton(suiImagePanel2);
    suiImageButton1->setObjectName(QStringLiteral("suiImageButton1"));
    suiImageButton1->setAutoRaise(true);
    suiImageButton1->setIcon(style()->standardIcon(QStyle::SP_TitleBarCloseButton));
    strip->addWidget(suiImageButton1);
    suiImagePanel2->installEventFilter(this);
    Bevel3->installEventFilter(this);
    Label1->installEventFilter(this);
    outer->addWidget(suiImagePanel2);

    auto* grid = new QGridLayout;
    grid->setContentsMargins(16, 8, 16, 0);
    Label3 = new QLabel(QStringLiteral("用户级别："), suiImagePanel1);
    Label3->setObjectName(QStringLiteral("Label3"));
    suiComboBox1 = new QComboBox(suiImagePanel1);
    suiComboBox1->setObjectName(QStringLiteral("suiComboBox1"));
    suiComboBox1->setEditable(true);
    suiComboBox1->setInsertPolicy(QComboBox::NoInsert);
    Label2 = new QLabel(QStringLiteral("输入密码："), suiImagePanel1);
    Label2->setObjectName(QStringLiteral("Label2"));
    suiEdit1 = new QLineEdit(suiImagePanel1);
    suiEdit1->setObjectName(QStringLiteral("suiEdit1"));
    suiEdit1->setEchoMode(QLineEdit::Password);
    Label4 = new QLabel(QStringLiteral("确认信息："), suiImagePanel1);
    Label4->setObjectName(QStringLiteral("Label4"));
    suiEdit2 = new QLineEdit(suiImagePanel1);
    suiEdit2->setObjectName(QStringLiteral("suiEdit2"));
    suiEdit2->setReadOnly(true);
    grid->addWidget(Label3, 0, 0);
    grid->addWidget(suiComboBox1, 0, 1);
    grid->addWidget(Label2, 1, 0);
    grid->addWidget(suiEdit1, 1, 1);
    grid->addWidget(Label4, 2, 0);
    grid->addWidget(suiEdit2, 2, 1);
    outer->addLayout(grid);
    outer->addStretch();

    auto* buttons = new QHBoxLayout;
    suiButton1 = new QPushButton(QStringLiteral("确 认"), suiImagePanel1);
    suiButton1->setObjectName(QStringLiteral("suiButton1"));
    suiButton3 = new QPushButton(QStringLiteral("退 出"), suiImagePanel1);
    suiButton3->setObjectName(QStringLiteral("suiButton3"));
    buttons->addStretch();
    buttons->addWidget(suiButton1);
    buttons->addWidget(suiButton3);
    buttons->addStretch();
    outer->addLayout(buttons);
    suiImagePanel1->raise();

    connect(suiComboBox1, &QComboBox::currentTextChanged, this, &Tmain::suiComboBox1Change);
    new PasswordKeys(
        suiEdit1, [this] { suiEdit2->clear(); },
        [this] {
            try {
                if (findUser())
                    suiButton1->setFocus();
            } catch (const DataError& e) {
                m_ctx.dialogs.message(this, e.text(), Dialogs::Icon::Error);
            }
        });
    connect(suiButton1, &QPushButton::clicked, this, &Tmain::suiButton1Click);
    connect(suiButton3, &QPushButton::clicked, this, &Tmain::suiImageButton1Click);
    connect(suiImageButton1, &QToolButton::clicked, this, &Tmain::suiImageButton1Click);
}

void Tmain::suiComboBox1Change()
{
    suiEdit1->setFocus();
}

void Tmain::suiImageButton1Click()
{
    close();
}

// Looks for the first user of the chosen level with the typed password and
// puts the welcome line into the confirmation box.
bool Tmain::findUser()
{
    suiEdit2->clear();
    Dataset* ma = m_ctx.sj.ma;
    if (!lumo::findUser(*ma, suiEdit1->text(), suiComboBox1->currentText()))
        return false;
    suiEdit2->setText(ma->displayText(QStringLiteral("姓名")) +
                      QStringLiteral(" - 欢迎您的使用！"));
    return true;
}

void Tmain::suiButton1Click()
{
    try {
        findUser();
        if (suiComboBox1->currentText() == QStringLiteral("查询用户")) {
            bsSkinMainMenuBar1->hide();
            suiToolBar1->show();
            suiImagePanel1->hide();
            showMinimized();
            m_ctx.screen.showMaximized(this);
            suiToolBar1->toolbutton4->setFocus();
            m_login = {suiComboBox1->currentText(), QString()};
            UnlockMenus();
            return;
        }
        // A user whose level has no row in jb any more is not recognised:
        // no other level's permissions may apply.
        if (suiEdit2->text().isEmpty() ||
            !m_ctx.sj.dj->locate(QStringLiteral("级别"), suiComboBox1->currentText())) {
            suiEdit2->clear();
            m_ctx.dialogs.message(this, QStringLiteral("不可识别的用户？"), Dialogs::Icon::Warning);
            return;
        }
        // The scan left the user's row current.
        m_login = {suiComboBox1->currentText(), m_ctx.sj.ma->displayText(QStringLiteral("姓名"))};
        suiToolBar1->show();
        bsSkinMainMenuBar1->show();
        applyPermissions();
        suiImagePanel1->hide();
        showMinimized();
        m_ctx.screen.showMaximized(this);
        suiToolBar1->toolbutton4->setFocus();
        UnlockMenus();
    } catch (const DataError& e) {
        m_ctx.dialogs.message(this, e.text(), Dialogs::Icon::Error);
    }
}

void Tmain::applyPermissions()
{
    Dataset* dj = m_ctx.sj.dj;
    const std::pair<QAction*, const char*> rules[] = {
        {N2, "软件设置"},  {N16, "数据管理"}, {N15, "房主电话"},
        {N10, "名片管理"}, {N7, "房源删除"},  {N6, "房源录入"},
    };
    for (const auto& [entry, field] : rules)
        entry->setVisible(dj->value(QString::fromUtf8(field)).toBool());
}

} // namespace lumo
