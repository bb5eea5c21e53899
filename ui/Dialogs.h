#pragma once
#include <QColor>
#include <QList>
#include <QString>

class QWidget;
class QPrinter;

namespace lumo
{

// Every message box, question box and file, colour and print dialog of the
// program goes through this interface, so that tests can answer them.
class Dialogs
{
public:
    enum class Icon { Information, Warning, Error };
    // The buttons of a question box; the first one answers true.
    enum class Buttons { YesNo, OkCancel };

    virtual ~Dialogs() = default;
    // A message with an OK button.
    virtual void message(QWidget* parent, const QString& text, Icon icon = Icon::Information,
                         const QString& title = QString()) = 0;
    // A question with Yes and No (or OK and Cancel); true for Yes (OK).
    virtual bool question(QWidget* parent, const QString& text, const QString& title = QString(),
                          Buttons buttons = Buttons::YesNo) = 0;
    // File dialogs; an empty result means cancelled.
    virtual QString openFileName(QWidget* parent, const QString& caption, const QString& dir,
                                 const QString& filter) = 0;
    virtual QString saveFileName(QWidget* parent, const QString& caption, const QString& dir,
                                 const QString& filter) = 0;
    // The colour dialog starting at `color`, with the given custom colours;
    // false when cancelled.
    virtual bool chooseColor(QWidget* parent, QColor& color, const QList<QColor>& customColors) = 0;
    // The print-setup dialog for `printer`; false when cancelled.
    virtual bool printSetup(QWidget* parent, QPrinter& printer) = 0;
    // Asks for a line of text; false when cancelled.
    virtual bool inputText(QWidget* parent, const QString& title, const QString& label,
                           QString& text) = 0;
};

// Turns a filter written as "text|patterns|text|patterns" (patterns
// separated by ';') into the file dialog's "text (patterns);;..." form; a
// filter already in that form is returned as it is.
QString fileDialogFilter(const QString& filter);

// The Qt dialogs.
class QtDialogs : public Dialogs
{
public:
    void message(QWidget* parent, const QString& text, Icon icon, const QString& title) override;
    bool question(QWidget* parent, const QString& text, const QString& title,
                  Buttons buttons) override;
    QString openFileName(QWidget* parent, const QString& caption, const QString& dir,
                         const QString& filter) override;
    QString saveFileName(QWidget* parent, const QString& caption, const QString& dir,
                         const QString& filter) override;
    bool chooseColor(QWidget* parent, QColor& color, const QList<QColor>& customColors) override;
    bool printSetup(QWidget* parent, QPrinter& printer) override;
    bool inputText(QWidget* parent, const QString& title, const QString& label,
                   QString& text) override;
};

} // namespace lumo
