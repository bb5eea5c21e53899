#include "ChildForm.h"

#include <QCloseEvent>

namespace lumo
{

ChildForm::ChildForm(AppContext& ctx, MainFrame& frame, QWidget* parent)
    : QMdiSubWindow(parent), m_ctx(ctx), m_frame(frame), m_body(new QWidget(this))
{
    setAttribute(Qt::WA_DeleteOnClose);
    setWidget(m_body);
}

void ChildForm::closeEvent(QCloseEvent* event)
{
    if (!m_closed) {
        m_closed = true;
        FormClose();
        emit formClosed();
    }
    QMdiSubWindow::closeEvent(event);
}

} // namespace lumo
