#pragma once
// Subcommands of kalpiyon-veri. Each lives in its own cmd_<name>.cpp and registers itself:
//   static const bool registered = registerCommand({"create", "create DB [--force]", runCreate});
// A command returns the process exit status; it throws Error for failures, which main()
// prints (in Turkish) with exit status 1, and UsageError for a command line that does not fit
// its usage, printed with the usage and exit status 2.

#include <QStringList>
#include <QTextStream>

struct ToolCommand {
    const char *name;
    const char *usage;  // shown in the help text
    int (*run)(const QStringList &args);
    bool needsGui = false;  // fonts and paint devices: a QGuiApplication instead of a QCoreApplication
};

struct UsageError {
    QString message;
};

bool registerCommand(const ToolCommand &command);

// Streams for the commands' output; UTF-8.
QTextStream &out();
QTextStream &err();

// Option helpers: takeFlag removes "--force" style flags, takeOption "--seed S" pairs; both
// throw UsageError for a missing value.
bool takeFlag(QStringList &args, const QString &flag);
QString takeOption(QStringList &args, const QString &option);
// Throws UsageError for an unknown option or unless exactly `count` positional arguments remain.
void expectArgs(const QStringList &args, int count, const char *usage);
