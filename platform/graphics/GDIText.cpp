// Fonts and text on device contexts: metrics, text output and DrawText layout.
#include <QFontDatabase>
#include <QFontMetrics>
#include <QGlyphRun>
#include <QHash>
#include <QPainterPath>
#include <QPolygon>
#include <QTextLayout>

#include <algorithm>
#include <cmath>
#include <climits>
#include <cstdlib>
#include <memory>
#include <mutex>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

#include "platform/graphics/Drawing.h"
#include "platform/Private.h"

namespace platform {

using namespace draw;

// ---------------------------------------------------------------- fonts

std::string MapFontFamily(const std::string& name)
{
    static const struct {
        const char* from;
        const char* to;
    } kMap[] = {{"arial", "Liberation Sans"},       {"ms sans serif", "Liberation Sans"},
                {"microsoft sans serif", "Liberation Sans"}, {"helvetica", "Liberation Sans"},
                {"segoe ui", "Liberation Sans"},    {"tahoma", "DejaVu Sans"},
                {"verdana", "DejaVu Sans"},         {"courier new", "Liberation Mono"},
                {"courier", "Liberation Mono"},     {"fixedsys", "Liberation Mono"},
                {"times new roman", "Liberation Serif"}, {"ms serif", "Liberation Serif"}};
    std::string lower;
    for (char c : name) lower.push_back(char(std::tolower((unsigned char)c)));
    for (const auto& m : kMap)
        if (lower == m.from) return m.to;
    return name.empty() ? std::string("Liberation Sans") : name;
}

namespace {
QFont CreateQFont(const std::string& name, int height, TFontStyles style, TFontPitch pitch)
{
    QFont f(QString::fromStdString(MapFontFamily(name)));
    f.setStyleStrategy(QFont::PreferAntialias);
    f.setHintingPreference(QFont::PreferFullHinting);
    if (pitch == fpFixed) f.setFixedPitch(true);
    f.setBold(style & fsBold);
    f.setItalic(style & fsItalic);
    f.setUnderline(style & fsUnderline);
    f.setStrikeOut(style & fsStrikeOut);
    if (height == 0) height = -13;
    if (height < 0) {
        f.setPixelSize(-height);
    } else {
        // A positive height is the cell height: scale the em size to fit.
        f.setPixelSize(height);
        QFontMetrics fm(f);
        int cell = fm.ascent() + fm.descent();
        if (cell > 0) f.setPixelSize(std::max(1, int(std::lround(double(height) * height / cell))));
    }
    return f;
}
}  // namespace

// Canvases switch between a few fonts all the time (bold on and off, a colour change):
// a font made before is handed out again, so the host finds its glyph data at once.
QFont MakeQFont(const std::string& name, int height, TFontStyles style, TFontPitch pitch)
{
    struct Made {
        std::string name;
        int height;
        TFontStyles style;
        TFontPitch pitch;
        QFont font;
    };
    // Never freed, so that no font is released after the host's font data at exit.
    static auto* made = new std::vector<Made>;
    static std::mutex lock;
    std::lock_guard<std::mutex> hold(lock);
    for (const Made& m : *made)
        if (m.height == height && m.style == style && m.pitch == pitch && m.name == name) return m.font;
    QFont f = CreateQFont(name, height, style, pitch);
    if (made->size() >= 64) made->erase(made->begin());
    made->push_back({name, height, style, pitch, f});
    return f;
}

// ---------------------------------------------------------------- text

namespace {

QFont DCFont(const DeviceContext& dc)
{
    QFont f = dc.font;
    if (dc.charExtra) f.setLetterSpacing(QFont::AbsoluteSpacing, dc.charExtra);
    return f;
}

}  // namespace

// Text runs on a DC share one painter, on an image laid over the DC's pixels, for as
// long as those pixels stay where they are: a run costs no painter of its own. Other
// painters draw on the DC's image itself meanwhile; both write the same pixels in turn.
struct TextPainter {
    const QImage* image = nullptr;
    const uchar* bits = nullptr;
    QSize size;
    qsizetype bytesPerLine = 0;
    QImage::Format format = QImage::Format_Invalid;
    QImage surface;
    QPainter painter;
    QRegion clip;

