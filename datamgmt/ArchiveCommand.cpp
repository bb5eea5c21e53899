#include "ArchiveCommand.h"
#include <ostream>

namespace lumo
{
int archiveCommand(const std::vector<std::string>&, std::ostream&, std::ostream& err)
{
    err << "archive: not available\n";
    return 1;
}
} // namespace lumo
