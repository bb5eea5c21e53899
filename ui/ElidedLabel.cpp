#include "ElidedLabel.h"

#include <QPainter>
#include <QStyle>
#include <QStyleOption>

namespace lumo
{

ElidedLabel::ElidedLabel(QWidget* parent) : QLabel(parent)
{
    setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
}

QSize ElidedLabel::minimumSizeHint() const
{
    return QSize(0, QLabel::minimumSizeHint().height());
}

QString ElidedLabel::shownText() const
{
    return fontMetrics().elidedText(text(), Qt::ElideRight, contentsRect().width() - 2 * margin());
}

void ElidedLabel::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    drawFrame(&p);
    const QRect area = contentsRect().marginsRemoved(QMargins(margin(), 0, margin(), 0));
    QStyleOption opt;
    opt.initFrom(this);
    style()->drawItemText(&p, area, int(alignment()), opt.palette, isEnabled(), shownText(),
                          foregroundRole());
}

} // namespace lumo
