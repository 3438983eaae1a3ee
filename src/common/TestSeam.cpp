#include "TestSeam.h"

#include <QHash>
#include <QProcess>
#include <QQueue>

namespace seam {

namespace {
struct State {
    QHash<QString, QQueue<Action>> actions;
    QList<Call> calls;
    double pauseScale = 1.0;
    QHash<int, QString> folders;
};

State &state()
{
    static State s;
    return s;
}

// The next action queued for `point`, taken off its queue before it runs (it may throw).
Action take(const QString &point)
{
    auto it = state().actions.find(point);
    if (it == state().actions.end() || it->isEmpty())
        return {};
    Action action = it->dequeue();
    if (it->isEmpty())
        state().actions.erase(it);
    return action;
}
}  // namespace

namespace detail {
bool installed = false;

void reach(const char *point, const QVariantList &args)
{
    const QString name = QString::fromLatin1(point);
    state().calls.append({name, args});
    if (const Action action = take(name))
        action(args);
}

QVariant intercept(const char *point, const QVariantList &args, const QString &what)
{
    const QString name = QString::fromLatin1(point);
    state().calls.append({name, args});
    const Action action = take(name);
    if (!action)
        qFatal("Unexpected %s with no queued answer: %s", point, qPrintable(what));
    return action(args);
}

double pauseScale()
{
    return state().pauseScale;
}

QString folder(int kind)
{
    return state().folders.value(kind);
}
}  // namespace detail

void startProgram(const QString &program, const QString &folder)
{
    if (!intercept("program:start", nullptr, program, program, folder))
        QProcess::startDetached(program, {}, folder);
}

void install()
{
    state() = State();
    detail::installed = true;
}

void uninstall()
{
    state() = State();
    detail::installed = false;
}

void queue(const QString &point, Action action)
{
    state().actions[point].enqueue(std::move(action));
}

void queueAt(const QString &point, std::function<void(const QVariantList &)> action)
{
    queue(point, [action = std::move(action)](const QVariantList &args) {
        action(args);
        return QVariant();
    });
}

void queueAnswer(const QString &point, const QVariant &answer)
{
    queue(point, [answer](const QVariantList &) { return answer; });
}

int pending(const QString &point)
{
    if (!point.isEmpty())
        return int(state().actions.value(point).size());
    int n = 0;
    for (const auto &q : std::as_const(state().actions))
        n += int(q.size());
    return n;
}

QList<Call> calls()
{
    return state().calls;
}

void clearCalls(const QString &prefix)
{
    state().calls.removeIf([&](const Call &c) { return c.point.startsWith(prefix); });
}

void setPauseScale(double scale)
{
    state().pauseScale = scale;
}

void setFolder(Folder kind, const QString &path)
{
    state().folders.insert(int(kind), path);
}

}  // namespace seam
