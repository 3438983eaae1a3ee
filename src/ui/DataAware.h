#pragma once
// Editors bound to one field of the dataset. Each shows the current record's field, starts
// editing on the first typed key (after its key filter) and on any other change of its text
// (input method, accessibility, drag and drop, paste), holds the text and writes it into the
// field when it loses the focus or when the dataset settles or posts. While the dataset is
// closed the editors are empty and disabled.

#include <QComboBox>
#include <QLineEdit>
#include <QPointer>
#include <functional>

#include "Dataset.h"

namespace ui {

// Replaces a typed character before it enters the editor; `text` and `caret` describe the
// editor before the character.
using KeyFilter = std::function<QString(const QString &typed, const QString &text, int caret)>;

// The binding itself, shared by both editor kinds.
class FieldLink : public QObject {
    Q_OBJECT
public:
    FieldLink(QWidget *editor, records::Dataset *dataset, int field);

    records::Dataset *dataset() const { return dataset_; }
    int field() const { return field_; }
    bool modified() const { return modified_; }
    void setModified(bool m) { modified_ = m; }
    // Puts the dataset into the edit state before a change reaches the editor.
    void startEditing();
    // The editor's text changed. A change the link did not show itself is the user's, however
    // it came: it starts editing and will be written like typed text.
    void textChanged();
    // Shows the field's text again, dropping the editor's change (Esc).
    void restore();
    // Writes the editor's text into the field when the user changed it.
    void writeBack();

    std::function<QString()> text;            // the editor's current text
    std::function<void(const QString &)> show; // shows a field's text without marking it modified

signals:
    void refreshed();

private:
    void refresh();
    void display(const QString &text);
    QWidget *editor() const { return static_cast<QWidget *>(parent()); }
    QPointer<records::Dataset> dataset_;
    int field_;
    bool modified_ = false;
    bool displaying_ = false;     // the link itself is changing the editor's text
    bool keepEditorText_ = false; // a change is starting editing: the editor keeps what it got
};

class DBEdit : public QLineEdit {
    Q_OBJECT
public:
    DBEdit(records::Dataset *dataset, int field, QWidget *parent = nullptr);
    void setKeyFilter(KeyFilter filter) { filter_ = std::move(filter); }
    FieldLink *link() const { return link_; }

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    FieldLink *link_;
    KeyFilter filter_;
};

class DBComboBox : public QComboBox {
    Q_OBJECT
public:
    DBComboBox(records::Dataset *dataset, int field, const QStringList &items, QWidget *parent = nullptr);
    void setKeyFilter(KeyFilter filter) { filter_ = std::move(filter); }
    FieldLink *link() const { return link_; }
    // Shows a text as the user's own change (used for default findings): starts editing.
    void setUserText(const QString &text);

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void showPopup() override;

private:
    void typeText(const QString &typed);
    void showText(const QString &text);
    FieldLink *link_;
    KeyFilter filter_;
};

// True for keys that change an editor's text: printable characters, Backspace, Delete and the
// cut/paste shortcuts.
bool isEditingKey(const QKeyEvent *event);

}  // namespace ui
