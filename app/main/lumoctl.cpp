// lumoctl: the administrators' command-line tool.
#include "ArchiveCommand.h"
#include "CalendarCommand.h"
#include "DataCommand.h"
#include "RevealCommand.h"

#include <QCoreApplication>

#include <iostream>
#include <string>
#include <vector>

namespace
{

void usage(std::ostream& out)
{
    out << "usage: lumoctl archive pack|unpack|list|verify ...\n"
           "       lumoctl calendar DATE [HH:MM] [--json]\n"
        << lumo::dataCommandUsage() << lumo::revealsCommandUsage();
}

} // namespace

int main(int argc, char* argv[])
{
    std::vector<std::string> args(argv + 1, argv + argc);
    if (args.empty()) {
        usage(std::cerr);
        return 2;
    }
    const std::string command = args.front();
    args.erase(args.begin());
    if (command == "archive")
        return lumo::archiveCommand(args, std::cout, std::cerr);
    if (command == "calendar")
        return lumo::calendarCommand(args, std::cout, std::cerr);
    if (lumo::isDataCommand(command)) {
        // The database layer needs an application object.
        QCoreApplication app(argc, argv);
        return lumo::dataCommand(command, args, std::cout, std::cerr);
    }
    if (command == "reveals") {
        QCoreApplication app(argc, argv);
        return lumo::revealsCommand(args, std::cout, std::cerr);
    }
    if (command == "--help" || command == "-h" || command == "help") {
        usage(std::cout);
        return 0;
    }
    std::cerr << "lumoctl: unknown command '" << command << "'\n";
    usage(std::cerr);
    return 2;
}
