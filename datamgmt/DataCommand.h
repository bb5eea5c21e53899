#pragma once
// "lumoctl backup|restore|export|import|compact": the data-management
// operations of the main window for scheduled jobs. They ask nothing (the
// command is the confirmation) and report on the two streams.
#include <iosfwd>
#include <string>
#include <vector>

namespace lumo
{

// True for the commands handled by dataCommand.
bool isDataCommand(const std::string& command);
// Runs `command` with its arguments (the command word excluded). Needs a
// QCoreApplication. Returns the exit code: 0 done, 1 failed, 2 bad usage.
int dataCommand(const std::string& command, const std::vector<std::string>& args, std::ostream& out,
                std::ostream& err);
// The usage lines of the commands.
const char* dataCommandUsage();

} // namespace lumo
