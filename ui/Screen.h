#pragma once
#include <QRect>

class QWidget;

namespace lumo
{

// The screen's size; screens wider than 800 pixels are laid out differently.
class Screen
{
public:
    virtual ~Screen() = default;
    virtual int width() const;
    virtual int height() const;
    // The part of the screen that windows may use: the screen less the
    // desktop's panels and docks.
    virtual QRect availableGeometry() const;
    // Shows a frame window maximised within the available area (on a
    // desktop the window manager does the fitting).
    virtual void showMaximized(QWidget* window) const;
    // Where a separate window of `size` stands centred on the available
    // area, its top-left corner kept inside it.
    QRect centred(const QSize& size) const;
};

} // namespace lumo
