#include "Clock.h"

namespace lumo
{

QDateTime Clock::now() const
{
    return QDateTime::currentDateTime();
}

} // namespace lumo
