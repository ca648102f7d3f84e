#pragma once

#include <QString>
#include <QStringList>

#include <cstdio>

namespace kestrelon {

// What the program is asked to do by its arguments.
struct CommandLine {
    enum class Action { Window, Report, PartsList, Netlist, Help, Version, Error };
    Action action = Action::Window;
    QString file;  // the design to print or to open in the window; "-" is standard input
    QString error; // for Error: what is wrong, for standard error
};

// Whether the raw arguments ask for something printed rather than for the window, so that no
// display is needed.
bool printsWithoutWindow(int argc, char* argv[]);

// arguments as QCoreApplication::arguments() gives them, the program's name first.
CommandLine parseCommandLine(const QStringList& arguments);

class SettingsStore;

// The report, parts list or netlist (action) of the design in store, as the window would show it
// after opening the design at start-up.
QString designDocument(CommandLine::Action action, const SettingsStore& store);

// Prints what the command line asks for (not Window) and gives the exit code: 0 on success,
// 1 when the design cannot be read or the output cannot be written, 2 for a usage error.
int runCommandLine(const CommandLine& command, std::FILE* in, std::FILE* out, std::FILE* err);

} // namespace kestrelon
