#pragma once
// Preparing a template into pages, and drawing prepared pages with a QPainter.

#include <QDateTime>
#include <QFont>
#include <QFontMetricsF>
#include <QPainter>
#include <QRawFont>
#include <QVariant>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "Template.h"

namespace reports {

// What the engine needs to know of a field's type.
enum class FieldKind { Other, DateTime };

// The engine's only way to the data: the dataset adapter "frxDBDataset1". Field names,
// types and how values read as text are the data's business, not the engine's.
class ReportData {
public:
    virtual ~ReportData() = default;
    virtual QString name() const { return QStringLiteral("frxDBDataset1"); }
    virtual bool bound() const = 0;  // a dataset stands behind the adapter
    virtual void first() = 0;
    virtual void next() = 0;
    virtual bool eof() const = 0;
    virtual bool hasField(const QString &field) const = 0;
    virtual QVariant value(const QString &field) const = 0;  // null, QString or QDateTime
    // A null date reached through an expression is the number 0, so the type matters there.
    virtual FieldKind fieldKind(const QString &field) const = 0;
    // A value of value() as a memo shows it; empty for null.
    virtual QString displayText(const QVariant &value) const = 0;
    // The start of the preparation as the system variables DATE and TIME show it.
    virtual QString dateText(const QDate &date) const = 0;
    virtual QString timeText(const QTime &time) const = 0;
    // Preparation is over: the dataset stays where the data band stopped.
    virtual void finished() {}
};

// The memo texts of one output band in a single string, each text after its length (one
// character below 0x8000, else two), so that a band costs one allocation however many objects
// it has: a list of a million rows keeps a million bands.
class BandTexts {
public:
    BandTexts() = default;
    BandTexts(const QStringList &texts);  // NOLINT: a band's texts are made from a list
    BandTexts(std::initializer_list<QString> texts) : BandTexts(QStringList(texts)) {}
    int size() const { return count_; }
    bool isEmpty() const { return count_ == 0; }
    QString value(int i) const { return view(i).toString(); }  // empty beyond the end
    const QString operator[](int i) const { return value(i); }  // const: no assigning to a copy
    QStringView view(int i) const;
    void append(QStringView text);
    BandTexts &operator<<(QStringView text)
    {
        append(text);
        return *this;
    }
    QStringList toList() const;
    // All texts with their length characters between them: a text that holds a string is a
    // piece of this, so a search can skip a band whose whole string does not hold it.
    QStringView packed() const { return data_; }
    bool operator==(const BandTexts &other) const { return count_ == other.count_ && data_ == other.data_; }
    bool operator!=(const BandTexts &other) const { return !(*this == other); }

    class const_iterator {
    public:
        const_iterator(const BandTexts &t, qsizetype at) : t_(&t), at_(at) {}
        QString operator*() const;
        const_iterator &operator++();
        bool operator!=(const const_iterator &o) const { return at_ != o.at_; }

