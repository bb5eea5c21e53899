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
    SettingsStore& store = m_ctx.store;
    const QString jm = QStringLiteral("jm");

    // winxpblue / mosphere: the look changes at once, then it is stored.
    connect(N110, &QAction::triggered, this, [&store, jm] {
        applyLook({Look::WinXpBlue, QString()});
        store.WriteAppValue(jm, storedLookText(Look::WinXpBlue));
    });
    connect(N23, &QAction::triggered, this, [&store, jm] {
        applyLook({Look::Mosphere, QString()});
        store.WriteAppValue(jm, storedLookText(Look::Mosphere));
    });
    // 初级界面: stored first, then every window shows its plain look.
    connect(windows1, &QAction::triggered, this, [&store, jm] {
        store.WriteAppValue(jm, storedLookText(Look::Plain));
        applyLook({Look::Plain, QString()});
    });
    // 自定义界面: a user's skin from a chosen "skin.ini".
    connect(N31, &QAction::triggered, this, [this, &store, jm] {
        const QString proposed = m_ctx.folders.appDir() + QStringLiteral("/Skin/skin.ini");
        const QString file = m_ctx.dialogs.openFileName(this, QStringLiteral("Open file"), proposed,
                                                        QStringLiteral("skin.ini (skin.ini)"));
        if (file.isEmpty())
            return;
        UserSkin skin;
        QString error;
        const QString path = QDir::toNativeSeparators(QFileInfo(file).absoluteFilePath());
        if (!loadUserSkin(path, &skin, &error)) {
            // A file that is no skin leaves the look and the stored choice
            // as they were.
            m_ctx.dialogs.message(this, error, Dialogs::Icon::Warning, QStringLiteral("换肤"));
            return;
        }
        applyLook({Look::UserSkin, path});
        store.WriteAppValue(jm, storedLookText(Look::UserSkin, path));
    });

    // 背 景 色 彩: stored, read back and shown on the main window at once.
    connect(N24, &QAction::triggered, this, [this, &store] {
        QColor color;
        if (askColor(this, m_ctx.dialogs, &color)) {
            store.WriteAppValue(QStringLiteral("rgb"), QString::number(colorToValue(color)));
            QColor stored;
            if (colorFromText(store.ReadAppValue(QStringLiteral("rgb")), &stored))
                mdiArea()->setBackground(stored);
        }
        mdiArea()->viewport()->update();
    });
    // 表格背景色彩: only stored; grids take it when they next open.
    connect(N25, &QAction::triggered, this, [this, &store] {
        QColor color;
        if (askColor(this, m_ctx.dialogs, &color))
            store.WriteAppValue(QStringLiteral("bgrgb"), QString::number(colorToValue(color)));
    });

    connect(N29, &QAction::triggered, this, [this] { startPaintProgram(m_ctx.dialogs, this); });
    connect(N14, &QAction::triggered, this, [this] {
        LookState* state = lookState(this);
        if (!state->calculator) {
            state->calculator = new CalculatorDialog(this);
            state->calculator->setAttribute(Qt::WA_DeleteOnClose);
        }
        state->calculator->show();
        state->calculator->raise();
        state->calculator->activateWindow();
    });
    connect(N28, &QAction::triggered, this,
            [this] { openHelpFile(m_ctx.dialogs, this, m_ctx.folders.appDir()); });
}

void Tmain::applyStoredLook()
{
    applyLook(parseStoredLook(m_ctx.store.ReadAppValue(QStringLiteral("jm"))));
    QColor color;
    if (colorFromText(m_ctx.store.ReadAppValue(QStringLiteral("rgb")), &color))
        mdiArea()->setBackground(color);
}

} // namespace lumo
