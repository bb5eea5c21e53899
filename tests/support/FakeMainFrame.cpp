#include "FakeMainFrame.h"

#include "Ttx.h"

namespace lumo::test
{

FakeMainFrame::FakeMainFrame() : area(new QMdiArea(this))
{
    setCentralWidget(area);
    resize(1024, 700);
}

void FakeMainFrame::UnlockMenus()
{
    ++unlockCount;
    locked = false;
    menuEntry(QStringLiteral("N15"))->setEnabled(false);
}

QAction* FakeMainFrame::menuEntry(const QString& name) const
{
    QAction*& a = m_entries[name];
    if (!a) {
        a = new QAction(name, const_cast<FakeMainFrame*>(this));
        a->setObjectName(name);
    }
    return a;
}

void FakeMainFrame::showChild(ChildForm* form)
{
    // The first window shown lends its context to the windows the frame
    // opens itself (the photo preview).
    if (!m_ctx)
        m_ctx = &form->context();
    area->addSubWindow(form);
    form->showMaximized();
}

void FakeMainFrame::openPhotoPreview()
{
    ++photoPreviewCount;
    if (m_ctx)
        (new Ttx(*m_ctx, *this, this))->show();
}

QPrinter* FakeMainFrame::printer()
{
    if (!m_printer)
        m_printer = std::make_unique<QPrinter>();
    return m_printer.get();
}

} // namespace lumo::test
