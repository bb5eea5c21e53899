#include "ChildForm.h"

#include "OwnLook.h"

#include <QCloseEvent>

namespace lumo
{

ChildForm::ChildForm(AppContext& ctx, MainFrame& frame, QWidget* parent)
    : QMdiSubWindow(parent), m_ctx(ctx), m_frame(frame), m_body(new QWidget(this))
{
    m_body->setObjectName(QStringLiteral("body"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWidget(m_body);
}

void ChildForm::setBodyColor(const QColor& color)
{
    setOwnBackground(m_body, color);
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
