#pragma once
#include <QWidget>

class QComboBox;
class QLabel;
class QLineEdit;

namespace lumo
{

struct AppContext;
class MainFrame;
class TCnCalendar;

// The perpetual calendar: a Gregorian date and clock time, the month as a lunar grid, the
// four pillars of the moment, the month's first solar term and the weekday. A separate
// window that shows itself when created, stays on top and frees itself when closed.
class Twnl : public QWidget
{
    Q_OBJECT
public:
    Twnl(AppContext& ctx, MainFrame& frame, QWidget* parent = nullptr);

    QLabel* RxLabel1;
    QComboBox* FlatComboBox1;
    QLabel* RxLabel2;
    QComboBox* FlatComboBox2;
    QLabel* RxLabel3;
    QComboBox* FlatComboBox3;
    QLabel* RxLabel5;
    QComboBox* FlatComboBox4;
    QLabel* RxLabel6;
    QComboBox* FlatComboBox5;
    QLabel* RxLabel4;
    QLineEdit* FlatEdit1;
    TCnCalendar* CnCalendar1;
    QLineEdit* FlatEdit2;

    void CnCalendar1Change();
    void FlatComboBox1Change();
    void FlatComboBox2Change();
    void FlatComboBox3Change();
    void FlatComboBox4Change();
    void RxLabel1Click();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildControls();
    void FormCreate();
    // Runs the handler when the user picks an entry or finishes typing into the box.
    void onBoxChange(QComboBox* box, void (Twnl::*handler)());
    // The box's number; a text that is no number is reported and the box gets `fallback`.
    bool readNumber(QComboBox* box, int fallback, int& value);
    bool readTime(int& hour, int& minute);
    void showDateInBoxes();
    void computeTexts();

    AppContext& m_ctx;
    MainFrame& m_frame;
    // The last valid hour and minute, given back to a box whose text is refused.
    int m_hour = 0;
    int m_minute = 0;
};

} // namespace lumo
