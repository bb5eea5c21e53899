#pragma once
#include "ChildForm.h"

#include <QColor>

class QFrame;
class QPushButton;
class QSplitter;
class QWidget;

namespace lumo
{

class DataGrid;

// The results window of a property search: the found rows above, the print
// list below with its buttons.
class Tcxxs : public ChildForm
{
    Q_OBJECT
public:
    Tcxxs(AppContext& ctx, MainFrame& frame, QWidget* parent = nullptr);

    // Whether the grids show the skinned look ("bg" = "1").
    bool skinnedGrids() const { return m_skinned; }

    // Handlers.
    void FormShow();
    void FlatButton1Click();
    void FlatButton3Click();
    void FlatButton2Click();
    void bsSkinSpeedButton4Click();
    void RxDBGrid1DblClick();
    void RxDBGrid1MouseMove();
    void Splitter1Moved();

    QFrame* Bevel1;
    QFrame* Bevel2;
    QSplitter* Splitter1;
    QWidget* Panel3;
    DataGrid* RxDBGrid1 = nullptr;
    QWidget* Panel1;
    QWidget* Panel2;
    QPushButton* bsSkinSpeedButton3;
    QPushButton* bsSkinSpeedButton2;
    QPushButton* bsSkinSpeedButton1;
    QPushButton* bsSkinSpeedButton4;
    DataGrid* RxDBGrid2 = nullptr;

    // Height of the lower panel (also before the window is laid out).
    int lowerPanelHeight() const;
    void setLowerPanelHeight(int height);

protected:
    void FormClose() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void applyGridStyle(bool skinned, int resultHeight, int listHeight);

    bool m_skinned = false;
    int m_lowerHeight = 110;
    QColor m_gridColour = QColor(0xEF, 0xEC, 0xDE);
};

} // namespace lumo
