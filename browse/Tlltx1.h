#pragma once
#include "ChildForm.h"

#include <QPixmap>

class QFrame;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QTimer;

namespace lumo
{

// The browser's picture: scaled to fit with its proportions kept, centred,
// transparent where there is no picture so the text behind shows through.
class BrowserPicture : public QWidget
{
    Q_OBJECT
public:
    explicit BrowserPicture(QWidget* parent = nullptr);
    void setPicture(const QPixmap& picture);
    void clearPicture();
    bool hasPicture() const { return !m_picture.isNull(); }
    const QPixmap& picture() const { return m_picture; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QPixmap m_picture;
};

// The record browser: a slide show of the properties that match the main
// window's filter, one step every five seconds.
class Tlltx1 : public ChildForm
{
    Q_OBJECT
public:
    Tlltx1(AppContext& ctx, MainFrame& frame, QWidget* parent = nullptr);

    QFrame* Bevel1;
    QFrame* Panel1;
    QLabel* Label6;
    QLabel* Label5;
    QLabel* Label7;
    QLabel* Label8;
    QLabel* Label9;
    QLabel* Label10;
    QLabel* Label11;
    QLabel* Label12;
    QLabel* Label14;
    QLabel* Label13;
    QLabel* Label1;
    QLabel* Label2;
    QLabel* Label3;
    QLabel* Label4;
    QLabel* Label15;
    QPlainTextEdit* DBMemo2;
    QLineEdit* DBEdit2;
    QLineEdit* DBEdit3;
    QLineEdit* DBEdit4;
    QLineEdit* DBEdit5;
    QLineEdit* DBEdit7;
    QLineEdit* DBEdit6;
    QLineEdit* DBEdit8;
    QPlainTextEdit* DBMemo1;
    QLineEdit* Edit1;
    BrowserPicture* Image1;
    QLabel* Label16;
    QTimer* Timer1;

    void FormShow();
    void Timer1Timer();
    void Panel1MouseMove();
    void Image1MouseMove();
    void Image1Click();
    // Typed characters never reach the data boxes.
    void DBMemo1KeyPress(QChar& key);

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void FormClose() override;

private:
    void showCurrent();
    void scaleContents(int numerator, int denominator);

    bool m_shown = false;
};

} // namespace lumo
