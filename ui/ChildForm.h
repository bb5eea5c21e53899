#pragma once
#include <QMdiSubWindow>

namespace lumo
{

struct AppContext;
class MainFrame;

// A working window shown as a maximised child of the main window. It frees
// itself when it closes; FormClose() runs first, for saving settings.
class ChildForm : public QMdiSubWindow
{
    Q_OBJECT
public:
    ChildForm(AppContext& ctx, MainFrame& frame, QWidget* parent = nullptr);

    AppContext& context() const { return m_ctx; }
    MainFrame& frame() const { return m_frame; }
    // The widget that holds the form's controls.
    QWidget* body() const { return m_body; }
    // Fills the body with its own colour, whatever the look.
    void setBodyColor(const QColor& color);

signals:
    void formClosed();

protected:
    // Called once when the window closes, before it is freed.
    virtual void FormClose() {}
    void closeEvent(QCloseEvent* event) override;

private:
    AppContext& m_ctx;
    MainFrame& m_frame;
    QWidget* m_body;
    bool m_closed = false;
};

} // namespace lumo
