#pragma once
#include <QWidget>

namespace lumo {

struct AppContext;
class MainFrame;

// The business-card directory. A separate window that stays on top and frees itself when closed.
class Tmp : public QWidget
{
    Q_OBJECT
public:
    Tmp(AppContext& ctx, MainFrame& frame, QWidget* parent = nullptr);

private:
    AppContext& m_ctx;
    MainFrame& m_frame;
};

} // namespace lumo
