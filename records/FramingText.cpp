#include "FramingText.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QPainter>
#include <QStyle>

namespace lumo
{

namespace
{
constexpr int kGap = 1; // between a line of words and the controls
} // namespace

FramingText::FramingText(const QString& caption, QWidget* parent) : QLabel(caption, parent)
{
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    auto* row = new QHBoxLayout(this);
    row->setSpacing(12);
    updateMargins();
}

void FramingText::setFramed(const QList<QWidget*>& controls)
{
    m_controls = controls;
    for (QWidget* control : controls)
        layout()->addWidget(control);
    updateGeometry();
}

void FramingText::updateMargins()
{
    const int line = fontMetrics().height();
    const int side = frameWidth() + 3;
    layout()->setContentsMargins(side, frameWidth() + line + kGap, side,
                                 frameWidth() + line + kGap);
}

QSize FramingText::sizeHint() const
{
    return layout()->sizeHint();
}

QSize FramingText::minimumSizeHint() const
{
    return layout()->minimumSize();
}

void FramingText::changeEvent(QEvent* event)
{
    QLabel::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        updateMargins();
}

void FramingText::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    drawFrame(&painter);
    const QStringList words = text().split(QLatin1Char(' '), Qt::SkipEmptyParts);
    const int perLine = int(m_controls.size());
    const QFontMetrics metrics = fontMetrics();
    painter.setPen(palette().color(QPalette::WindowText));
    for (int i = 0; i < words.size() && perLine > 0 && i < 2 * perLine; ++i) {
        const QRect control = m_controls[i % perLine]->geometry();
        const bool above = i < perLine;
        const int top =
            above ? control.top() - kGap - metrics.height() : control.bottom() + 1 + kGap;
        painter.drawText(QRect(control.left(), top, control.width(), metrics.height()),
                         Qt::AlignLeft | Qt::AlignVCenter, words[i]);
    }
}

} // namespace lumo
