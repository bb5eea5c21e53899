#pragma once
#include <iosfwd>
#include <string>
#include <vector>

namespace lumo
{
// "lumoctl archive ...": args exclude the word "archive". Returns the exit code.
int archiveCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
} // namespace lumo
