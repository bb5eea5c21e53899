// Appearance entries of the main window: looks, colours and small tools.
#include "AppContext.h"
#include "CalculatorDialog.h"
#include "Colors.h"
#include "Dialogs.h"
#include "Folders.h"
#include "Looks.h"
#include "PaintProgram.h"
#include "SettingsStore.h"
#include "Skins.h"
#include "Tmain.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QMdiArea>
#include <QPointer>

namespace lumo
{

namespace
{

// What the appearance entries remember while the main window lives: the
// colour the colour dialog starts at and the open calculator.
class LookState : public QObject
{
public:
    explicit LookState(QObject* parent) : QObject(parent)
    {
        setObjectName(QStringLiteral("lookState"));
    }
    QColor dialogColor = initialDialogColor();
    QPointer<CalculatorDialog> calculator;
};

LookState* lookState(Tmain* w)
{
    auto* state = w->findChild<LookState*>(QStringLiteral("lookState"), Qt::FindDirectChildrenOnly);
    return state ? state : new LookState(w);
}

// Asks for a colour starting at the last confirmed one; false on Cancel.
bool askColor(Tmain* w, Dialogs& dialogs, QColor* chosen)
{
    LookState* state = lookState(w);
    QColor color = state->dialogColor;
    if (!dialogs.chooseColor(w, color, presetCustomColors()) || !color.isValid())
        return false;
    state->dialogColor = color;
    *chosen = color;
    return true;
}

} // namespace

void Tmain::connectLookEntries()
{
    lookState(this);
    connect(N110, &QAction::triggered, this, &Tmain::N110Click);
    connect(N23, &QAction::triggered, this, &Tmain::N23Click);
    connect(windows1, &QAction::triggered, this, &Tmain::windows1Click);
    connect(N31, &QAction::triggered, this, &Tmain::N31Click);
    connect(N24, &QAction::triggered, this, &Tmain::N24Click);
    connect(N25, &QAction::triggered, this, &Tmain::N25Click);
    connect(N29, &QAction::triggered, this, &Tmain::N29Click);
    connect(N14, &QAction::triggered, this, &Tmain::N14Click);
    connect(N28, &QAction::triggered, this, &Tmain::N28Click);
}

// winxpblue / mosphere: the look changes at once, then it is stored.
void Tmain::N110Click()
{
    applyLook({Look::WinXpBlue, QString()});
    m_ctx.store.WriteAppValue(QStringLiteral("jm"), storedLookText(Look::WinXpBlue));
}

void Tmain::N23Click()
{
    applyLook({Look::Mosphere, QString()});
    m_ctx.store.WriteAppValue(QStringLiteral("jm"), storedLookText(Look::Mosphere));
}

// 初级界面: stored first, then every window shows its plain look.
void Tmain::windows1Click()
{
    m_ctx.store.WriteAppValue(QStringLiteral("jm"), storedLookText(Look::Plain));
    applyLook({Look::Plain, QString()});
}

// 自定义界面: a user's skin from a chosen "skin.ini".
void Tmain::N31Click()
{
    const QString proposed = m_ctx.folders.appDir() + QStringLiteral("/Skin/skin.ini");
    const QString file = m_ctx.dialogs.openFileName(this, QStringLiteral("Open file"), proposed,
                                                    QStringLiteral("skin.ini (skin.ini)"));
    if (file.isEmpty())
        return;
    UserSkin skin;
    QString error;
    const QString path = QDir::toNativeSeparators(QFileInfo(file).absoluteFilePath());
    if (!loadUserSkin(path, &skin, &error)) {
        // A file that is no skin leaves the look and the stored choice as
        // they were.
        m_ctx.dialogs.message(this, error, Dialogs::Icon::Warning, QStringLiteral("换肤"));
        return;
    }
    applyLook({Look::UserSkin, path});
    m_ctx.store.WriteAppValue(QStringLiteral("jm"), storedLookText(Look::UserSkin, path));
}

// 背 景 色 彩: stored, read back and shown on the main window at once.
void Tmain::N24Click()
{
    QColor color;
    if (askColor(this, m_ctx.dialogs, &color)) {
        m_ctx.store.WriteAppValue(QStringLiteral("rgb"), QString::number(colorToValue(color)));
        QColor stored;
        if (colorFromText(m_ctx.store.ReadAppValue(QStringLiteral("rgb")), &stored))
            mdiArea()->setBackground(stored);
    }
    mdiArea()->viewport()->update();
}

// 表格背景色彩: only stored; grids take it when they next open.
void Tmain::N25Click()
{
    QColor color;
    if (askColor(this, m_ctx.dialogs, &color))
        m_ctx.store.WriteAppValue(QStringLiteral("bgrgb"), QString::number(colorToValue(color)));
}

void Tmain::N29Click()
{
    startPaintProgram(m_ctx.dialogs, this);
}

void Tmain::N14Click()
{
    LookState* state = lookState(this);
    if (!state->calculator) {
        state->calculator = new CalculatorDialog(this);
        state->calculator->setAttribute(Qt::WA_DeleteOnClose);
    }
    state->calculator->show();
    state->calculator->raise();
    state->calculator->activateWindow();
}

void Tmain::N28Click()
{
    openHelpFile(m_ctx.dialogs, this, m_ctx.folders.appDir());
}

void Tmain::applyStoredLook()
{
    applyLook(parseStoredLook(m_ctx.store.ReadAppValue(QStringLiteral("jm"))));
    QColor color;
    if (colorFromText(m_ctx.store.ReadAppValue(QStringLiteral("rgb")), &color))
        mdiArea()->setBackground(color);
}

} // namespace lumo