    private:
        const BandTexts *t_;
        qsizetype at_;  // offset of a length in the string
    };
    const_iterator begin() const { return {*this, 0}; }
    const_iterator end() const { return {*this, data_.size()}; }

private:
    // The length stored at `at` and the offset of its text.
    std::pair<qsizetype, qsizetype> entry(qsizetype at) const;
    QString data_;
    int count_ = 0;
};

// A page in stored form: the bands output onto it, each with its place and its memo texts.
struct PreparedBand {
    int band = 0;        // index into the template's bands
    double y = 0;        // from the top of the printable area
    BandTexts texts;     // one per object, in object order (empty for lines)
};

struct PreparedPage {
    std::vector<PreparedBand> bands;
};

struct PageLayoutCache;

struct PreparedReport {
    PreparedReport();
    const ReportTemplate *tmpl = nullptr;
    std::vector<PreparedPage> pages;
    bool preparing = false;
    int pageCount() const { return int(pages.size()); }
    // Up to 50 pages turned back into laid-out lines, least recently used dropped first;
    // emptied when a preparation ends. While preparing, every drawing lays its page out afresh.
    std::shared_ptr<PageLayoutCache> layouts;
    void dropLayouts();
    static constexpr int kCachedPages = 50;
};

struct BuildOptions {
    bool clear = true;
    QDateTime now = QDateTime::currentDateTime();
    std::function<void(int pages)> onPage;      // a page was started
    std::function<void()> perRow;               // once per data row (let the window system breathe)
    std::function<bool()> stopRequested;        // "Vazgeç" in the preview
};

// Prepares `tmpl` with `data` into `out`. Returns false when the error list is not empty;
// the list is in `errors` (each distinct text once). Pages prepared before an error stay.
bool BuildPages(ReportTemplate &tmpl, ReportData *data, PreparedReport &out, QStringList *errors,
                const BuildOptions &options = {});

// The text of an error box after a failed preparation.
QString errorMessage(const QStringList &errors);

// A template font (Arial, here Liberation Sans, at a whole point size) as the engine measures
// and draws it. Qt sizes fonts in whole pixels and hints their advances, so a 16 pt font
// measured at 96 dpi is 21 px, not 21.33. The face is therefore a font kScale times its
// report-pixel height, unhinted: its advances are those of the exact size and scale
// linearly to every device, and drawing scales it down with the painter's transform.
class ReportFace {
public:
    // Face pixels per report pixel: 3 pixels a point, a whole number, and below the size up to
    // which the font engine caches glyphs and their advances (64 pixels).
    static constexpr double kScale = 2.25;
    ReportFace(int pointSize, bool bold);
    const QFont &font() const { return font_; }
    // In report pixels: the advance of a text and the ascent.
    double advance(const QString &text) const;
    double ascent() const { return metrics_.ascent() / kScale; }
    // The ink of a text relative to its origin on the baseline, from the glyphs' own boxes
    // without shaping it (an empty rectangle for blanks); none when that cannot be told
    // (characters beyond the table, a face with ligatures), and the text must then be clipped.
    std::optional<QRectF> quickInk(const QString &text) const;

private:
    struct Glyph {
        bool known = false;
        qint64 advance = 0;  // in 1/64 face pixels, as the font engine adds them; -1: not in the face
        float left = 0, right = 0, top = 0, bottom = 0;  // report pixels from the origin
    };
    static constexpr char16_t kTableEnd = 0x250;  // Latin up to Latin Extended-B
    const Glyph &glyph(char16_t c) const;
    // The advance of a text of table characters in 1/64 face pixels; -1 for any other text.
    qint64 tableAdvance(const QString &text) const;
    bool simple_ = false;  // the face shapes Latin text glyph by glyph (no ligatures)
    QFont font_;
    QFontMetricsF metrics_;
    QRawFont raw_;
    mutable std::vector<Glyph> glyphs_;  // filled as characters are met
};
// One face per point size and weight, made once.
const ReportFace &reportFace(int pointSize, bool bold);

// Text layout: the lines a memo's text takes in an area `width` report pixels wide.
QStringList layoutLines(const QString &text, const ReportFace &face, double width, bool wordWrap);
double linePitch(const ReportObject &memo);

// Draws page `index` with its top-left sheet corner at the painter's origin; `scale` maps
// report pixels to device pixels (1 at 100 % on a 96 dpi screen).
void drawPage(const PreparedReport &report, int index, QPainter &painter, double scale);

// The drawn text pieces of a page (one per visible line), with their rectangles in report
// pixels on the sheet; the preview's find works on these.
struct TextPiece {
    QString text;
    QRectF rect;
};
std::vector<TextPiece> pageTexts(const PreparedReport &report, int index);

// The page count's place in a stored text, put in (written in any case) when the text is drawn.
inline constexpr QLatin1String kTotalPagesPlaceholder("[TotalPages#]");
// A stored text as it is drawn: the page count put in for the first "[TotalPages#]".
QString withTotalPages(QString text, int total);

// Sheet size in report pixels.
QSizeF sheetSize(const ReportTemplate &tmpl);

}  // namespace reports
