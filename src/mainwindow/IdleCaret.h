#pragma once
// A blinking text caret wakes the program twice a second for as long as it blinks. Like the
// desktop's own text fields, the caret stops blinking (and stays shown) after ten seconds
// without keyboard or mouse input, and blinks again with the next input.

#include <QObject>
#include <QTimer>

class IdleCaret : public QObject {
public:
    explicit IdleCaret(QObject *parent);  // watches the whole application's input

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void rest();
    QTimer quiet_;
    int flashTime_;
    bool resting_ = false;
};
