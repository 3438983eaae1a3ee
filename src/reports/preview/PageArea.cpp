#include "PageArea.h"

#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>

namespace reports {

namespace {
constexpr int kGap = 10;
}

PageArea::PageArea(QWidget *parent) : QAbstractScrollArea(parent)
{
    setObjectName(QStringLiteral("PageArea"));
    viewport()->setAutoFillBackground(true);
    QPalette p = viewport()->palette();
    p.setColor(QPalette::Window, QColor(128, 128, 128));
    viewport()->setPalette(p);
    setFocusPolicy(Qt::StrongFocus);
}

void PageArea::setReport(const PreparedReport *report)
{
    report_ = report;
    current_ = 0;
    refresh();
}

void PageArea::refresh()
{
    layOutPages();
    viewport()->update();
}

void PageArea::setZoom(double zoom)
{
    zoom_ = std::max(0.25, zoom);
    highlightPage_ = -1;
    refresh();
    setCurrentPage(current_);
}

void PageArea::setCurrentPage(int page)
{
    if (!report_ || report_->pageCount() == 0)
        return;
    current_ = std::clamp(page, 0, report_->pageCount() - 1);
    if (current_ < int(rects_.size()))
        verticalScrollBar()->setValue(rects_[current_].top() - kGap);
    viewport()->update();
    emit currentPageChanged(current_);
}

QRect PageArea::pageRect(int page) const
{
    return page >= 0 && page < int(rects_.size()) ? rects_[page] : QRect();
}

void PageArea::layOutPages()
{
    rects_.clear();
    if (!report_ || !report_->tmpl) {
        content_ = QSize();
        return;
    }
    const QSizeF sheet = sheetSize(*report_->tmpl) * zoom_;
    const int w = int(std::round(sheet.width())), h = int(std::round(sheet.height()));
    const int avail = viewport()->width();
    const int perRow = std::max(1, (avail - kGap) / (w + kGap));
    const int rowWidth = perRow * (w + kGap) - kGap;
    const int left = std::max(kGap, (avail - rowWidth) / 2 + kGap / 2);
    const int n = report_->pageCount();
    for (int i = 0; i < n; ++i)
        rects_.push_back(QRect(left + (i % perRow) * (w + kGap), kGap + (i / perRow) * (h + kGap), w, h));
    const int rows = (n + perRow - 1) / perRow;
    content_ = QSize(std::max(rowWidth + 2 * kGap, w + 2 * kGap), kGap + rows * (h + kGap));
    horizontalScrollBar()->setRange(0, std::max(0, content_.width() - viewport()->width()));
    verticalScrollBar()->setRange(0, std::max(0, content_.height() - viewport()->height()));
    verticalScrollBar()->setPageStep(viewport()->height());
    verticalScrollBar()->setSingleStep(8);
    horizontalScrollBar()->setSingleStep(8);
}

void PageArea::paintEvent(QPaintEvent *)
{
    if (!report_)
        return;
    QPainter painter(viewport());
    const QPoint offset(-horizontalScrollBar()->value(), -verticalScrollBar()->value());
    const QRect visible = viewport()->rect().translated(-offset);
    for (int i = 0; i < int(rects_.size()); ++i) {
        if (!rects_[i].intersects(visible))
            continue;  // only visible pages are drawn
        const QRect r = rects_[i].translated(offset);
        painter.fillRect(r, Qt::white);
        painter.save();
        painter.translate(r.topLeft());
        painter.setClipRect(QRect(QPoint(0, 0), r.size()));
        drawPage(*report_, i, painter, zoom_);
        painter.restore();
        if (i == highlightPage_) {
            const QRectF h(r.left() + highlight_.left() * zoom_, r.top() + highlight_.top() * zoom_,
                           highlight_.width() * zoom_, highlight_.height() * zoom_);
            painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
            painter.fillRect(h, Qt::white);
            painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
        }
        const bool current = i == current_;
        painter.setPen(QPen(current ? QColor(32, 64, 128) : QColor(Qt::black), current ? 2 : 1));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(current ? r.adjusted(-1, -1, 0, 0) : r.adjusted(0, 0, -1, -1));
    }
}

void PageArea::resizeEvent(QResizeEvent *)
{
    layOutPages();
}

void PageArea::mousePressEvent(QMouseEvent *event)
{
    dragStart_ = event->pos();
    scrollStart_ = QPoint(horizontalScrollBar()->value(), verticalScrollBar()->value());
    const QPoint content = event->pos() + scrollStart_;
    for (int i = 0; i < int(rects_.size()); ++i)
        if (rects_[i].contains(content)) {
            current_ = i;
            viewport()->update();
            emit currentPageChanged(i);
        }
}

void PageArea::mouseMoveEvent(QMouseEvent *event)
{
    if (!(event->buttons() & Qt::LeftButton))
        return;
    const QPoint d = event->pos() - dragStart_;  // drag pans the view
    horizontalScrollBar()->setValue(scrollStart_.x() - d.x());
    verticalScrollBar()->setValue(scrollStart_.y() - d.y());
}

void PageArea::wheelEvent(QWheelEvent *event)
{
    const int steps = event->angleDelta().y() / 120;
    if (event->modifiers() & Qt::ControlModifier) {
        zoom_ = std::max(0.3, zoom_ + 0.1 * steps);
        refresh();
    } else {
        verticalScrollBar()->setValue(verticalScrollBar()->value() - 20 * steps);
    }
    event->accept();
}

void PageArea::showRectangle(int page, const QRectF &reportRect)
{
    const QRect r = pageRect(page);
    const QRect target(int(r.left() + reportRect.left() * zoom_), int(r.top() + reportRect.top() * zoom_),
                       int(reportRect.width() * zoom_), int(reportRect.height() * zoom_));
    const QRect view(horizontalScrollBar()->value(), verticalScrollBar()->value(), viewport()->width(), viewport()->height());
    if (!view.adjusted(20, 20, -20, -20).contains(target)) {
        verticalScrollBar()->setValue(target.top() - 20);
        horizontalScrollBar()->setValue(target.left() - 20);
    }
    viewport()->update();
}

void PageArea::setHighlight(int page, const QRectF &reportRect)
{
    highlightPage_ = page;
    highlight_ = reportRect;
    viewport()->update();
}

}  // namespace reports
