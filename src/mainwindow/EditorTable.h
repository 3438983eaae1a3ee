#pragma once
// The main window's field editors as data: which control edits which field, where it stands,
// its label, unit and typing filter.

#include <QRect>
#include <vector>

namespace mainwindow {

enum class EditorKind { Edit, Combo };
enum class Filter { None, Field, Phrase };

// A group box on one of the findings tabs (or the personal tab), with its editor rows.
struct GroupDef {
    const char *id;
    int tab;          // findings tab index; -1 for the personal tab
    const char *caption;
    QRect rect;
    int firstRowY;
};

struct EditorDef {
    const char *name;
    const char *field;
    EditorKind kind;
    const char *group;  // GroupDef id; rows of a group follow one another 24 pixels apart
    const char *label;
    const char *unit;   // "cm2" stands for cm with a raised 2
    Filter filter;
};

// Editors placed freely (personal tab, result and comment groups).
struct PlacedEditorDef {
    const char *name;
    const char *field;
    EditorKind kind;
    const char *parent;   // "personal", "sonuc", "sonucEA", "yorum", "yorumEF"
    QRect rect;           // height is always 21
    const char *label;    // may be empty
    QPoint labelPos;
    const char *unit;
    QPoint unitPos;
    Filter filter;
};

extern const std::vector<GroupDef> kGroups;
extern const std::vector<EditorDef> kGroupEditors;
std::vector<PlacedEditorDef> placedEditors();

}  // namespace mainwindow
