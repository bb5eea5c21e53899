#pragma once
#include <iosfwd>
#include <string>
#include <vector>

namespace lumo
{
// "lumoctl calendar ...": args exclude the word "calendar". Returns the exit code.
int calendarCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
} // namespace lumo
