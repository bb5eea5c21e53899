#include "Screen.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace lumo
{

int Screen::width() const
{
    const QScreen* s = QGuiApplication::primaryScreen();
    return s ? s->geometry().width() : 1024;
}

int Screen::height() const
{
    const QScreen* s = QGuiApplication::primaryScreen();
    return s ? s->geometry().height() : 768;
}

QRect Screen::availableGeometry() const
{
    const QScreen* s = QGuiApplication::primaryScreen();
    return s ? s->availableGeometry() : QRect(0, 0, width(), height());
}

void Screen::showMaximized(QWidget* window) const
{
    window->showMaximized();
}

QRect Screen::centred(const QSize& size) const
{
    const QRect area = availableGeometry();
    const int left = area.left() + qMax(0, (area.width() - size.width()) / 2);
    const int top = area.top() + qMax(0, (area.height() - size.height()) / 2);
    return QRect(QPoint(left, top), size);
}

} // namespace lumo
