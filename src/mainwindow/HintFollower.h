#pragma once
// Keeps the status bar's hint in step with the mouse without polling: Qt sends Enter and
// Leave whenever the pointer moves onto another widget (also when a widget appears or
// vanishes under it), and after such events `update` runs once, when the burst has been
// handled. While nothing happens nothing runs.

#include <QObject>
#include <functional>

class HintFollower : public QObject {
public:
    // Watches every widget of the application for as long as it lives.
    HintFollower(std::function<void()> update, QObject *parent);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    std::function<void()> update_;
    bool pending_ = false;
};
