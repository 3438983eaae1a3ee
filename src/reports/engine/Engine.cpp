#include "Engine.h"

#include <QFontMetricsF>
#include <QImage>
#include <QPaintEngine>
#include <QPainterPath>
#include <QRegularExpression>
#include <cmath>
#include <optional>
#include <list>
#include <map>
#include <unordered_map>

namespace reports {

BandTexts::BandTexts(const QStringList &texts)
{
    qsizetype size = 0;
    for (const QString &t : texts)
        size += t.size() + 2;
    data_.reserve(size);
    for (const QString &t : texts)
        append(t);
    data_.squeeze();
}

void BandTexts::append(QStringView text)
{
    const qsizetype n = text.size();
    if (n < 0x8000) {
        data_ += QChar(char16_t(n));
    } else {
        data_ += QChar(char16_t(0x8000 | (n >> 16)));
        data_ += QChar(char16_t(n & 0xffff));
    }
    data_ += text;
    ++count_;
}

std::pair<qsizetype, qsizetype> BandTexts::entry(qsizetype at) const
{
    const char16_t first = data_.at(at).unicode();
    if (first < 0x8000)
        return {first, at + 1};
    return {(qsizetype(first & 0x7fff) << 16) | data_.at(at + 1).unicode(), at + 2};
}

QStringView BandTexts::view(int i) const
{
    if (i < 0 || i >= count_)
        return {};
    qsizetype at = 0;
    for (;;) {
        const auto [length, text] = entry(at);
        if (i-- == 0)
            return QStringView(data_).mid(text, length);
        at = text + length;
    }
}

QStringList BandTexts::toList() const
{
    QStringList list;
    list.reserve(count_);
    for (const QString &t : *this)
        list << t;
    return list;
}

QString BandTexts::const_iterator::operator*() const
{
    const auto [length, text] = t_->entry(at_);
    return t_->data_.mid(text, length);
}

BandTexts::const_iterator &BandTexts::const_iterator::operator++()
{
    const auto [length, text] = t_->entry(at_);
    at_ = text + length;
    return *this;
}

namespace {

// Thrown to end a preparation at once (syntax errors, an unbound adapter).
struct Fatal {
    QString text;
};

class Preparation {
public:
    Preparation(ReportTemplate &t, ReportData *d, PreparedReport &out, const BuildOptions &o)
        : tmpl_(t), data_(d), out_(out), options_(o), startDate_(o.now.date()), startTime_(o.now.time())
    {
    }

    void run();
    QStringList errors;

private:
    QString memoText(const ReportObject &o);
    QString evaluate(const QString &expression, const ReportObject &o);
    void addError(const ReportObject &o, const QString &text);
    void outputBand(int bandIndex);
    void endPage();
    void newPage();
    QStringList texts(const Band &band);

