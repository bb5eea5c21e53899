#include "Dialogs.h"

#include <QApplication>
#include <QColorDialog>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>

namespace lumo
{

namespace
{
QString titleOr(const QString& title)
{
    return title.isEmpty() ? QApplication::applicationName() : title;
}

} // namespace

QString fileDialogFilter(const QString& filter)
{
    if (!filter.contains(QLatin1Char('|')) || filter.contains(QLatin1String(";;")))
        return filter;
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList entries;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        QString patterns = parts[i + 1];
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        entries << parts[i] + QStringLiteral(" (") + patterns + QLatin1Char(')');
    }
    return entries.join(QStringLiteral(";;"));
}

void QtDialogs::message(QWidget* parent, const QString& text, Icon icon, const QString& title)
{
    switch (icon) {
    case Icon::Information:
        QMessageBox::information(parent, titleOr(title), text);
        break;
    case Icon::Warning:
        QMessageBox::warning(parent, titleOr(title), text);
        break;
    case Icon::Error:
        QMessageBox::critical(parent, titleOr(title), text);
        break;
    }
}

bool QtDialogs::question(QWidget* parent, const QString& text, const QString& title,
                         Buttons buttons)
{
    const bool okCancel = buttons == Buttons::OkCancel;
    const QMessageBox::StandardButton yes = okCancel ? QMessageBox::Ok : QMessageBox::Yes;
    const QMessageBox::StandardButton no = okCancel ? QMessageBox::Cancel : QMessageBox::No;
    return QMessageBox::question(parent, titleOr(title), text, yes | no, no) == yes;
}

QString QtDialogs::openFileName(QWidget* parent, const QString& caption, const QString& dir,
                                const QString& filter)
{
    return QFileDialog::getOpenFileName(parent, caption, dir, fileDialogFilter(filter));
}

QString QtDialogs::saveFileName(QWidget* parent, const QString& caption, const QString& dir,
                                const QString& filter)
{
    return QFileDialog::getSaveFileName(parent, caption, dir, fileDialogFilter(filter));
}

bool QtDialogs::chooseColor(QWidget* parent, QColor& color, const QList<QColor>& customColors)
{
    for (int i = 0; i < customColors.size() && i < QColorDialog::customCount(); ++i)
        QColorDialog::setCustomColor(i, customColors[i]);
    const QColor chosen = QColorDialog::getColor(color, parent);
    if (!chosen.isValid())
        return false;
    color = chosen;
    return true;
}

bool QtDialogs::printSetup(QWidget* parent, QPrinter& printer)
{
    QPrintDialog dialog(&printer, parent);
    return dialog.exec() == QDialog::Accepted;
}

bool QtDialogs::inputText(QWidget* parent, const QString& title, const QString& label,
                          QString& text)
{
    bool ok = false;
    const QString value = QInputDialog::getText(parent, title, label, QLineEdit::Normal, text, &ok);
    if (ok)
        text = value;
    return ok;
}

} // namespace lumo
