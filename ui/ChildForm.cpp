#include "ChildForm.h"

#include <QCloseEvent>
#include <QPalette>

namespace lumo
{

ChildForm::ChildForm(AppContext& ctx, MainFrame& frame, QWidget* parent)
    : QMdiSubWindow(parent), m_ctx(ctx), m_frame(frame), m_body(new QWidget(this))
{
    setAttribute(Qt::WA_DeleteOnClose);
    setWidget(m_body);
}

void ChildForm::setBodyColor(const QColor& color)
{
    m_body->setAutoFillBackground(true);
    QPalette pal = m_body->palette();
    pal.setColor(QPalette::Window, color);
    m_body->setPalette(pal);
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
