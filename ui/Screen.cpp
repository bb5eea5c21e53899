#include "Screen.h"

#include <QGuiApplication>
#include <QScreen>

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

} // namespace lumo
