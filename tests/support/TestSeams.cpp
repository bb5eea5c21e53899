#include "TestSeams.h"

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

} // namespace lumo::test
