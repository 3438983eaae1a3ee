#pragma once
// Subcommands of kalpiyon-veri. Each lives in its own cmd_<name>.cpp and registers itself:
//   static const bool registered = registerCommand({"create", "create DB [--force]", runCreate});
// The usage line is the command's whole syntax: main() reads its options ("[--force]",
// "[--seed S]") and positional arguments ("DB", optional "[DB]") from it, parses the command line
// with QCommandLineParser and refuses one that does not fit before the command runs. Options are
// looked up without their dashes: isSet("force"), value("seed").
// A command returns the process exit status; it throws Error for failures, which main()
// prints (in Turkish) with exit status 1, and UsageError for a command line that does not fit
// its usage, printed with the usage and exit status 2.

#include <QCommandLineParser>
#include <QStringList>
#include <QTextStream>

struct ToolCommand {
    const char *name;
    const char *usage;  // shown in the help text, and the syntax the command line must fit
    int (*run)(const QCommandLineParser &line);
    bool needsGui = false;  // fonts and paint devices: a QGuiApplication instead of a QCoreApplication
};

struct UsageError {
    QString message;
};

bool registerCommand(const ToolCommand &command);

// Streams for the commands' output; UTF-8.
QTextStream &out();
QTextStream &err();
