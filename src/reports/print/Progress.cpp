#include "Progress.h"

#include <QApplication>
#include <QFrame>
#include <QMouseEvent>
#include <QVBoxLayout>

#include "EngineWindow.h"

namespace reports {

std::function<void(TfrxProgress &, int)> &TfrxProgress::afterPageHook()
{
    static std::function<void(TfrxProgress &, int)> hook;
    return hook;
}

TfrxProgress::TfrxProgress(QWidget *parent) : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint)
{
    setObjectName(QStringLiteral("TfrxProgress"));
    setFixedSize(271, 101);
    auto *frame = new QFrame(this);
    frame->setFrameStyle(QFrame::Panel | QFrame::Raised);
    frame->setLineWidth(2);
    frame->setGeometry(rect());
    auto *column = new QVBoxLayout(frame);
    MessageL = new QLabel(frame);
    MessageL->setObjectName(QStringLiteral("MessageL"));
    MessageL->setAlignment(Qt::AlignCenter);
    CancelB = new QPushButton(QStringLiteral("Vazgeç"), frame);
    CancelB->setObjectName(QStringLiteral("CancelB"));
    CancelB->setFixedWidth(75);
    column->addWidget(MessageL, 1);
    column->addWidget(CancelB, 0, Qt::AlignHCenter);
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
    if (afterPageHook())
        afterPageHook()(*this, page);
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
