#pragma once
// The data tool's command lines through QCommandLineParser, with the tool's own Turkish usage
// errors: QCommandLineParser's English texts never reach the user.

#include <QCommandLineParser>
#include <QString>
#include <QStringList>

namespace cli {

// What a usage line such as "demo DB N [--seed S] [--force]" allows: the options (a value
// when the bracket names one) and how many positional arguments, the bracketed ones optional.
struct Syntax {
    QList<QCommandLineOption> options;
    int required = 0;
    int optional = 0;
};
Syntax syntaxOf(const char *usage);

// --help and -h, which every command line knows.
const QCommandLineOption &helpOption();

// Parses `args` (the arguments after the command's name) into `line` by `syntax`. Returns an
// empty text when they fit, otherwise the Turkish usage error. Asked-for help (isSet of
// helpOption()) is known after the call either way.
QString parse(QCommandLineParser &line, const Syntax &syntax, const QStringList &args);

// The Turkish usage error for arguments that `line`, knowing `options` besides help, refused
// to parse.
QString refusal(const QCommandLineParser &line, const QStringList &args, const QList<QCommandLineOption> &options);

}  // namespace cli
