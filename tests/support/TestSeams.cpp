#include "TestSeams.h"

#include <QWidget>

namespace lumo::test
{

void ScriptedDialogs::message(QWidget*, const QString& text, Icon icon, const QString&)
{
    messages << text;
    icons << icon;
}

bool ScriptedDialogs::question(QWidget*, const QString& text, const QString&, Buttons buttons)
{
    questions << text;
    questionButtons << buttons;
    return answers.isEmpty() ? false : answers.dequeue();
}

QString ScriptedDialogs::openFileName(QWidget*, const QString&, const QString&, const QString&)
{
    return fileNames.isEmpty() ? QString() : fileNames.dequeue();
}

QString ScriptedDialogs::saveFileName(QWidget*, const QString&, const QString&, const QString&)
{
    return fileNames.isEmpty() ? QString() : fileNames.dequeue();
}

bool ScriptedDialogs::chooseColor(QWidget*, QColor& color, const QList<QColor>& customColors)
{
    lastCustomColors = customColors;
    if (colors.isEmpty())
        return false;
    const QColor c = colors.dequeue();
    if (!c.isValid())
        return false;
    color = c;
    return true;
}

bool ScriptedDialogs::printSetup(QWidget*, QPrinter&)
{
    ++printSetupCount;
    return printSetupAnswer;
}

bool ScriptedDialogs::inputText(QWidget*, const QString&, const QString&, QString& text)
{
    if (texts.isEmpty())
        return false;
    text = texts.dequeue();
    return true;
}

QRect FakeScreen::availableGeometry() const
{
    return QRect(0, 0, w, h).marginsRemoved(panels);
}

void FakeScreen::showMaximized(QWidget* window) const
{
    window->setWindowState(Qt::WindowNoState);
    window->show();
    // The frame (title bar and borders) stands around the client area.
    const QRect frame = window->frameGeometry();
    const QRect client = window->geometry();
    const QMargins decoration(client.left() - frame.left(), client.top() - frame.top(),
                              frame.right() - client.right(), frame.bottom() - client.bottom());
    window->setGeometry(availableGeometry().marginsRemoved(decoration));
}

} // namespace lumo::test
