#pragma once
// "lumoctl reveals": prints the record of who saw owners' details, newest
// first, as text or as CSV.
#include <iosfwd>
#include <string>
#include <vector>

namespace lumo
{

// Runs the command with its arguments (the command word excluded). Needs a
// QCoreApplication. Returns the exit code: 0 done, 1 failed, 2 bad usage.
int revealsCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
// The usage line of the command.
const char* revealsCommandUsage();

} // namespace lumo
