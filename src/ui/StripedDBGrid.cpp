#include "StripedDBGrid.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QScrollBar>

#include "Dialogs.h"

namespace ui {

// --- RecordListModel ----------------------------------------------------------------

RecordListModel::RecordListModel(records::Dataset *dataset, int field, QString title, QObject *parent)
    : QAbstractTableModel(parent), background(214, 223, 247), colorAlternative(227, 234, 249),
      colorSelect(Qt::white), colorSelectText(Qt::red), dataset_(dataset), field_(field), title_(std::move(title))
{
    reset();
    connect(dataset, &records::Dataset::listChanged, this, &RecordListModel::reset);
    connect(dataset, &records::Dataset::stateChanged, this, &RecordListModel::reset);
    connect(dataset, &records::Dataset::rowChanged, this, [this](int row) {
        emit dataChanged(index(row, 0), index(row, 0));
    });
}

void RecordListModel::reset()
{
    const int rows = dataset_->active()
                         ? dataset_->recordCount() + (dataset_->state() == records::DataSetState::Insert ? 1 : 0)
                         : 0;
    if (rows == rows_)
        return;
    beginResetModel();
    rows_ = rows;
    endResetModel();
}

int RecordListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : rows_;
}

int RecordListModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : 1;
}

int RecordListModel::currentRow() const
{
    if (!dataset_->active())
        return -1;
    if (dataset_->state() == records::DataSetState::Insert)
        return dataset_->recordCount();
    return dataset_->recNo() - 1;
}

QVariant RecordListModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= rows_)
        return QVariant();
    const bool current = index.row() == currentRow();
    switch (role) {
    case Qt::DisplayRole:
        return dataset_->rowText(index.row(), field_);
    case Qt::BackgroundRole:
        if (current)
            return colorSelect;
        return (index.row() + 1) % 2 == 0 ? colorAlternative : background;
    case Qt::ForegroundRole:
        return current ? colorSelectText : QColor(Qt::black);
    default:
        return QVariant();
    }
}

QVariant RecordListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && section == 0 && role == Qt::DisplayRole)
        return title_;
    return QVariant();
}

// --- TStripedDBGrid -----------------------------------------------------------------

TStripedDBGrid::TStripedDBGrid(records::Dataset *dataset, int field, const QString &title, QWidget *parent)
    : QTableView(parent), dataset_(dataset), model_(new RecordListModel(dataset, field, title, this))
{
    setModel(model_);
    setSelectionMode(QAbstractItemView::NoSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    setShowGrid(true);
    setWordWrap(false);
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
    horizontalHeader()->setHighlightSections(false);
    setTabKeyNavigation(true);
    auto repaint = [this] { viewport()->update(); };
    connect(dataset, &records::Dataset::afterScroll, this, [this] {
        viewport()->update();
        ensureCurrentVisible();
    });
    connect(dataset, &records::Dataset::recordChanged, this, repaint);
    connect(dataset, &records::Dataset::fieldChanged, this, repaint);
    connect(dataset, &records::Dataset::stateChanged, this, repaint);
}

void TStripedDBGrid::setBackground(const QColor &c)
{
    model_->background = c;
    QPalette p = palette();
    p.setColor(QPalette::Base, c);
    setPalette(p);
    viewport()->update();
}

void TStripedDBGrid::ensureCurrentVisible()
{
    const int row = model_->currentRow();
    if (row >= 0)
        scrollTo(model_->index(row, 0), QAbstractItemView::EnsureVisible);
}

void TStripedDBGrid::centerCurrent()
{
    const int row = model_->currentRow();
    if (row >= 0)
        scrollTo(model_->index(row, 0), QAbstractItemView::PositionAtCenter);
}

void TStripedDBGrid::deleteWithConfirmation()
{
    if (!dataset_->active() || dataset_->isEmpty())
        return;
    if (messageDlg(QStringLiteral("Delete record?"), Kind::Confirmation, Ok | Cancel, this) == Ok)
        dataset_->remove();
}

void TStripedDBGrid::keyPressEvent(QKeyEvent *event)
{
    const bool ctrl = event->modifiers() & Qt::ControlModifier;
    const int page = qMax(1, viewport()->height() / qMax(1, verticalHeader()->defaultSectionSize()));
    switch (event->key()) {
    case Qt::Key_Up: dataset_->prior(); break;
    case Qt::Key_Down: dataset_->next(); break;
    case Qt::Key_PageUp: dataset_->moveBy(-page); break;
    case Qt::Key_PageDown: dataset_->moveBy(page); break;
    case Qt::Key_Home: dataset_->first(); break;
    case Qt::Key_End: dataset_->last(); break;
    case Qt::Key_Tab: dataset_->next(); break;
    case Qt::Key_Backtab: dataset_->prior(); break;
    case Qt::Key_Escape: dataset_->cancel(); break;
    case Qt::Key_Delete:
        if (ctrl) {
            deleteWithConfirmation();
            break;
        }
        [[fallthrough]];
    default:
        QTableView::keyPressEvent(event);
        return;
    }
    event->accept();
}

void TStripedDBGrid::mousePressEvent(QMouseEvent *event)
{
    setFocus();
    const QModelIndex index = indexAt(event->position().toPoint());
    if (index.isValid() && index.row() < dataset_->recordCount())
        dataset_->setRecNo(index.row() + 1);
}

void TStripedDBGrid::mouseMoveEvent(QMouseEvent *)
{
    // No drag selection: the dataset's current record is the only selection.
}

void TStripedDBGrid::mouseDoubleClickEvent(QMouseEvent *event)
{
    mousePressEvent(event);
}

void TStripedDBGrid::wheelEvent(QWheelEvent *event)
{
    const int steps = event->angleDelta().y() / 120;
    for (int i = 0; i < qAbs(steps); ++i) {
        bool handled = false;
        if (steps < 0)
            emit mouseWheelDown(&handled);
        else
            emit mouseWheelUp(&handled);
        if (!handled)
            dataset_->moveBy(steps < 0 ? moveByRows_ : -moveByRows_);
    }
    event->accept();
}

bool TStripedDBGrid::focusNextPrevChild(bool)
{
    return false;  // Tab stays inside the grid
}

}  // namespace ui
