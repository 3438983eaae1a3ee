#pragma once
// Subcommands of kalpiyon-veri. Each lives in its own cmd_<name>.cpp and registers itself:
//   static const bool registered = registerCommand({"create", "create DB [--force]", runCreate});
// A command returns the process exit status; it throws Error for failures, which main()
// prints (in Turkish) with exit status 1.

#include <QStringList>
#include <QTextStream>

struct ToolCommand {
    const char *name;
    const char *usage;  // shown in the help text
    int (*run)(const QStringList &args);
};

bool registerCommand(const ToolCommand &command);

// Streams for the commands' output; UTF-8.
QTextStream &out();
QTextStream &err();

// Option helpers: takeFlag removes "--force" style flags, takeOption "--seed S" pairs; both
// throw Error for a missing value.
bool takeFlag(QStringList &args, const QString &flag);
QString takeOption(QStringList &args, const QString &option);
// Throws Error unless exactly `count` positional arguments remain.
void expectArgs(const QStringList &args, int count, const char *usage);
