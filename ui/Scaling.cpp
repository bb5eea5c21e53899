#include "Scaling.h"

#include <QBoxLayout>
#include <QFrame>
#include <QGridLayout>
#include <QLayout>
#include <QWidget>

namespace lumo
{

namespace
{

int scaled(int value, int multiplier, int divisor)
{
    return qRound(double(value) * multiplier / divisor);
}

bool inLayout(const QLayout* layout, const QWidget* w)
{
    for (int i = 0; i < layout->count(); ++i) {
        QLayoutItem* item = layout->itemAt(i);
        if (item->widget() == w)
            return true;
        if (const QLayout* inner = item->layout(); inner && inLayout(inner, w))
            return true;
    }
    return false;
}

// Widgets placed by hand on a plain container: the parts of compound
// controls (a spin box's text box, a view's scroll bars) are placed by
// their control and are left to it.
bool placedByHand(const QWidget* w)
{
    const QWidget* parent = w->parentWidget();
    if (!parent || w->isWindow())
        return false;
    const QMetaObject* kind = parent->metaObject();
    if (kind != &QWidget::staticMetaObject && kind != &QFrame::staticMetaObject)
        return false;
    return !(parent->layout() && inLayout(parent->layout(), w));
}

QFont scaledFont(QFont f, int multiplier, int divisor)
{
    if (f.pixelSize() > 0)
        f.setPixelSize(qMax(1, scaled(f.pixelSize(), multiplier, divisor)));
    else if (f.pointSize() > 0)
        f.setPointSize(qMax(1, scaled(f.pointSize(), multiplier, divisor)));
    else
        f.setPointSizeF(f.pointSizeF() * multiplier / divisor);
    return f;
}

void scaleLimits(QWidget* w, int multiplier, int divisor)
{
    const QSize min = w->minimumSize();
    const QSize max = w->maximumSize();
    auto limit = [&](int v) {
        return v > 0 && v < QWIDGETSIZE_MAX ? scaled(v, multiplier, divisor) : v;
    };
    w->setMaximumSize(limit(max.width()), limit(max.height()));
    w->setMinimumSize(limit(min.width()), limit(min.height()));
}

void scaleLayout(QLayout* layout, int multiplier, int divisor)
{
    const QMargins m = layout->contentsMargins();
    layout->setContentsMargins(
        scaled(m.left(), multiplier, divisor), scaled(m.top(), multiplier, divisor),
        scaled(m.right(), multiplier, divisor), scaled(m.bottom(), multiplier, divisor));
    if (auto* grid = qobject_cast<QGridLayout*>(layout)) {
        grid->setHorizontalSpacing(scaled(grid->horizontalSpacing(), multiplier, divisor));
        grid->setVerticalSpacing(scaled(grid->verticalSpacing(), multiplier, divisor));
    } else if (auto* box = qobject_cast<QBoxLayout*>(layout)) {
        if (box->spacing() > 0)
            box->setSpacing(scaled(box->spacing(), multiplier, divisor));
        for (int i = 0; i < box->count(); ++i) {
            QSpacerItem* spacer = box->itemAt(i)->spacerItem();
            if (!spacer || box->stretch(i) > 0)
                continue;
            const QSize s = spacer->sizeHint();
            const QSizePolicy p = spacer->sizePolicy();
            spacer->changeSize(scaled(s.width(), multiplier, divisor),
                               scaled(s.height(), multiplier, divisor), p.horizontalPolicy(),
                               p.verticalPolicy());
        }
    }
}

} // namespace

void scaleBy(QWidget* root, int multiplier, int divisor)
{
    if (multiplier == divisor || divisor == 0)
        return;
    QList<QWidget*> widgets{root};
    widgets += root->findChildren<QWidget*>();
    // Every widget's font is scaled from the font it shows now and set on
    // it, so the result does not depend on which fonts a widget takes from
    // its parent (a style sheet stops that passing on).
    QList<QFont> fonts;
    for (QWidget* w : widgets)
        fonts << scaledFont(w->font(), multiplier, divisor);
    for (int i = 0; i < widgets.size(); ++i)
        widgets[i]->setFont(fonts[i]);
    for (QWidget* w : widgets) {
        scaleLimits(w, multiplier, divisor);
        if (w != root && placedByHand(w)) {
            const QRect g = w->geometry();
            w->setGeometry(scaled(g.x(), multiplier, divisor), scaled(g.y(), multiplier, divisor),
                           scaled(g.width(), multiplier, divisor),
                           scaled(g.height(), multiplier, divisor));
        }
    }
    for (QLayout* l : root->findChildren<QLayout*>())
        scaleLayout(l, multiplier, divisor);
}

} // namespace lumo
