#pragma once
#include "ChildForm.h"

class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTabWidget;
class QTableWidget;

namespace lumo
{

class DataGrid;

// The settings window: the agency's name and telephone, the three lookup
// lists, the users, the access levels and the record of who saw owners'
// details.
class Tsz : public ChildForm
{
    Q_OBJECT
public:
    Tsz(AppContext& ctx, MainFrame& frame, QWidget* parent = nullptr);

    // Rows and columns of the lookup-list grid, header row and number column
    // included.
    static constexpr int kListRows = 21;
    static constexpr int kListColumns = 4;

    QTabWidget* suiPageControl1;

    QWidget* suiTabSheet1;
    QFrame* Panel1;
    QLabel* StaticText1;
    QLineEdit* Edit1;
    QLabel* StaticText2;
    QLineEdit* Edit2;
    QPlainTextEdit* Memo1;
    QPushButton* Button1;

    QWidget* suiTabSheet2;
    QTableWidget* StringGrid1;

    QWidget* suiTabSheet3;
    QFrame* Panel2;
    QLabel* Label3;
    QComboBox* suiComboBox1;
    QLabel* Label1;
    QLineEdit* Edit5;
    QLabel* Label2;
    QLineEdit* Edit6;
    QLabel* Label4;
    QLineEdit* Edit7;
    QPlainTextEdit* Memo2;
    QPushButton* suiButton3;
    QPushButton* suiButton2;
    QPushButton* Button3;

    QWidget* suiTabSheet4;
    DataGrid* DBGridEh1;
    QPushButton* suiButton5;
    QPushButton* suiButton4;

    // The record of who saw owners' details: filters by listing number and
    // by user, the count, the rows newest first.
    QWidget* suiTabSheet5;
    QLabel* Label5;
    QLineEdit* Edit8;
    QLabel* Label6;
    QLineEdit* Edit9;
    QLabel* Label7;
    QTableWidget* StringGrid2;

    QPushButton* suiButton1;
    QLabel* LMDSimpleLabel1;

    // The mode flags of the password tab (the tags of "增 加" and "修 改").
    int addFlag() const;
    int changeFlag() const;

    void FormShow();
    void Button1Click();
    void StringGrid1KeyUp();
    void suiButton3Click();
    void suiButton2Click();
    void Edit5KeyPress();
    void Button3Click();
    void suiTabSheet3CanResize();
    void suiButton4Click();
    void suiButton5Click();
    void DBGridEh1CellClick();
    void suiButton1Click();
    void FormMouseMove();
    // Shows the rows of the record that pass the two filters.
    void fillReveals();

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildAgencyTab();
    void buildListTab();
    void buildPasswordTab();
    void buildLevelTab();
    void buildRevealTab();
    void fillLevels();
    void setModes(int add, int change);
    bool checkUserInput();
    bool currentLevelUnnamed();
    void showError(const QString& text);

    bool m_shown = false;
    // Lookup-grid columns whose list could not be read (a count that is not
    // a number): shown empty, locked and never written back.
    bool m_listUnread[kListColumns] = {};
    // The users row found by the last lookup in the password box, the level
    // it was found by and the 密码 (hash) it held; -1 when the last lookup
    // found none.
    int m_foundRow = -1;
    QString m_foundLevel;
    QString m_foundPassword;
};

} // namespace lumo
