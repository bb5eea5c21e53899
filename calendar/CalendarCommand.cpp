#include "CalendarCommand.h"
#include <ostream>

namespace lumo
{
int calendarCommand(const std::vector<std::string>&, std::ostream&, std::ostream& err)
{
    err << "calendar: not available\n";
    return 1;
}
} // namespace lumo
