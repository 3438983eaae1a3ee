#pragma once
// The report template model: pages of bands holding memos and lines, positions in report
// pixels (96 per inch), paper and margins in millimetres converted at 3.77953 px/mm.

#include <QString>
#include <QStringList>
#include <vector>

namespace reports {

inline constexpr double kPixelsPerMm = 3.77953;

enum class ObjectKind { Memo, SysMemo, Line };
enum class HAlign { Left, Center, Right };
enum class ObjectAlign { None, Center, Width };
enum class BandKind { ReportTitle, MasterData, PageFooter };

struct Frame {
    bool left = false, right = false, top = false, bottom = false;
    double width = 1;
    bool dotted = false;
};

struct ReportObject {
    QString name;
    ObjectKind kind = ObjectKind::Memo;
    double left = 0, top = 0, width = 0, height = 0;
    ObjectAlign align = ObjectAlign::None;
    QStringList memo;        // the text's lines
    QString dataSet;         // "frxDBDataset1" when the memo shows a field
    QString dataField;
    int fontPt = 10;
    bool bold = false;
    HAlign hAlign = HAlign::Left;
    double gapX = 2, gapY = 1, lineSpacing = 2;
    bool wordWrap = true, clipped = true;
    Frame frame;
    bool showsField() const { return !dataSet.isEmpty() && !dataField.isEmpty(); }
};

struct Band {
    QString name;
    BandKind kind = BandKind::ReportTitle;
    double height = 0;
    double width = 0;  // set from the page's printable width
    std::vector<ReportObject> objects;
};

struct ReportTemplate {
    QString name;  // "Rapor", "RaporKisi"
    double paperWidth = 210, paperHeight = 297;
    double leftMargin = 20, rightMargin = 20, topMargin = 15, bottomMargin = 10;
    bool navigator = false;  // the preview offers page navigation
    std::vector<Band> bands;
    // Row numbers kept from one preparation to the next.
    int line = 0, lineHash = 0;

    double pageWidth() const { return (paperWidth - leftMargin - rightMargin) * kPixelsPerMm; }
    double pageHeight() const { return (paperHeight - topMargin - bottomMargin) * kPixelsPerMm; }
    const Band *band(BandKind kind) const;

    // Searches every object by name, ignoring the case of Latin letters.
    ReportObject *FindObject(const QString &name);
    // Sets band widths from the page and applies baCenter / baWidth.
    void layOut();
};

// Replaces a memo's lines: split at CR LF, CR, LF and U+2028; an empty text leaves no lines.
void setMemoText(ReportObject &memo, const QString &text);

// The program's two templates, built from their tables.
ReportTemplate makeRapor();
ReportTemplate makeRaporKisi();

// One row of a template table, kept with its millimetre column for checking. Rows name what
// differs from a plain memo: 10 pt, left-aligned, unframed, 2 px gap.
struct ObjectRow {
    int order;          // place in its band's object list
    const char *band;
    const char *name;
    ObjectKind kind = ObjectKind::Memo;
    double left, top, width, height;  // report pixels
    const char *memo = "";
    const char *field = "";  // the field the memo shows, if any
    int fontPt = 10;
    bool bold = false;
    HAlign hAlign = HAlign::Left;
    ObjectAlign align = ObjectAlign::None;
    bool box = false;   // a frame on all four sides
    double gapX = 2;
    bool frameTop = false, dotted = false;
    double mm[4];       // left, top, width, height in millimetres
};
const std::vector<ObjectRow> &raporRows();
const std::vector<ObjectRow> &raporKisiRows();

}  // namespace reports