    bool Over(const QImage& img) const
    {
        return image == &img && bits == img.constBits() && size == img.size() &&
               bytesPerLine == img.bytesPerLine() && format == img.format();
    }
};

KeptTextPainter::~KeptTextPainter() { delete kept; }

namespace {

// The DC's text painter with the DC's clip, or null where nothing can be drawn.
QPainter* KeptPainter(DeviceContext& dc)
{
    if (!dc.image || dc.image->isNull()) return nullptr;
    const QRegion clip = dc.EffectiveClip();
    if (clip.isEmpty()) return nullptr;
    QImage& img = *dc.image;
    // Pixels shared with a copy are copied first, as a painter on the image would.
    if (!img.isDetached()) img.detach();
    TextPainter*& t = dc.textPainter.kept;
    if (t && !t->Over(img)) {
        delete t;
        t = nullptr;
    }
    if (!t) {
        auto made = std::make_unique<TextPainter>();
        made->surface = QImage(img.bits(), img.width(), img.height(), img.bytesPerLine(), img.format());
        made->surface.setDotsPerMeterX(img.dotsPerMeterX());
        made->surface.setDotsPerMeterY(img.dotsPerMeterY());
        made->surface.setDevicePixelRatio(img.devicePixelRatio());
        if (!made->painter.begin(&made->surface)) return nullptr;
        made->image = &img;
        made->bits = img.constBits();
        made->size = img.size();
        made->bytesPerLine = img.bytesPerLine();
        made->format = img.format();
        made->painter.setRenderHint(QPainter::Antialiasing, false);
        made->painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
        made->painter.setRenderHint(QPainter::TextAntialiasing, true);
        made->clip = clip;
        made->painter.setClipRegion(clip);
        t = made.release();
    } else if (t->clip != clip) {
        // The clip is in device pixels: set it with no run's placement applied.
        t->clip = clip;
        t->painter.resetTransform();
        t->painter.setClipRegion(clip);
    }
    return &t->painter;
}

// What is known of a run in a font: its width and, once drawn, its glyphs with their
// places (a baseline at `baseline`). Kept per font for a bounded number of texts, so a run
// painted again is neither measured nor shaped again.
struct ShapedRun {
    int width = -1;
    bool laidOut = false;
    qreal baseline = 0;
    QList<QGlyphRun> glyphs;
};

ShapedRun& Shaped(const QFont& font, const QString& s)
{
    struct Runs {
        QFont font;
        QHash<QString, ShapedRun> of;
    };
    // Glyphs hold the host's font engines: never freed, so that none is released after the
    // host's font data at exit.
    thread_local auto* known = new std::vector<Runs>;
    Runs* r = nullptr;
    for (Runs& k : *known)
        if (k.font == font) {
            r = &k;
            break;
        }
    if (!r) {
        if (known->size() >= 8) known->erase(known->begin());
        known->push_back({font, {}});
        r = &known->back();
    }
    if (const auto it = r->of.find(s); it != r->of.end()) return *it;
    if (r->of.size() >= 4096) r->of.clear();
    return r->of[s];
}

int RunWidth(const QFont& font, const QFontMetrics& fm, const QString& s)
{
    ShapedRun& run = Shaped(font, s);
    if (run.width < 0) run.width = fm.horizontalAdvance(s);
    return run.width;
}

// Text whose glyphs, laid out once on one line left to right, stand as the painter would
// place them: no tabs or other controls, no right-to-left or joining scripts.
bool PlainRunText(const QString& s)
{
    for (QChar c : s) {
        const char16_t u = c.unicode();
        if (u < 0x20 || (u >= 0x7F && u < 0xA0) || u >= 0x0590) return false;
    }
    return true;
}

// The run's glyphs, laid out the first time it is drawn.
const ShapedRun& LaidOut(const QFont& font, const QString& s, const QPaintDevice* device)
{
    ShapedRun& run = Shaped(font, s);
    if (!run.laidOut) {
        QTextLayout layout(s, font, device);
        QTextOption option;
        option.setWrapMode(QTextOption::NoWrap);
        option.setTextDirection(Qt::LeftToRight);
        option.setFlags(QTextOption::IncludeTrailingSpaces);
        layout.setTextOption(option);
        layout.setCacheEnabled(true);
        layout.beginLayout();
        QTextLine line = layout.createLine();
        if (line.isValid()) {
            line.setNumColumns(int(s.size()));
            line.setPosition(QPointF(0, 0));
        }
        layout.endLayout();
        if (line.isValid()) {
            run.baseline = line.ascent();
            run.glyphs = line.glyphRuns();
        }
        run.laidOut = true;
    }
    return run;
}

void DrawTextRun(DeviceContext& dc, int x, int y, const QString& s, const QFont& font, bool opaque,
                 int underlineIndex = -1, int width = -1)
{
    QPainter* p = KeptPainter(dc);
    if (!p) return;
    QFontMetrics fm(font);
    const int w = width >= 0 ? width : RunWidth(font, fm, s), h = fm.height();
    QTransform at = QTransform::fromTranslate(x + dc.Offset().x(), y + dc.Offset().y());
    if (dc.escapement) at.rotate(-dc.escapement / 10.0);
    p->setTransform(at);
    if (opaque) p->fillRect(QRect(0, 0, w, h), ToQColor(dc.bkColor));
    const QColor textColor = ToQColor(dc.textColor);
    if (p->pen().color() != textColor || p->pen().style() != Qt::SolidLine || p->pen().widthF() != 1)
        p->setPen(textColor);
    // Upright plain runs in a pixel-sized font are drawn from their kept glyphs; others are
    // shaped by the painter as they are drawn.
    const bool kept = !dc.escapement && underlineIndex < 0 && font.pixelSize() > 0 && !font.underline() &&
                      !font.strikeOut() && !font.overline() && PlainRunText(s);
    if (kept) {
        const ShapedRun& run = LaidOut(font, s, p->device());
        const QPointF origin(0, fm.ascent() - run.baseline);
        for (const QGlyphRun& g : run.glyphs) p->drawGlyphRun(origin, g);
    } else {
        p->setFont(font);
        p->drawText(QPoint(0, fm.ascent()), s);
    }
    if (underlineIndex >= 0 && underlineIndex < s.size()) {
        int ux = fm.horizontalAdvance(s.left(underlineIndex));
        int uw = fm.horizontalAdvance(s.at(underlineIndex));
        p->fillRect(QRect(ux, fm.ascent() + 1, uw, 1), textColor);
    }
    QRect bounds = dc.escapement ? QRect(-h - w, -h - w, 2 * (w + h), 2 * (w + h)) : QRect(0, 0, w, h);
    dc.Drawn(bounds.translated(QPoint(x, y) + dc.Offset()));
}

}  // namespace

bool GetTextMetrics(HDC dc, TEXTMETRIC& tm)
{
    if (!dc) return false;
    if (dc->Scaled()) {
        // The font's device metrics, in logical units.
        DeviceSpace ds(*dc);
        GetTextMetrics(dc, tm);
        for (int* v : {&tm.tmHeight, &tm.tmAscent, &tm.tmDescent, &tm.tmInternalLeading, &tm.tmExternalLeading})
            *v = ds.LogicalY(*v);
        tm.tmAveCharWidth = ds.LogicalX(tm.tmAveCharWidth);
        tm.tmMaxCharWidth = ds.LogicalX(tm.tmMaxCharWidth);
        return true;
    }
    QFont f = DCFont(*dc);
    QFontMetrics fm(f);
    tm.tmAscent = fm.ascent();
    tm.tmDescent = fm.descent();
    tm.tmHeight = fm.ascent() + fm.descent();
    int em = f.pixelSize() > 0 ? f.pixelSize() : tm.tmHeight;
    tm.tmInternalLeading = std::max(0, tm.tmHeight - em);
    tm.tmExternalLeading = std::max(0, fm.leading());
    tm.tmAveCharWidth = fm.averageCharWidth();
    tm.tmMaxCharWidth = fm.maxWidth();
    tm.tmWeight = f.bold() ? 700 : 400;
    tm.tmItalic = f.italic();
    tm.tmUnderlined = f.underline();
    tm.tmStruckOut = f.strikeOut();
    tm.tmPitchAndFamily = f.fixedPitch() ? 0 : 1;
    return true;
}

namespace {

QString Part(const std::string& text, int count)
{
    return AnsiToQString(count < 0 ? text : text.substr(0, std::size_t(std::min<int>(count, int(text.size())))));
}

QString Part(const std::u16string& text, int count)
{
    const std::size_t n = count < 0 ? text.size() : std::min<std::size_t>(std::size_t(count), text.size());
    return QString::fromUtf16(text.data(), qsizetype(n));
}

bool TextExtent(HDC dc, const QString& s, TSize& size)
{
    if (!dc) return false;
    if (dc->Scaled()) {
        DeviceSpace ds(*dc);
        TextExtent(dc, s, size);
        size = {ds.LogicalX(size.cx), ds.LogicalY(size.cy)};
        return true;
    }
    // Controls measure the same captions again and again (a height is the extent of "Wg"):
    // the width is kept with the run, as drawing it keeps it.
    const QFont f = DCFont(*dc);
    QFontMetrics fm(f);
    size.cx = RunWidth(f, fm, s);
    size.cy = fm.height();
    return true;
}

bool TextOutQ(HDC dc, int x, int y, UINT options, const TRect* rect, const QString& qs, const int* dx);
int DrawTextQ(HDC dc, const QString& raw, TRect* rect, UINT fmt);

}  // namespace

bool GetTextExtentPoint32(HDC dc, const std::string& text, int count, TSize& size)
{
    return TextExtent(dc, Part(text, count), size);
}

bool GetTextExtentPoint32W(HDC dc, const std::u16string& text, int count, TSize& size)
{
    return TextExtent(dc, Part(text, count), size);
}

void DCRecorder::TextW(DeviceContext& dc, TPoint p, UINT options, const TRect* clip, const std::u16string& text,
                       const int* dx)
{
    Text(dc, p, options, clip, QStringToAnsi(QString::fromStdU16String(text)), dx);
}

bool ExtTextOut(HDC dc, int x, int y, UINT options, const TRect* rect, const std::string& text, int count,
                const int* dx)
{
    return TextOutQ(dc, x, y, options, rect, Part(text, count), dx);
}

bool ExtTextOutW(HDC dc, int x, int y, UINT options, const TRect* rect, const std::u16string& text, int count,
                 const int* dx)
{
    return TextOutQ(dc, x, y, options, rect, Part(text, count), dx);
}

namespace {

bool TextOutQ(HDC dc, int x, int y, UINT options, const TRect* rect, const QString& qs, const int* dx)
{
    if (!dc) return false;
    if (dc->Scaled() && !InPath(*dc)) {
        // Upright text at the mapped point in the scaled font. Vertically it is aligned on
        // the device; on a mirrored x axis the text's box runs the logical way from the
        // point (to the device's left for TA_LEFT), so runs set side by side stay apart.
        const bool updateCP = dc->textAlign & TA_UPDATECP;
        const QPoint d = updateCP ? dc->ToDevice(dc->penPos.x(), dc->penPos.y()) : dc->ToDevice(x, y);
        TRect box;
        if (rect) box = DeviceBox(*dc, rect->Left, rect->Top, rect->Right, rect->Bottom);
        std::vector<int> spacing;
        if (dx)
            for (int i = 0; i < int(qs.size()); ++i)
                spacing.push_back(int(std::lround(dx[i] * std::abs(dc->ScaleX()))));
        const bool mirrored = dc->ScaleX() < 0;
        const QPoint logicalPen = dc->penPos;
        int advance = 0;
        {
            DeviceSpace ds(*dc);
            QPoint at = d;
            if (mirrored) {
                int w = 0;
                if (dx) for (int v : spacing) w += v;
                else w = QFontMetrics(DCFont(*dc)).horizontalAdvance(qs);
                const UINT h = dc->textAlign & 6;
                if (h == TA_LEFT) at.rx() -= w;
                else if (h == TA_RIGHT) at.rx() += w;
            }
            dc->penPos = at;
            TextOutQ(dc, at.x(), at.y(), options, rect ? &box : nullptr, qs, dx ? spacing.data() : nullptr);
            advance = ds.LogicalX(dc->penPos.x() - at.x());
        }
        dc->penPos = updateCP ? QPoint(logicalPen.x() + advance, logicalPen.y()) : logicalPen;
        return true;
    }
    QFont f = DCFont(*dc);
    QFontMetrics fm(f);
    if (dc->textAlign & TA_UPDATECP) {
        x = dc->penPos.x();
        y = dc->penPos.y();
    }
    int w = 0;
    if (dx) {
        for (int i = 0; i < int(qs.size()); ++i) w += dx[i];
    } else {
        w = RunWidth(f, fm, qs);
    }
    UINT h = dc->textAlign & 6, v = dc->textAlign & 24;
    int left = h == TA_CENTER ? x - w / 2 : h == TA_RIGHT ? x - w : x;
    int top = v == TA_BASELINE ? y - fm.ascent() : v == TA_BOTTOM ? y - fm.height() : y;
    if (dc->textAlign & TA_UPDATECP) dc->penPos.setX(h == TA_RIGHT ? x - w : h == TA_CENTER ? x : x + w);
    if (InPath(*dc)) {
        PathText(*dc, QPointF(left, top), qs, f, dx);
        return true;
    }
    if (dc->recorder) dc->recorder->TextW(*dc, {left, top}, options, rect, qs.toStdU16String(), dx);
    Mute mute(*dc);
    std::optional<QRegion> savedClip = dc->clip;
    if (rect && (options & ETO_OPAQUE)) FillRect(dc, *rect, dc->bkColor);
    if (rect && (options & ETO_CLIPPED)) IntersectClipRect(dc, rect->Left, rect->Top, rect->Right, rect->Bottom);
    if (dx) {
        int cx = left;
        for (int i = 0; i < qs.size(); ++i) {
            DrawTextRun(*dc, cx, top, QString(qs.at(i)), f, dc->bkMode == OPAQUE);
            cx += dx[i];
        }
    } else {
        DrawTextRun(*dc, left, top, qs, f, dc->bkMode == OPAQUE, -1, w);
    }
    dc->clip = savedClip;
    return true;
}

}  // namespace

bool TextOut(HDC dc, int x, int y, const std::string& text, int count)
{
    return ExtTextOut(dc, x, y, 0, nullptr, text, count);
}

bool TextOutW(HDC dc, int x, int y, const std::u16string& text, int count)
{
    return ExtTextOutW(dc, x, y, 0, nullptr, text, count);
}

namespace {

struct TextLayout {
    const QFont& font;
    const QFontMetrics& fm;
    bool expandTabs;
    int tabWidth;

