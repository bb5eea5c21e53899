#pragma once
#include <QWidget>

namespace lumo {

struct AppContext;
class MainFrame;

// The owner-details window. A separate window that stays on top and frees itself when closed.
class Tfz : public QWidget
{
    Q_OBJECT
public:
    Tfz(AppContext& ctx, MainFrame& frame, QWidget* parent = nullptr);

private:
    AppContext& m_ctx;
    MainFrame& m_frame;
};

} // namespace lumo
