#pragma once
#include "ChildForm.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QSpinBox;
class QWidget;

namespace lumo
{

class DataGrid;

// The entry and edit form of the register: input boxes for one property,
// its photo, and a grid over the whole table.
class Tlrxx : public ChildForm
{
    Q_OBJECT
public:
    Tlrxx(AppContext& ctx, MainFrame& frame, QWidget* parent = nullptr);

    // The picture dialog's filter, in the file dialog's "text (patterns)"
    // form with ";;" between the entries.
    static QString pictureFilter();

    // Handlers.
    void FormShow();
    void Button1Click();
    void Button3Click();
    void Button4Click();
    void Button2Click();
    void DBImage1Click();
    void DBGrid1CellClick();
    void ComboBox4Change();
    void Edit1KeyUp(int key);
    void Edit8KeyUp(int key);
    void FlatEdit1Click();
    void FlatEdit2Click();
    void FormMouseMove();

    // Input boxes and their captions.
    QPushButton* suiButton2;
    QComboBox* ComboBox4;
    QPushButton* suiButton11;
    QComboBox* FlatComboBox3;
    QLineEdit* Edit8;
    QPushButton* suiButton5;
    QLineEdit* Edit1;
    QPushButton* suiButton4;
    QComboBox* FlatComboBox4;
    QPushButton* suiButton6;
    QComboBox* FlatComboBox2;
    QPushButton* BitBtn1;
    QSpinBox* SpinEdit1;
    QPushButton* suiButton9;
    QLineEdit* Edit3;
    QPushButton* suiButton8;
    QSpinBox* SpinEdit3;
    QPushButton* bitbtn8;
    QComboBox* FlatComboBox1;
    QPushButton* suiButton10;
    QLineEdit* Edit6;
    QPushButton* suiButton3;
    QLineEdit* Edit5;
    QPushButton* suiButton12;
    QLineEdit* Edit4;
    QPushButton* suiButton1;
    QPlainTextEdit* edit2;
    QLineEdit* Edit7;

    // Picture box, the label under it and the suggestion boxes.
    QLabel* dbImage1;
    QLabel* Label1;
    QLineEdit* FlatEdit1;
    QLineEdit* FlatEdit2;

    // Grid and buttons.
    QWidget* Panel1;
    DataGrid* DBGrid1;
    QWidget* Panel2;
    QPushButton* Button3;
    QPushButton* suiButton7;
    QPushButton* Button1;
    QPushButton* suiButton15;

protected:
    void FormClose() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* m_upper;
    void clearBoxes();
    bool numberText(QLineEdit* box, double* value);
    bool showPicture(const QString& path);
    qint64 nextSerial();
    void lookAhead(QLineEdit* box, QLineEdit* suggestion, const QString& field, int key);
    // Searches the table for the first row whose field begins with the box's
    // text and shows it in the suggestion box; the table is left on that row.
    void findSuggestion(QLineEdit* box, QLineEdit* suggestion, const QString& field, int key);
    void writeFields();
};

} // namespace lumo
