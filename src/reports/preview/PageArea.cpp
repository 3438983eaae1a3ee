#include "PageArea.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyle>

namespace reports {

namespace {
constexpr int kGap = 10;
constexpr int kCaption = 14;  // height of a page number under a thumbnail
}  // namespace

PageArea::PageArea(QWidget *parent) : QAbstractScrollArea(parent)
{
    setObjectName(QStringLiteral("PageArea"));
    viewport()->setAutoFillBackground(true);
    QPalette p = viewport()->palette();
    p.setColor(QPalette::Window, QColor(128, 128, 128));
    p.setColor(QPalette::Base, QColor(128, 128, 128));  // a scroll area's viewport paints with Base
    viewport()->setPalette(p);
    setFocusPolicy(Qt::StrongFocus);
    connect(verticalScrollBar(), &QScrollBar::valueChanged, this, &PageArea::followScroll);
}

// Scrolling by hand makes the page in the middle of the view the current page.
void PageArea::followScroll()
{
    if (settingPage_ || captions_ || rects_.empty())
        return;
    const int middle = verticalScrollBar()->value() + viewport()->height() / 2;
    auto it = std::lower_bound(rects_.begin(), rects_.end(), middle, [](const QRect &r, int y) { return r.bottom() + kGap < y; });
    const int page = std::min(int(it - rects_.begin()), int(rects_.size()) - 1);
    if (page != current_ && rects_[size_t(page)].top() <= middle) {
        current_ = page;
        viewport()->update();
        emit currentPageChanged(page);
    }
}

void PageArea::setReport(const PreparedReport *report)
{
    report_ = report;
    current_ = 0;
    highlightPage_ = -1;
    refresh();
    verticalScrollBar()->setValue(0);
}

void PageArea::setThumbnails()
{
    captions_ = true;
    zoom_ = 0.1;
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    refresh();
}

void PageArea::refresh()
{
    applyZoomMode();
    const bool setting = std::exchange(settingPage_, true);  // new ranges do not pick a page
    layOutPages();
    settingPage_ = setting;
    viewport()->update();
}

void PageArea::setZoom(double zoom)
{
    mode_ = ZoomMode::Normal;
    zoom_ = std::max(0.25, zoom);
    refresh();
    setCurrentPage(current_);
    emit zoomChanged(zoom_);
    emit relaidOut();
}

void PageArea::setZoomMode(ZoomMode mode)
{
    mode_ = mode;
    refresh();
    setCurrentPage(current_);  // "whole page" puts the page's top 10 pixels below the top
    emit zoomChanged(zoom_);
    emit relaidOut();
}

// Page width and whole page are worked out again on every re-layout.
void PageArea::applyZoomMode()
{
    if (!report_ || !report_->tmpl || mode_ == ZoomMode::Normal)
        return;
    const QSizeF sheet = sheetSize(*report_->tmpl);
    if (mode_ == ZoomMode::PageWidth)
        zoom_ = (width() - style()->pixelMetric(QStyle::PM_ScrollBarExtent) - 26) / sheet.width();
    else
        zoom_ = (height() - 26) / sheet.height();
    zoom_ = std::max(0.25, zoom_);
}

void PageArea::setCurrentPage(int page)
{
    if (!report_ || report_->pageCount() == 0)
        return;
    current_ = std::clamp(page, 0, report_->pageCount() - 1);
    settingPage_ = true;
    if (current_ < int(rects_.size()))
        verticalScrollBar()->setValue(rects_[current_].top() - kGap);
    settingPage_ = false;
    viewport()->update();
    emit currentPageChanged(current_);
}

QRect PageArea::pageRect(int page) const
{
    return page >= 0 && page < int(rects_.size()) ? rects_[page] : QRect();
}

QPoint PageArea::scrollPosition() const
{
    return QPoint(horizontalScrollBar()->value(), verticalScrollBar()->value());
}

void PageArea::scrollBy(int dx, int dy)
{
    horizontalScrollBar()->setValue(horizontalScrollBar()->value() + dx);
    verticalScrollBar()->setValue(verticalScrollBar()->value() + dy);
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
    const int rowGap = kGap + (captions_ ? kCaption : 0);
    const int avail = viewport()->width();
    const int perRow = std::max(1, (avail - kGap) / (w + kGap));
    const int rowWidth = perRow * (w + kGap) - kGap;
    // Each row is centred: half the free width plus 10 pixels, at least 10.
    const int left = std::max(kGap, (avail - rowWidth - 2 * kGap) / 2 + kGap);
    const int n = report_->pageCount();
    rects_.reserve(size_t(n));
    for (int i = 0; i < n; ++i)
        rects_.push_back(QRect(left + (i % perRow) * (w + kGap), kGap + (i / perRow) * (h + rowGap), w, h));
    const int rows = (n + perRow - 1) / perRow;
    content_ = QSize(std::max(rowWidth + 2 * kGap, w + 2 * kGap), kGap + rows * (h + rowGap));
    horizontalScrollBar()->setRange(0, std::max(0, content_.width() - viewport()->width()));
    verticalScrollBar()->setRange(0, std::max(0, content_.height() - viewport()->height()));
    verticalScrollBar()->setPageStep(viewport()->height());
    horizontalScrollBar()->setPageStep(viewport()->width());
}

void PageArea::paintEvent(QPaintEvent *)
{
    if (!report_)
        return;
    QPainter painter(viewport());
    const QPoint offset = -scrollPosition();
    const QRect visible = viewport()->rect().translated(-offset).adjusted(0, -kCaption, 0, 0);
    // Rows are in page order: only the pages of the visible rows are looked at and drawn.
    auto first = std::lower_bound(rects_.begin(), rects_.end(), visible.top(),
                                  [](const QRect &r, int top) { return r.bottom() < top; });
    for (auto it = first; it != rects_.end() && it->top() <= visible.bottom(); ++it) {
        const int i = int(it - rects_.begin());
        if (!it->intersects(visible))
            continue;
        const QRect r = it->translated(offset);
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
        if (captions_) {
            painter.setPen(Qt::white);
            painter.drawText(QRect(r.left(), r.bottom() + 1, r.width(), kCaption), Qt::AlignCenter, QString::number(i + 1));
        }
    }
}

void PageArea::resizeEvent(QResizeEvent *)
{
    refresh();
    emit relaidOut();
    if (mode_ != ZoomMode::Normal)
        emit zoomChanged(zoom_);
}

void PageArea::keyPressEvent(QKeyEvent *event)
{
    if (event->modifiers() & Qt::ControlModifier) {
        event->ignore();  // Ctrl+Page keys and the commands belong to the window
        return;
    }
    switch (event->key()) {
    case Qt::Key_Up: scrollBy(0, -8); break;
    case Qt::Key_Down: scrollBy(0, 8); break;
    case Qt::Key_Left: scrollBy(-8, 0); break;
    case Qt::Key_Right: scrollBy(8, 0); break;
    case Qt::Key_PageUp: scrollBy(0, -300); break;
    case Qt::Key_PageDown: scrollBy(0, 300); break;
    default: event->ignore();
    }
}

void PageArea::mousePressEvent(QMouseEvent *event)
{
    dragStart_ = event->pos();
    scrollStart_ = scrollPosition();
    const QPoint content = event->pos() + scrollStart_;
    for (int i = 0; i < int(rects_.size()); ++i)
        if (rects_[i].contains(content)) {
            current_ = i;  // a click makes the page current without moving the view
            viewport()->update();
            emit currentPageChanged(i);
            break;
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

void PageArea::mouseDoubleClickEvent(QMouseEvent *)
{
    emit doubleClicked();
}

void PageArea::wheelEvent(QWheelEvent *event)
{
    const int steps = event->angleDelta().y() / 120;
    if (event->modifiers() & Qt::ControlModifier) {
        const double zoom = std::max(0.3, zoom_ + 0.1 * steps);
        setZoom(zoom);
    } else {
        scrollBy(0, -20 * steps);
    }
    event->accept();
}

void PageArea::showRectangle(int page, const QRectF &reportRect)
{
    const QRect r = pageRect(page);
    const QRect target(int(r.left() + reportRect.left() * zoom_), int(r.top() + reportRect.top() * zoom_),
                       int(std::ceil(reportRect.width() * zoom_)), int(std::ceil(reportRect.height() * zoom_)));
    const QRect view(scrollPosition(), viewport()->size());
    // Scrolled only when needed, so that the rectangle lies wholly in view with 20 pixels to spare.
    if (!view.adjusted(20, 20, -20, -20).contains(target)) {
        if (target.top() - 20 < view.top() || target.bottom() + 20 > view.bottom())
            verticalScrollBar()->setValue(target.top() - 20);
        if (target.left() - 20 < view.left() || target.right() + 20 > view.right())
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
