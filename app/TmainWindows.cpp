// Menu entries of the main window that open the working windows.
#include "AppContext.h"
#include "Tcxxs.h"
#include "Tfz.h"
#include "Tlltx1.h"
#include "Tlrxx.h"
#include "Tmain.h"
#include "Tmp.h"
#include "Tscjl.h"
#include "Tsz.h"
#include "Ttx.h"
#include "Twnl.h"

#include <QAction>

namespace lumo
{

void Tmain::connectWindowEntries()
{
    // A window whose creation fails (its data cannot be read) reports the
    // error; the error does not leave the menu's handler.
    const std::pair<QAction*, void (Tmain::*)()> entries[] = {
        {N2, &Tmain::N2Click},   {N6, &Tmain::N6Click},   {N7, &Tmain::N7Click},
        {N10, &Tmain::N10Click}, {N15, &Tmain::N15Click}, {N30, &Tmain::N30Click},
        {N3, &Tmain::xmClick},
    };
    for (const auto& [entry, handler] : entries)
        connect(entry, &QAction::triggered, this,
                [this, h = handler] { guard([&] { (this->*h)(); }); });
}

void Tmain::N2Click()
{
    auto* form = new Tsz(m_ctx, *this);
    showChild(form);
    N2->setEnabled(false);
    connect(form, &ChildForm::formClosed, this, [this] { N2->setEnabled(true); });
    LockMenus();
}

void Tmain::N6Click()
{
    if (m_entryForm)
        return;
    auto* form = new Tlrxx(m_ctx, *this);
    m_entryForm = form;
    showChild(form);
    LockMenus();
}

void Tmain::N7Click()
{
    auto* form = new Tscjl(m_ctx, *this);
    showChild(form);
    N7->setEnabled(false);
    connect(form, &ChildForm::formClosed, this, [this] { N7->setEnabled(true); });
    LockMenus();
}

void Tmain::N10Click()
{
    auto* w = new Tmp(m_ctx, *this, this);
    N10->setEnabled(false);
    // Tied to the entry itself: a directory freed after the entry (at the
    // end of the program) finds the connection gone.
    connect(w, &QObject::destroyed, N10, [entry = N10] { entry->setEnabled(true); });
    w->show();
}

void Tmain::N15Click()
{
    auto* w = new Tfz(m_ctx, *this, this);
    w->show();
}

void Tmain::openPhotoPreview()
{
    auto* w = new Ttx(m_ctx, *this, this);
    w->show();
}

void Tmain::N30Click()
{
    auto* form = new Tlltx1(m_ctx, *this);
    showChild(form);
}

void Tmain::xmClick()
{
    auto* w = new Twnl(m_ctx, *this, this);
    w->show();
}

} // namespace lumo
