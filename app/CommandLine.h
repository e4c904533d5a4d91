#pragma once

#include <QString>

#include <optional>

// What the program is asked on its command line. The actions that answer on the terminal
// (help, version, settings, a refusal) need no display and end the program there; the oracle
// starts only for RunOracle. A new option is declared once in CommandLine.cpp's option list,
// read into a field here by parseCommandLine, and acted on by main (or by answerCommandLine
// when it answers on the terminal).
struct CommandLine {
    enum class Action { RunOracle, ShowHelp, ShowVersion, ShowSettings, Refuse };
    Action action = Action::RunOracle;
    QString refusal; // why the command line was not understood
    std::optional<quint16> remotePort; // serve the performer's page (--remote) on this port
    bool fullScreen = false; // start in full screen (--fullscreen)
    std::optional<int> screen; // the stage's screen (--screen), counted from 1
};

// Needs no application object, so that it can run before the program picks one.
CommandLine parseCommandLine(int argc, const char* const* argv);

// Prints the answer of any action but RunOracle and gives the exit status: 0, or 2 for a
// command line that was not understood. Needs a QCoreApplication. `configHome` is
// $XDG_CONFIG_HOME.
int answerCommandLine(const CommandLine& command, const QString& configHome);
