#pragma once
// Scripted stand-ins for the seams, so that windows run without a person.
#include "Clock.h"
#include "Dialogs.h"
#include "Folders.h"
#include "Screen.h"

#include <QDateTime>
#include <QList>
#include <QMargins>
#include <QQueue>
#include <QStringList>

namespace lumo::test
{

// Records every message and question; answers questions, file, colour and
// print dialogs from queues. An unanswered question is answered No, an
// unanswered file dialog is cancelled.
class ScriptedDialogs : public Dialogs
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

    QStringList messages;           // texts of message boxes, in order
    QList<Icon> icons;              // their icons
    QStringList questions;          // texts of question boxes, in order
    QList<Buttons> questionButtons; // the buttons each question was asked with
    QQueue<bool> answers;           // answers to the next questions
    QQueue<QString> fileNames;
    QQueue<QColor> colors; // an invalid colour cancels
    QList<QColor> lastCustomColors;
    QQueue<QString> texts; // answers to inputText; none cancels
    bool printSetupAnswer = true;
    int printSetupCount = 0;
};

class FakeClock : public Clock
{
public:
    QDateTime now() const override { return current; }
    QDateTime current = QDateTime(QDate(2026, 12, 9), QTime(10, 30, 0));
};

// A screen of w by h pixels; `panels` is the room the desktop's panels and
// docks take from its edges. showMaximized() plays the window manager: the
// window's frame is made to fill the available area.
class FakeScreen : public Screen
{
public:
    int width() const override { return w; }
    int height() const override { return h; }
    QRect availableGeometry() const override;
    void showMaximized(QWidget* window) const override;
    int w = 1024;
    int h = 768;
    QMargins panels;
};

// Every folder under one temporary root.
class TestFolders : public Folders
{
public:
    explicit TestFolders(const QString& root) : root(root) {}
    QString appDir() const override { return root + QStringLiteral("/app"); }
    QString programFile() const override { return appDir() + QStringLiteral("/lumo"); }
    QString currentDir() const override { return appDir(); }
    QString configDir() const override { return root + QStringLiteral("/config"); }
    QString installDir() const override { return root + QStringLiteral("/install"); }
    QString desktopDir() const override { return root + QStringLiteral("/desktop"); }
    QString applicationsDir() const override { return root + QStringLiteral("/applications"); }
    QString iconThemeDir() const override { return root + QStringLiteral("/icons/hicolor"); }
    QString root;
};

} // namespace lumo::test
