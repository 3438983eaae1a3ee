#pragma once
// The window shown while pages are sent to the printer: "Yazılan sayfa %d" and "Vazgeç".

#include <QDialog>
#include <QLabel>
#include <QPushButton>

#include "ui_Progress.h"

namespace reports {

class TfrxProgress : public QDialog, public Ui::TfrxProgress {
    Q_OBJECT
public:
    explicit TfrxProgress(QWidget *parent = nullptr);

    // A page was sent: shows its number and lets the window system handle pending input.
    // Returns false once "Vazgeç" has been pressed. Test seam point "print:page" (the window,
    // the page): tests act there as a user would between two pages.
    bool pageSent(int page);
    bool cancelled() const { return cancelled_; }


protected:
    void reject() override;  // Escape
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;

private:
    bool cancelled_ = false;
    QPoint grab_;
};

}  // namespace reports
