#pragma once
// The one place where tests step into the program. Shipped code names the points where a test
// may act; while no seam is installed each point is a single flag test and the program does
// exactly what it ships to do.
//
// Two kinds of point:
// - at(point, args...): a step the program passes ("restore:copied"). A test may queue an
//   action for it (to throw, stop the process, act on a window); with none queued the program
//   goes on.
// - intercept(point, args...): something the program would do to the outside world (show a
//   box, start a program). Under the seam the next queued action does it instead and gives the
//   answer; one that no test queued is fatal, as a test must never block on a real window or
//   start a real program.
// Each queued action runs once, in the order queued for its point. Everything reached is kept
// in calls() for the test to look at. Beside the points: a pause scale and folder overrides.
// Main thread only.

#include <QList>
#include <QString>
#include <QVariant>
#include <functional>

namespace seam {

namespace detail {
extern bool installed;
void reach(const char *point, const QVariantList &args);
QVariant intercept(const char *point, const QVariantList &args, const QString &what);
double pauseScale();
QString folder(int kind);
}  // namespace detail

// Folders the program finds by its own rules, which tests point elsewhere.
enum class Folder { Settings };

// --- for the program -------------------------------------------------------------------------

inline bool installed()
{
    return detail::installed;
}

template <typename... Args>
inline void at(const char *point, const Args &...args)
{
    if (Q_UNLIKELY(detail::installed))
        detail::reach(point, QVariantList{QVariant::fromValue(args)...});
}

// False when no seam is installed: the caller does the real thing. Otherwise true, with the
// queued action's answer in `answer`; `what` names the interception in the fatal message.
template <typename... Args>
inline bool intercept(const char *point, QVariant *answer, const QString &what, const Args &...args)
{
    if (Q_LIKELY(!detail::installed))
        return false;
    const QVariant a = detail::intercept(point, QVariantList{QVariant::fromValue(args)...}, what);
    if (answer)
        *answer = a;
    return true;
}

// A pause of `milliseconds` as the program should wait it (tests shorten or drop pauses).
inline qint64 pauseLength(int milliseconds)
{
    return Q_LIKELY(!detail::installed) ? milliseconds : qint64(milliseconds * detail::pauseScale());
}

// The folder a test put in place of the program's own, or an empty string.
inline QString folder(Folder kind)
{
    return Q_LIKELY(!detail::installed) ? QString() : detail::folder(int(kind));
}

// Starts `program` in `folder`, detached: the program's restart. Under the seam it is the
// intercept "program:start" with the program and folder as arguments.
void startProgram(const QString &program, const QString &folder);

// --- for tests ---------------------------------------------------------------------------------

using Action = std::function<QVariant(const QVariantList &args)>;

struct Call {
    QString point;
    QVariantList args;
};

void install();    // a clean seam: nothing queued, nothing reached, scale 1, no folders
void uninstall();  // the plain program again
void queue(const QString &point, Action action);
// An action that needs no answer; or a fixed answer.
void queueAt(const QString &point, std::function<void(const QVariantList &args)> action);
void queueAnswer(const QString &point, const QVariant &answer);
int pending(const QString &point = QString());  // actions not yet run (all points: empty)
QList<Call> calls();                            // every point reached since install(), in order
void clearCalls(const QString &prefix = QString());
void setPauseScale(double scale);
void setFolder(Folder kind, const QString &path);

}  // namespace seam
