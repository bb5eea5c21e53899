#pragma once

namespace lumo
{

// The screen's size; screens wider than 800 pixels are laid out differently.
class Screen
{
public:
    virtual ~Screen() = default;
    virtual int width() const;
    virtual int height() const;
};

} // namespace lumo
