#pragma once
#include <QWidget>

class QLineEdit;
class QPushButton;

namespace lumo
{

struct AppContext;
class DataGrid;
class Dataset;
class MainFrame;

// The business-card directory. A separate window that stays on top and frees itself when closed.
class Tmp : public QWidget
{
    Q_OBJECT
public:
    Tmp(AppContext& ctx, MainFrame& frame, QWidget* parent = nullptr);

    QPushButton* suiButton1;
    QLineEdit* Edit1;
    QPushButton* suiButton2;
    QLineEdit* Edit3;
    QPushButton* suiButton4;
    QLineEdit* Edit2;
    QPushButton* suiButton3;
    QLineEdit* Edit4;
    QPushButton* suiButton5;
    QPushButton* suiButton6;
    QPushButton* suiButton7;
    QPushButton* suiButton8;
    DataGrid* DBGrid1;

    void BitBtn1Click();
    void BitBtn2Click();
    void Button5Click();
    void suiButton8Click();
    void FormMouseMove();
    // Ctrl+Delete in the grid.
    void deleteSelectedRows();

protected:
    void mouseMoveEvent(QMouseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void showTable();
    void showError(const QString& text);

    AppContext& m_ctx;
    MainFrame& m_frame;
};

} // namespace lumo
