#include "Progress.h"

#include <QApplication>
#include <QMouseEvent>

#include "EngineWindow.h"
#include "TestSeam.h"

namespace reports {

TfrxProgress::TfrxProgress(QWidget *parent) : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint)
{
    setupUi(this);
    connect(CancelB, &QPushButton::clicked, this, [this] { cancelled_ = true; });
    centreOnScreen(this);
    // Modal: the window that was active takes no input until the job ends.
    setWindowModality(Qt::ApplicationModal);
    show();
    raise();
}

bool TfrxProgress::pageSent(int page)
{
    MessageL->setText(QStringLiteral("Yazılan sayfa %1").arg(page));
    seam::at("print:page", static_cast<QObject *>(this), page);
    QCoreApplication::processEvents();
    return !cancelled_;
}

void TfrxProgress::reject()
{
    cancelled_ = true;
}

void TfrxProgress::mousePressEvent(QMouseEvent *event)
{
    grab_ = event->globalPosition().toPoint() - pos();
}

void TfrxProgress::mouseMoveEvent(QMouseEvent *event)
{
    if (event->buttons() & Qt::LeftButton)  // dragged by any point
        move(event->globalPosition().toPoint() - grab_);
}

}  // namespace reports
