#pragma once
#include <QDate>
#include <QDateTime>

namespace lumo
{

// Today and now. Tests replace it to move the date.
class Clock
{
public:
    virtual ~Clock() = default;
    virtual QDateTime now() const;
    QDate today() const { return now().date(); }
};

} // namespace lumo
