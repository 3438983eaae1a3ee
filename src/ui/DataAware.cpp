#include "DataAware.h"

#include <QAbstractItemView>
#include <QKeyEvent>

#include "Dialogs.h"
#include "Error.h"
#include "Schema.h"
#include "Vocabulary.h"

namespace ui {

bool isEditingKey(const QKeyEvent *event)
{
    if (event->matches(QKeySequence::Cut) || event->matches(QKeySequence::Paste) || event->matches(QKeySequence::Delete))
        return true;
    if (event->key() == Qt::Key_Backspace || event->key() == Qt::Key_Delete)
        return true;
    const QString text = event->text();
    return !text.isEmpty() && text.at(0).isPrint() && !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier));
}

// --- FieldLink ----------------------------------------------------------------------

FieldLink::FieldLink(QWidget *editor, records::Dataset *dataset, int field)
    : QObject(editor), dataset_(dataset), field_(field)
{
    connect(dataset, &records::Dataset::recordChanged, this, &FieldLink::refresh);
    connect(dataset, &records::Dataset::fieldChanged, this, [this](int f) {
        if (f == field_)
            refresh();
    });
    connect(dataset, &records::Dataset::updateRecord, this, &FieldLink::writeBack);
    // A closed dataset takes no input: nothing typed could be kept.
    auto followState = [this] { this->editor()->setEnabled(dataset_ && dataset_->active()); };
    connect(dataset, &records::Dataset::stateChanged, this, followState);
    followState();
}

void FieldLink::display(const QString &text)
{
    if (!show)
        return;
    const bool wasDisplaying = displaying_;
    displaying_ = true;
    show(text);
    displaying_ = wasDisplaying;
}

void FieldLink::refresh()
{
    if (!keepEditorText_)
        display(dataset_ ? dataset_->displayText(field_) : QString());
    modified_ = false;
    emit refreshed();
}

void FieldLink::restore()
{
    display(dataset_ ? dataset_->displayText(field_) : QString());
    modified_ = false;
}

void FieldLink::startEditing()
{
    if (dataset_ && !dataset_->editing())
        dataset_->edit();
}

void FieldLink::textChanged()
{
    if (displaying_)
        return;
    if (!dataset_ || !dataset_->active()) {
        restore();  // nowhere to keep it
        return;
    }
    if (!dataset_->editing()) {
        // On an empty list this starts a new record, whose refresh must not wipe the text
        // that started it.
        keepEditorText_ = true;
        try {
            startEditing();
        } catch (const Error &e) {
            keepEditorText_ = false;
            restore();
            ui::showException(e, editor());
            return;
        }
        keepEditorText_ = false;
    }
    modified_ = true;
}

void FieldLink::writeBack()
{
    if (!modified_ || !dataset_ || !dataset_->editing())
        return;
    QWidget *editor = this->editor();
    try {
        dataset_->setText(field_, text());
        modified_ = false;
    } catch (const Error &) {
        // The value is refused: the editor keeps the focus with its text selected.
        editor->setFocus();
        if (auto *line = qobject_cast<QLineEdit *>(editor))
            line->selectAll();
        else if (auto *combo = qobject_cast<QComboBox *>(editor); combo && combo->lineEdit())
            combo->lineEdit()->selectAll();
        throw;
    }
}

// --- DBEdit -------------------------------------------------------------------------

DBEdit::DBEdit(records::Dataset *dataset, int field, QWidget *parent)
    : QLineEdit(parent), link_(new FieldLink(this, dataset, field))
{
    if (records::kFields[field].type == records::FieldType::Text)
        setMaxLength(records::kFields[field].size);
    link_->text = [this] { return QLineEdit::text(); };
    link_->show = [this](const QString &t) {
        setText(t);
        setCursorPosition(0);  // show a long text from its start
    };
    link_->restore();
    connect(this, &QLineEdit::textChanged, link_, &FieldLink::textChanged);
}

