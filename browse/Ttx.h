#pragma once
#include <QWidget>

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QToolButton;

namespace lumo
{

struct AppContext;
class MainFrame;

// The photo preview: the photo and main data of the current search row,
// zoomable in steps of ten per cent. A separate window that stays on top
// and frees itself when closed.
class Ttx : public QWidget
{
    Q_OBJECT
public:
    Ttx(AppContext& ctx, MainFrame& frame, QWidget* parent = nullptr);

    QLabel* Image1;
    QLineEdit* DBEdit9;
    QWidget* bsSkinUpDown1;
    QToolButton* SpinButton1Up;
    QToolButton* SpinButton1Down;
    QLineEdit* DBEdit2;
    QLineEdit* DBEdit3;
    QLineEdit* DBEdit4;
    QLabel* Label1;
    QLineEdit* DBEdit5;
    QLabel* Label2;
    QLineEdit* DBEdit6;
    QLineEdit* DBEdit7;
    QLabel* Label3;
    QLineEdit* DBEdit8;
    QLabel* Label4;
    QPlainTextEdit* DBMemo1;

    // Enlargements and reductions since the window was shown.
    quint16 enlargements() const { return m_enlarged; }
    quint16 reductions() const { return m_reduced; }

    void FormShow();
    void FormActivate();
    void SpinButton1UpClick();
    void SpinButton1DownClick();
    void Image1Click();
    void DBMemo1KeyPress(QChar& key);

protected:
    void showEvent(QShowEvent* event) override;
    bool event(QEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void loadPhoto();
    void scaleWindow(int numerator, int denominator);
    void applyFontSize();

    AppContext& m_ctx;
    MainFrame& m_frame;
    quint16 m_enlarged = 0;
    quint16 m_reduced = 0;
    // The point size of every text in the window; it follows the zoom.
    int m_fontSize = 9;
};

} // namespace lumo
