#pragma once
#include "ChildForm.h"

#include <QDateTime>

class QAction;
class QDateTimeEdit;
class QFrame;
class QMenu;
class QProgressBar;
class QPushButton;

namespace lumo
{

class DataGrid;
class FramingText;

// The deletion window: deletes the selected property, the properties of a
// range of registration dates, or the whole register.
class Tscjl : public ChildForm
{
    Q_OBJECT
public:
    Tscjl(AppContext& ctx, MainFrame& frame, QWidget* parent = nullptr);

    // The moment both date pickers start at.
    static QDateTime initialMoment();

    DataGrid* DBGrid1;
    QMenu* suiPopupMenu1;
    QAction* N1;
    QAction* N2;
    QFrame* Panel1;
    QProgressBar* Animate1;
    QFrame* Panel2;
    FramingText* StaticText1;
    QDateTimeEdit* DateTimePicker1;
    QDateTimeEdit* DateTimePicker2;
    QPushButton* suiButton1;
    QPushButton* suiButton2;
    QPushButton* suiButton3;

    void FormShow();
    void N1Click();
    void BitBtn3Click();
    void BitBtn2Click();
    void suiButton3Click();
    void DBGrid1MouseMove();

protected:
    void FormClose() override;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool deleteEverything();
    void placeButtonPanel();
    void showError(const QString& text);

    bool m_shown = false;
};

} // namespace lumo