    ReportTemplate &tmpl_;
    ReportData *data_;
    PreparedReport &out_;
    const BuildOptions &options_;
    QDate startDate_;
    QTime startTime_;
    double curY_ = 0;
    int footer_ = -1;
};

void Preparation::addError(const ReportObject &o, const QString &text)
{
    const QString line = o.name + QStringLiteral(": ") + text;
    if (!errors.contains(line))
        errors << line;
}

QString Preparation::evaluate(const QString &expression, const ReportObject &o)
{
    const QString e = expression.trimmed();
    static const QRegularExpression fieldRef(QStringLiteral("^(\\w+)\\.\"([^\"]*)\"$"));
    if (const auto m = fieldRef.match(e); m.hasMatch()) {
        if (m.captured(1).compare(data_->name(), Qt::CaseInsensitive) != 0) {
            addError(o, QStringLiteral("Bilinmeyen değişken veya saha: ") + e);
            return QString();
        }
        if (!data_->hasField(m.captured(2))) {
            addError(o, QStringLiteral("Saha bulunamadı: %1.\"%2\"").arg(data_->name(), m.captured(2)));
            return QString();
        }
        const QVariant v = data_->value(m.captured(2));
        // A null date reached through an expression is the number 0.
        if (v.isNull() && data_->fieldKind(m.captured(2)) == FieldKind::DateTime)
            return QStringLiteral("0");
        return data_->displayText(v);
    }
    const QString upper = e.toUpper();
    if (upper == QLatin1String("DATE"))
        return data_->dateText(startDate_);
    if (upper == QLatin1String("TIME"))
        return data_->timeText(startTime_);
    if (upper == QLatin1String("PAGE#") || upper == QLatin1String("PAGE"))
        return QString::number(out_.pages.size());
    if (upper == QLatin1String("TOTALPAGES#") || upper == QLatin1String("TOTALPAGES"))
        return QString(kTotalPagesPlaceholder);
    if (upper == QLatin1String("COPYNAME#"))
        return QStringLiteral("[CopyName#]");
    if (upper == QLatin1String("LINE"))
        return QString::number(tmpl_.line);
    if (upper == QLatin1String("LINE#"))
        return QString::number(tmpl_.lineHash);
    static const QRegularExpression name(QStringLiteral("^[\\w#]+$"));
    if (name.match(e).hasMatch()) {
        addError(o, QStringLiteral("Bilinmeyen değişken veya saha: ") + e);
        return QString();
    }
    // The templates hold no other expression; anything else in a memo is not understood.
    throw Fatal{o.name + QStringLiteral(": Söz dizimi hatası '") + e + QStringLiteral("': ifade anlaşılamadı")};
}

QString Preparation::memoText(const ReportObject &o)
{
    if (o.kind == ObjectKind::Line)
        return QString();
    if (o.showsField()) {
        if (!data_->hasField(o.dataField)) {
            const QString text = QStringLiteral("Saha bulunamadı: %1.\"%2\"").arg(o.dataSet, o.dataField);
            addError(o, text);
            return text;
        }
        return data_->displayText(data_->value(o.dataField));
    }
    const QString text = o.memo.join(QLatin1Char('\n'));
    QString result;
    int i = 0;
    while (i < text.size()) {
        const int open = int(text.indexOf(QLatin1Char('['), i));
        if (open < 0) {
            result += text.mid(i);
            break;
        }
        result += text.mid(i, open - i);
        // The matching "]": brackets nest; quoted parts do not count.
        int depth = 0, close = -1;
        QChar quote;
        for (int k = open; k < text.size() && close < 0; ++k) {
            const QChar c = text.at(k);
            if (!quote.isNull()) {
                if (c == quote)
                    quote = QChar();
            } else if (c == QLatin1Char('"') || c == QLatin1Char('\'')) {
                quote = c;
            } else if (c == QLatin1Char('[')) {
                ++depth;
            } else if (c == QLatin1Char(']') && --depth == 0) {
                close = k;
            }
        }
        if (close < 0)
            throw Fatal{o.name + QStringLiteral(": Söz dizimi hatası '") + text.mid(open + 1) +
                        QStringLiteral("': kapanmayan köşeli parantez")};
        result += evaluate(text.mid(open + 1, close - open - 1), o);
        i = close + 1;
    }
    return result;
}

QStringList Preparation::texts(const Band &band)
{
    QStringList list;
    list.reserve(int(band.objects.size()));
    for (const ReportObject &o : band.objects)
        list << memoText(o);
    return list;
}

void Preparation::newPage()
{
    out_.pages.emplace_back();
    curY_ = 0;
    if (options_.onPage)
        options_.onPage(int(out_.pages.size()));
}

void Preparation::endPage()
{
    if (footer_ < 0)
        return;
    const Band &footer = tmpl_.bands[footer_];
    curY_ = tmpl_.pageHeight() - footer.height;
    out_.pages.back().bands.push_back({footer_, curY_, texts(footer)});
}

void Preparation::outputBand(int bandIndex)
{
    const Band &band = tmpl_.bands[bandIndex];
    QStringList worked = texts(band);
    const double footerHeight = footer_ >= 0 ? tmpl_.bands[footer_].height : 0;
    const double free = tmpl_.pageHeight() - footerHeight - curY_;
    if (free < band.height) {
        endPage();
        newPage();
    }
    out_.pages.back().bands.push_back({bandIndex, curY_, std::move(worked)});
    curY_ += band.height;
}

void Preparation::run()
{
    for (size_t b = 0; b < tmpl_.bands.size(); ++b)
        if (tmpl_.bands[b].kind == BandKind::PageFooter)
            footer_ = int(b);
    if (!data_ || !data_->bound())
        throw Fatal{QStringLiteral("%1 DataSet'i veriye bağlanmamış").arg(data_ ? data_->name() : QStringLiteral("frxDBDataset1"))};
    newPage();
    for (size_t b = 0; b < tmpl_.bands.size(); ++b)
        if (tmpl_.bands[b].kind == BandKind::ReportTitle)
            outputBand(int(b));
    for (size_t b = 0; b < tmpl_.bands.size(); ++b) {
        if (tmpl_.bands[b].kind != BandKind::MasterData)
            continue;
        data_->first();
        // An empty list shows "Toplam: 0" every time, not the count of the previous list.
        if (data_->eof())
            tmpl_.line = tmpl_.lineHash = 0;
        int row = 1;
        while (!data_->eof()) {
            if (options_.stopRequested && options_.stopRequested())
                break;
            tmpl_.line = tmpl_.lineHash = row;
            outputBand(int(b));
            ++row;
            data_->next();
            if (options_.perRow)
                options_.perRow();
        }
        data_->finished();
    }
    endPage();
}

QRectF objectRect(const ReportTemplate &t, const PreparedBand &pb, const ReportObject &o)
{
    return QRectF(t.leftMargin * kPixelsPerMm + o.left, t.topMargin * kPixelsPerMm + pb.y + o.top, o.width, o.height);
}

QRectF textArea(const ReportObject &o, const QRectF &box)
{
    const double fw = o.frame.width;
    const double l = o.gapX + (o.frame.left ? (fw - 1) / 2 : 0);
    const double r = o.gapX + (o.frame.right ? fw / 2 : 0);
    const double t = o.gapY + (o.frame.top ? (fw - 1) / 2 : 0);
    const double b = o.gapY + (o.frame.bottom ? fw / 2 : 0);
    return box.adjusted(l, t, -r, -b);
}

}  // namespace

QString withTotalPages(QString text, int total)
{
    const qsizetype at = text.indexOf(kTotalPagesPlaceholder, 0, Qt::CaseInsensitive);
    if (at >= 0)
        text.replace(at, kTotalPagesPlaceholder.size(), QString::number(total));
    return text;
}

namespace {
// The length of the longest prefix of `text` (at least one character) that fits `width`.
int fittingLength(const QString &text, const ReportFace &face, double width)
{
    int fits = 1, tooLong = int(text.size());  // text itself does not fit
    while (tooLong - fits > 1) {
        const int mid = (fits + tooLong) / 2;
        (face.advance(text.left(mid)) <= width ? fits : tooLong) = mid;
    }
    return fits;
}

struct LaidLine {
    QString text;
    double advance;
};

// Breaks one paragraph into lines: after the last blank that still fits (the blank itself
// dropped); a word wider than the whole area breaks between characters. Each text is
// measured once and its advance kept.
void breakParagraph(QString rest, const ReportFace &face, double width, bool wordWrap, std::vector<LaidLine> &out)
{
    double advance = face.advance(rest);
    while (wordWrap && rest.size() > 1 && advance > width) {
        const int fit = fittingLength(rest, face, width);
        const int blank = int(rest.left(fit + 1).lastIndexOf(QLatin1Char(' ')));
        const int cut = blank > 0 ? blank : fit;
        QString line = rest.left(cut);
        const double lineAdvance = face.advance(line);
        out.push_back({std::move(line), lineAdvance});
        rest = rest.mid(blank > 0 ? blank + 1 : fit);
        advance = face.advance(rest);
    }
    out.push_back({std::move(rest), advance});
}

void layOut(const QString &text, const ReportFace &face, double width, bool wordWrap, std::vector<LaidLine> &out)
{
    out.clear();
    if (text.isEmpty())
        return;
    if (!text.contains(QLatin1Char('\n'))) {
        breakParagraph(text, face, width, wordWrap, out);
        return;
    }
    for (const QString &paragraph : text.split(QLatin1Char('\n')))
        breakParagraph(paragraph, face, width, wordWrap, out);
}
}  // namespace

// One visible line of a memo on a page, laid out and ready to draw.
struct LinePiece {
    const ReportObject *object;
    const ReportFace *face;
    QRectF area;
    QRectF line;
    double x;      // where the text starts, placed by the memo's alignment
    std::optional<QRectF> ink;  // on the sheet; none when unknown (then the text is always clipped)
    QString text;
};

struct PageLayoutCache {
    std::list<int> order;  // most recently used first
    std::unordered_map<int, std::vector<LinePiece>> pages;
    void clear()
    {
        order.clear();
        pages.clear();
    }
};

PreparedReport::PreparedReport() : layouts(std::make_shared<PageLayoutCache>()) {}

void PreparedReport::dropLayouts()
{
    if (layouts)
        layouts->clear();
}

namespace {

double alignedX(HAlign align, const QRectF &line, double textWidth)
{
    switch (align) {
    case HAlign::Center:
        return line.left() + (line.width() - textWidth) / 2;
    case HAlign::Right:
        return line.right() - textWidth;
    case HAlign::Left:
        break;
    }
    return line.left();
}

std::vector<LinePiece> layOutPage(const PreparedReport &report, int index)
{
    std::vector<LinePiece> pieces;
    std::vector<LaidLine> lines;
    const ReportTemplate &t = *report.tmpl;
    for (const PreparedBand &pb : report.pages[index].bands) {
        const Band &band = t.bands[pb.band];
        for (size_t i = 0; i < band.objects.size(); ++i) {
            const ReportObject &o = band.objects[i];
            if (o.kind == ObjectKind::Line)
                continue;
            const QRectF area = textArea(o, objectRect(t, pb, o));
            const QString text = withTotalPages(pb.texts.value(int(i)), report.pageCount());
            const ReportFace &face = reportFace(o.fontPt, o.bold);
            layOut(text, face, area.width(), o.wordWrap, lines);
            const double pitch = linePitch(o);
            for (size_t n = 0; n < lines.size(); ++n) {
                const QRectF lineRect(area.left(), area.top() + double(n) * pitch, area.width(), pitch);
                if (o.clipped && lineRect.top() >= area.bottom())
                    break;
                const double x = alignedX(o.hAlign, lineRect, lines[n].advance);
                std::optional<QRectF> ink = face.quickInk(lines[n].text);
                if (ink)
                    ink->translate(x, lineRect.top() + face.ascent());
                pieces.push_back({&o, &face, area, lineRect, x, ink, std::move(lines[n].text)});
            }
        }
    }
    return pieces;
}

// The laid-out lines of a page: from the cache once preparation has ended.
const std::vector<LinePiece> &linesOf(const PreparedReport &report, int index, std::vector<LinePiece> &scratch)
{
    if (report.preparing || !report.layouts) {
        scratch = layOutPage(report, index);
        return scratch;
    }
    PageLayoutCache &cache = *report.layouts;
    auto it = cache.pages.find(index);
    if (it != cache.pages.end()) {
        cache.order.remove(index);
        cache.order.push_front(index);
        return it->second;
    }
    if (int(cache.pages.size()) >= PreparedReport::kCachedPages) {
        cache.pages.erase(cache.order.back());
        cache.order.pop_back();
    }
    cache.order.push_front(index);
    return cache.pages.emplace(index, layOutPage(report, index)).first->second;
}

template <typename F>
void forEachLine(const PreparedReport &report, int index, F visit)
{
    std::vector<LinePiece> scratch;
    for (const LinePiece &p : linesOf(report, index, scratch))
        visit(p);
}

}  // namespace

bool BuildPages(ReportTemplate &tmpl, ReportData *data, PreparedReport &out, QStringList *errors, const BuildOptions &options)
{
    if (options.clear)
        out.pages.clear();
    if (!out.layouts)
        out.layouts = std::make_shared<PageLayoutCache>();
    out.tmpl = &tmpl;
    out.preparing = true;
    Preparation p(tmpl, data, out, options);
    try {
        p.run();
    } catch (const Fatal &f) {
        if (!p.errors.contains(f.text))
            p.errors << f.text;
    }
    out.preparing = false;
    out.layouts->clear();
    if (errors)
        *errors = p.errors;
    return p.errors.isEmpty();
}

QString errorMessage(const QStringList &errors)
{
    return QStringLiteral("Aşağıdaki hata(lar) oluştu:\n") + errors.join(QLatin1Char('\n'));
}

ReportFace::ReportFace(int pointSize, bool bold)
    : font_([&] {
          QFont f(QStringLiteral("Arial"));
          f.setStyleHint(QFont::SansSerif);
          // pointSize × 96 / 72 report pixels, kScale face pixels each: a whole number.
          f.setPixelSize(int(std::lround(pointSize * 96.0 / 72.0 * kScale)));
          f.setBold(bold);
          f.setKerning(false);
          f.setHintingPreference(QFont::PreferNoHinting);
          return f;
      }()),
      metrics_(font_),
      raw_(QRawFont::fromFont(font_)),
      glyphs_(kTableEnd)
{
    // Texts are measured from the table of glyph advances only when shaping adds them up
    // unchanged, which a font with ligatures would not.
    simple_ = true;
    for (const char *pair : {"fi", "fl", "ff", "ft", "Th"})
        simple_ = simple_ && metrics_.horizontalAdvance(QLatin1String(pair)) ==
                                 metrics_.horizontalAdvance(QLatin1Char(pair[0])) + metrics_.horizontalAdvance(QLatin1Char(pair[1]));
}

qint64 ReportFace::tableAdvance(const QString &text) const
{
    if (!simple_)
        return -1;
    qint64 sum = 0;
    for (const QChar c : text) {
        if (c.unicode() >= kTableEnd || !c.isPrint())
            return -1;
        const Glyph &g = glyph(c.unicode());
        if (g.advance < 0)
            return -1;
        sum += g.advance;
    }
    return sum;
}

double ReportFace::advance(const QString &text) const
{
    const qint64 units = tableAdvance(text);
    return (units >= 0 ? units / 64.0 : metrics_.horizontalAdvance(text)) / kScale;
}

// A character's advance and the exact box of its outline (the font engine's own glyph boxes
// are rounded out to whole pixels of the face).
const ReportFace::Glyph &ReportFace::glyph(char16_t c) const
{
    Glyph &g = glyphs_[c];
    if (!g.known && !raw_.supportsCharacter(QChar(c))) {
        g = {true, -1};  // drawn from another font: measured by shaping, always clipped
    } else if (!g.known) {
        const QList<quint32> index = raw_.glyphIndexesForString(QString(QChar(c)));
        const QRectF box = index.size() == 1 ? raw_.pathForGlyph(index.first()).boundingRect() : QRectF();
        g = {true, std::llround(metrics_.horizontalAdvance(QChar(c)) * 64), float(box.left() / kScale),
             float(box.right() / kScale), float(box.top() / kScale), float(box.bottom() / kScale)};
    }
    return g;
}

std::optional<QRectF> ReportFace::quickInk(const QString &text) const
{
    if (tableAdvance(text) < 0)
        return std::nullopt;
    qint64 x = 0;
    QRectF ink;  // empty for a text of blanks
    for (const QChar c : text) {
        const Glyph &g = glyph(c.unicode());
        const double at = x / 64.0 / kScale;
        if (g.right > g.left)
            ink |= QRectF(QPointF(at + g.left, g.top), QPointF(at + g.right, g.bottom));
        x += g.advance;
    }
    return ink;
}

const ReportFace &reportFace(int pointSize, bool bold)
{
    static std::unordered_map<int, std::unique_ptr<ReportFace>> faces;
    std::unique_ptr<ReportFace> &face = faces[pointSize * 2 + (bold ? 1 : 0)];
    if (!face)
        face = std::make_unique<ReportFace>(pointSize, bold);
    return *face;
}

double linePitch(const ReportObject &memo)
{
    return memo.fontPt * 96.0 / 72.0 + memo.lineSpacing;
}

QStringList layoutLines(const QString &text, const ReportFace &face, double width, bool wordWrap)
{
    std::vector<LaidLine> lines;
    layOut(text, face, width, wordWrap, lines);
    QStringList out;
    for (LaidLine &l : lines)
        out << std::move(l.text);
    return out;
}

QSizeF sheetSize(const ReportTemplate &t)
{
    return QSizeF(t.paperWidth * kPixelsPerMm, t.paperHeight * kPixelsPerMm);
}

namespace {
// Qt sets a dash pattern up anew for every dotted line it strokes, which costs more than the
// rest of a list page. On a raster device at a whole-pixel offset a dotted line's pixels
// depend only on its direction and length: each such line is stroked once into a small
// picture by the painter's own pen, and copied wherever it recurs. Elsewhere (PDF, printers,
// other transforms) lines are stroked as they come.
class DottedLines {
public:
    explicit DottedLines(QPainter &painter) : painter_(painter)
    {
        const QTransform &t = painter.worldTransform();
        copy_ = painter.paintEngine() && painter.paintEngine()->type() == QPaintEngine::Raster &&
                t.type() <= QTransform::TxTranslate && t.dx() == std::round(t.dx()) && t.dy() == std::round(t.dy());
    }
    void draw(const QLineF &l)
    {
        const bool vertical = l.x1() == l.x2();
        const double length = vertical ? l.y2() - l.y1() : l.x2() - l.x1();
        if (!copy_ || (!vertical && l.y1() != l.y2()) || length < 0 || length != std::round(length) ||
            l.x1() != std::round(l.x1()) || l.y1() != std::round(l.y1())) {
            painter_.drawLine(l);
            return;
        }
        QImage &picture = pictures_[{int(length), vertical}];
        if (picture.isNull()) {
            // One pixel of margin round the line: the stroke stays inside whatever its ends.
            picture = QImage(vertical ? 3 : int(length) + 3, vertical ? int(length) + 3 : 3, QImage::Format_ARGB32_Premultiplied);
            picture.fill(Qt::transparent);
            QPainter p(&picture);
            p.setRenderHint(QPainter::Antialiasing, false);
            p.setPen(painter_.pen());
            p.drawLine(vertical ? QLineF(1, 1, 1, 1 + length) : QLineF(1, 1, 1 + length, 1));
        }
        painter_.drawImage(QPointF(l.x1() - 1, l.y1() - 1), picture);
    }

private:
    QPainter &painter_;
    bool copy_ = false;
    std::map<std::pair<int, bool>, QImage> pictures_;  // by length and direction
};
}  // namespace

void drawPage(const PreparedReport &report, int index, QPainter &painter, double scale)
{
    const ReportTemplate &t = *report.tmpl;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    auto px = [scale](double v) { return std::round(v * scale); };
    auto devRect = [&](const QRectF &r) {
        return QRectF(QPointF(px(r.left()), px(r.top())), QPointF(px(r.right()), px(r.bottom())));
    };
    // Frames and lines first per object, in template order; text after its own frame.
    QPen pen(Qt::black);
    pen.setCapStyle(Qt::FlatCap);
    DottedLines dotted(painter);
    for (const PreparedBand &pb : report.pages[index].bands) {
        const Band &band = t.bands[pb.band];
        for (const ReportObject &o : band.objects) {
            const Frame &f = o.frame;
            if (o.kind != ObjectKind::Line && !f.top && !f.bottom && !f.left && !f.right)
                continue;
            const QRectF box = devRect(objectRect(t, pb, o));
            const double width = f.dotted ? 1 : std::max(1.0, std::round(f.width * scale));
            const Qt::PenStyle style = f.dotted ? Qt::DotLine : Qt::SolidLine;
            if (pen.widthF() != width || pen.style() != style) {
                pen.setWidthF(width);
                pen.setStyle(style);
            }
            painter.setPen(pen);
            const auto stroke = [&](const QLineF &l) { f.dotted ? dotted.draw(l) : painter.drawLine(l); };
            if (o.kind == ObjectKind::Line) {
                if (o.width > o.height)
                    stroke(QLineF(box.left(), box.top(), box.right(), box.top()));
                else
                    stroke(QLineF(box.left(), box.top(), box.left(), box.bottom()));
                continue;
            }
            if (f.top) stroke(QLineF(box.topLeft(), box.topRight()));
            if (f.bottom) stroke(QLineF(box.bottomLeft(), box.bottomRight()));
            if (f.left) stroke(QLineF(box.topLeft(), box.bottomLeft()));
            if (f.right) stroke(QLineF(box.topRight(), box.bottomRight()));
        }
    }
    // Text: the faces scaled down by one transform for the whole page, each line placed at
    // its exact x (no rounding, so centring and right alignment hold at every scale) and on a
    // whole-pixel baseline. A line is clipped to its text area only where its ink may reach
    // beyond that area's device pixels.
    const QTransform base = painter.worldTransform();
    const double k = scale / ReportFace::kScale;
    const QTransform faces = QTransform::fromScale(k, k) * base;
    painter.setWorldTransform(faces);
    painter.setPen(Qt::black);
    const ReportFace *current = nullptr;
    forEachLine(report, index, [&](const LinePiece &p) {
        if (p.face != current) {
            painter.setFont(p.face->font());
            current = p.face;
        }
        const double baseline = px(p.line.top() + p.face->ascent());
        const QPointF origin(p.x * scale / k, baseline / k);
        const QRectF clip = devRect(p.area);
        bool inside = false;
        if (p.ink) {
            const QRectF &ink = *p.ink;
            const double dy = baseline - (p.line.top() + p.face->ascent()) * scale;  // the baseline's rounding
            inside = ink.isEmpty() || (ink.left() * scale - 0.5 >= clip.left() && ink.right() * scale + 0.5 <= clip.right() &&
                                       ink.top() * scale + dy - 0.1 >= clip.top() && ink.bottom() * scale + dy + 0.1 <= clip.bottom());
        }
        if (!p.object->clipped || inside) {
            painter.drawText(origin, p.text);
            return;
        }
        painter.save();
        painter.setWorldTransform(base);
        painter.setClipRect(clip, Qt::IntersectClip);
        painter.setWorldTransform(faces);
        painter.drawText(origin, p.text);
        painter.restore();
    });
    painter.restore();
}

std::vector<TextPiece> pageTexts(const PreparedReport &report, int index)
{
    std::vector<TextPiece> pieces;
    forEachLine(report, index, [&](const LinePiece &p) {
        pieces.push_back({p.text, p.line});
    });
    return pieces;
}

}  // namespace reports
