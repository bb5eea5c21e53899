#pragma once
#include <QWidget>

class QLabel;
class QLineEdit;
class QPushButton;

namespace lumo
{

struct AppContext;
class Dataset;
class MainFrame;

// The owner-details window: the property of the current search row, with
// the detailed address, the owner's name and telephone hidden until any
// user's password is typed; each acceptance is recorded in fzck (who was
// logged in, whose password, which listing, when). A separate window that
// stays on top and frees itself when closed.
class Tfz : public QWidget
{
    Q_OBJECT
public:
    Tfz(AppContext& ctx, MainFrame& frame, QWidget* parent = nullptr);

    QLineEdit* DBEdit9;
    QLineEdit* DBEdit1;
    QLineEdit* DBEdit2;
    QLineEdit* DBEdit3;
    QLineEdit* DBEdit6;
    QLineEdit* DBEdit4;
    QLabel* Label1;
    QLineEdit* DBEdit7;
    QLabel* Label3;
    QLineEdit* DBEdit8;
    QLabel* Label4;
    QLabel* Label2;
    QLineEdit* Edit2;
    QLineEdit* Edit1;
    QPushButton* suiButton1;
    QPushButton* suiButton2;

    void FormActivate();
    void Button1Click();
    void Edit1KeyPress(QChar& key);
    void suiButton2Click();

protected:
    bool event(QEvent* e) override;

private:
    // Adds the record of who saw the owner of the current search row:
    // `users` stands on the row whose password was accepted.
    void recordAcceptance(const Dataset& users);

    AppContext& m_ctx;
    MainFrame& m_frame;
};

} // namespace lumo
