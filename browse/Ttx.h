#pragma once
#include <QWidget>

namespace lumo {

struct AppContext;
class MainFrame;

// The photo preview. A separate window that stays on top and frees itself when closed.
class Ttx : public QWidget
{
    Q_OBJECT
public:
    Ttx(AppContext& ctx, MainFrame& frame, QWidget* parent = nullptr);

private:
    AppContext& m_ctx;
    MainFrame& m_frame;
};

} // namespace lumo