    int Width(const QString& s) const
    {
        if (!expandTabs || !s.contains('\t')) return RunWidth(font, fm, s);
        int x = 0;
        const auto parts = s.split('\t');
        for (int i = 0; i < parts.size(); ++i) {
            x += RunWidth(font, fm, parts[i]);
            if (i + 1 < parts.size()) x = (x / tabWidth + 1) * tabWidth;
        }
        return x;
    }
};

// Cuts s so that s + "..." fits width.
// The largest n in [0, maxLen] for which fits(n) holds, fits being true up to some
// length and false after it; a binary search, so long texts cost few measurements.
template <class Fits>
int LongestFitting(int maxLen, Fits fits)
{
    int lo = 0, hi = maxLen;
    while (lo < hi) {
        const int mid = lo + (hi - lo + 1) / 2;
        if (fits(mid)) lo = mid;
        else hi = mid - 1;
    }
    return lo;
}

QString WithEllipsis(const TextLayout& lay, const QString& s, int width)
{
    if (lay.Width(s) <= width) return s;
    const QString dots = QStringLiteral("...");
    const int n = LongestFitting(int(s.size()) - 1, [&](int k) { return lay.Width(s.left(k) + dots) <= width; });
    return s.left(n) + dots;
}

QString WithPathEllipsis(const TextLayout& lay, const QString& s, int width)
{
    if (lay.Width(s) <= width) return s;
    int slash = int(s.lastIndexOf('\\'));
    if (slash < 0) slash = int(s.lastIndexOf('/'));
    if (slash < 0) return WithEllipsis(lay, s, width);
    const QString head = s.left(slash), tail = s.mid(slash);
    const QString dots = QStringLiteral("...");
    const int n = LongestFitting(int(head.size()), [&](int k) { return lay.Width(head.left(k) + dots + tail) <= width; });
    return head.left(n) + dots + tail;
}

}  // namespace

int DrawTextEx(HDC dc, const std::string& text, int count, TRect* rect, UINT fmt, void*)
{
    return DrawText(dc, text, count, rect, fmt);
}

int DrawText(HDC dc, const std::string& text, int count, TRect* rect, UINT fmt)
{
    return DrawTextQ(dc, Part(text, count), rect, fmt);
}

int DrawTextW(HDC dc, const std::u16string& text, int count, TRect* rect, UINT fmt)
{
    return DrawTextQ(dc, Part(text, count), rect, fmt);
}

namespace {

int DrawTextQ(HDC dc, const QString& raw, TRect* rect, UINT fmt)
{
    if (!dc || !rect) return 0;
    if (dc->Scaled()) {
        // Laid out on the device in the mapped rectangle; a measured rectangle keeps its
        // left and top, grows to the logical right (text runs that way, see ExtTextOut)
        // and down the device.
        TRect box = DeviceBox(*dc, rect->Left, rect->Top, rect->Right, rect->Bottom);
        const int dirX = dc->ScaleX() < 0 ? -1 : 1, dirY = dc->ScaleY() < 0 ? -1 : 1;
        // On a mirrored x axis the logical left side is the device's right one.
        if (dirX < 0 && !(fmt & DT_CENTER)) fmt ^= DT_RIGHT;
        DeviceSpace ds(*dc);
        const int h = DrawTextQ(dc, raw, &box, fmt);
        if (fmt & DT_CALCRECT) {
            rect->Right = rect->Left + ds.LogicalX(box.Right - box.Left);
            rect->Bottom = rect->Top + dirY * ds.LogicalY(box.Bottom - box.Top);
        }
        return ds.LogicalY(h);
    }

    // Prefix characters: "&x" underlines x, "&&" is one ampersand.
    QString s;
    int underline = -1;
    if (fmt & DT_NOPREFIX) {
        s = raw;
    } else {
        for (int i = 0; i < raw.size(); ++i) {
            if (raw[i] == '&' && i + 1 < raw.size()) {
                ++i;
                if (raw[i] != '&' && underline < 0) underline = int(s.size());
            } else if (raw[i] == '&') {
                continue;
            }
            s.append(raw[i]);
        }
        if (fmt & DT_HIDEPREFIX) underline = -1;
    }

    if (s.isEmpty()) {
        // Nothing to draw or measure: no line either.
        if (fmt & DT_CALCRECT) {
            rect->Right = rect->Left;
            rect->Bottom = rect->Top;
        }
        return 0;
    }

    QFont f = DCFont(*dc);
    QFontMetrics fm(f);
    TextLayout lay{f, fm, bool(fmt & DT_EXPANDTABS), std::max(1, fm.averageCharWidth()) * 8};
    int lineHeight = fm.height();
    if (fmt & DT_EXTERNALLEADING) lineHeight += std::max(0, fm.leading());
    const int width = rect->Right - rect->Left;

    // Lines, each with the index in s of its first character (for the prefix mark).
    struct Line {
        QString text;
        int start;
    };
    std::vector<Line> lines;
    if (fmt & DT_SINGLELINE) {
        QString one;
        for (QChar c : s)
            if (c != '\r' && c != '\n') one.append(c);
        lines.push_back({one, 0});
    } else {
        int i = 0;
        const int n = int(s.size());
        while (true) {
            int j = i;
            while (j < n && s[j] != '\r' && s[j] != '\n') ++j;
            QString para = s.mid(i, j - i);
            if ((fmt & DT_WORDBREAK) && lay.Width(para) > width) {
                int pos = 0;
                while (pos < para.size()) {
                    // Take words while they fit; a word wider than the box stands alone.
                    int end = pos, lastFit = -1;
                    while (end < para.size()) {
                        int we = end;
                        while (we < para.size() && para[we] == ' ') ++we;
                        while (we < para.size() && para[we] != ' ') ++we;
                        const bool fits = lay.Width(para.mid(pos, we - pos)) <= width;
                        if (!fits && lastFit >= 0) break;
                        lastFit = we;
                        end = we;
                        if (!fits) break;
                    }
                    QString piece = para.mid(pos, lastFit - pos);
                    while (piece.endsWith(' ')) piece.chop(1);
                    lines.push_back({piece, i + pos});
                    pos = lastFit;
                    while (pos < para.size() && para[pos] == ' ') ++pos;
                }
                if (para.isEmpty()) lines.push_back({para, i});
            } else {
                lines.push_back({para, i});
            }
            if (j >= n) break;
            if (s[j] == '\r' && j + 1 < n && s[j + 1] == '\n') ++j;
            i = j + 1;
        }
    }

    if (fmt & (DT_END_ELLIPSIS | DT_WORD_ELLIPSIS | DT_PATH_ELLIPSIS))
        for (auto& l : lines)
            l.text = (fmt & DT_PATH_ELLIPSIS) ? WithPathEllipsis(lay, l.text, width) : WithEllipsis(lay, l.text, width);

    const int total = lineHeight * int(lines.size());
    if (fmt & DT_CALCRECT) {
        int maxW = 0;
        for (const auto& l : lines) maxW = std::max(maxW, lay.Width(l.text));
        rect->Right = rect->Left + maxW;
        rect->Bottom = rect->Top + total;
        return total;
    }

    int y = rect->Top;
    if (fmt & DT_SINGLELINE) {
        if (fmt & DT_VCENTER) y = rect->Top + (rect->Bottom - rect->Top - lineHeight) / 2;
        else if (fmt & DT_BOTTOM) y = rect->Bottom - lineHeight;
    }
    const int result = (fmt & DT_SINGLELINE) && (fmt & (DT_VCENTER | DT_BOTTOM)) ? y - rect->Top + lineHeight : total;

    DCRecorder* rec = dc->recorder;
    Mute mute(*dc);
    const UINT runOptions = (fmt & DT_NOCLIP) ? 0u : UINT(ETO_CLIPPED);
    auto record = [&](int rx, int ry, const QString& t) {
        if (rec) rec->TextW(*dc, {rx, ry}, runOptions, runOptions ? rect : nullptr, t.toStdU16String(), nullptr);
    };
    std::optional<QRegion> savedClip = dc->clip;
    if (!(fmt & DT_NOCLIP)) IntersectClipRect(dc, rect->Left, rect->Top, rect->Right, rect->Bottom);
    const bool opaque = dc->bkMode == OPAQUE;
    for (const auto& l : lines) {
        // Left-aligned text needs no width: measuring it would shape it once more.
        int x = rect->Left;
        if (fmt & DT_CENTER) x = rect->Left + (width - lay.Width(l.text)) / 2;
        else if (fmt & DT_RIGHT) x = rect->Right - lay.Width(l.text);
        int ul = underline >= l.start && underline < l.start + l.text.size() ? underline - l.start : -1;
        if (lay.expandTabs && l.text.contains('\t')) {
            int cx = x;
            const auto parts = l.text.split('\t');
            for (int k = 0; k < parts.size(); ++k) {
                record(cx, y, parts[k]);
                DrawTextRun(*dc, cx, y, parts[k], f, opaque);
                cx += fm.horizontalAdvance(parts[k]);
                if (k + 1 < parts.size()) cx = x + ((cx - x) / lay.tabWidth + 1) * lay.tabWidth;
            }
        } else {
            record(x, y, l.text);
            DrawTextRun(*dc, x, y, l.text, f, opaque, ul);
        }
        y += lineHeight;
    }
    dc->clip = savedClip;
    return result;
}

}  // namespace

}  // namespace platform