void DBEdit::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape && link_->modified()) {
        link_->restore();
        selectAll();
        return;
    }
    if (!isEditingKey(event)) {
        QLineEdit::keyPressEvent(event);
        return;
    }
    QString typed = event->text();
    const bool character = !typed.isEmpty() && typed.at(0).isPrint() && event->key() != Qt::Key_Delete;
    if (character && filter_)
        typed = filter_(typed, text(), cursorPosition());
    link_->startEditing();
    if (character && typed != event->text()) {
        QKeyEvent replaced(event->type(), Qt::Key_unknown, event->modifiers(), typed, event->isAutoRepeat(), event->count());
        QLineEdit::keyPressEvent(&replaced);
    } else {
        QLineEdit::keyPressEvent(event);
    }
}

// Only a real move of the focus inside the window writes back: not switching windows, not a
// popup, not the window going away.
static bool leavesEditor(const QWidget *w, const QFocusEvent *event)
{
    return event->reason() != Qt::ActiveWindowFocusReason && event->reason() != Qt::PopupFocusReason &&
           w->window()->isVisible();
}

void DBEdit::focusOutEvent(QFocusEvent *event)
{
    QLineEdit::focusOutEvent(event);
    if (leavesEditor(this, event))
        link_->writeBack();
}

// --- DBComboBox ---------------------------------------------------------------------

DBComboBox::DBComboBox(records::Dataset *dataset, int field, const QStringList &items, QWidget *parent)
    : QComboBox(parent), link_(new FieldLink(this, dataset, field))
{
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
    setCompleter(nullptr);  // completion follows our own rule (first entry from the top)
    setMaxVisibleItems(12);
    addItems(items);
    link_->text = [this] { return currentText(); };
    link_->show = [this](const QString &t) { showText(t); };
    connect(this, &QComboBox::activated, this, [this] { link_->setModified(true); });
    link_->restore();
    connect(this, &QComboBox::editTextChanged, link_, &FieldLink::textChanged);
}

void DBComboBox::showText(const QString &text)
{
    const QSignalBlocker block(this);
    const int index = findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive);
    setCurrentIndex(index);
    if (index < 0)
        setEditText(text);
    lineEdit()->setCursorPosition(0);
}

void DBComboBox::setUserText(const QString &text)
{
    link_->startEditing();
    showText(text);
    link_->setModified(true);
}

void DBComboBox::showPopup()
{
    link_->startEditing();
    QComboBox::showPopup();
}

void DBComboBox::typeText(const QString &typed)
{
    QLineEdit *line = lineEdit();
    const int start = line->hasSelectedText() ? line->selectionStart() : line->cursorPosition();
    const QString typedSoFar = line->text().left(start) + typed;
    QStringList entries;
    for (int i = 0; i < count(); ++i)
        entries << itemText(i);
    const int hit = records::completionIndex(entries, typedSoFar);
    if (hit < 0) {
        line->insert(typed);
        return;
    }
    const QString entry = itemText(hit);
    {
        const QSignalBlocker block(this);
        setCurrentIndex(hit);
    }
    line->setText(entry);
    line->setSelection(int(entry.size()), int(typedSoFar.size()) - int(entry.size()));
}

void DBComboBox::keyPressEvent(QKeyEvent *event)
{
    const bool arrow = event->key() == Qt::Key_Up || event->key() == Qt::Key_Down;
    if (event->key() == Qt::Key_Escape && link_->modified()) {
        link_->restore();
        lineEdit()->selectAll();
        return;
    }
    if (!isEditingKey(event) && !arrow) {
        QComboBox::keyPressEvent(event);
        return;
    }
    QString typed = event->text();
    const bool character = !arrow && !typed.isEmpty() && typed.at(0).isPrint() && event->key() != Qt::Key_Delete;
    if (character && filter_) {
        QLineEdit *line = lineEdit();
        const int caret = line->hasSelectedText() ? line->selectionStart() : line->cursorPosition();
        typed = filter_(typed, line->text(), caret);
    }
    link_->startEditing();
    if (character)
        typeText(typed);
    else
        QComboBox::keyPressEvent(event);
}

void DBComboBox::focusOutEvent(QFocusEvent *event)
{
    QComboBox::focusOutEvent(event);
    if (leavesEditor(this, event))
        link_->writeBack();
}

}  // namespace ui
