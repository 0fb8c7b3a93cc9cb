// The rich-text document on the host's text document. The host format carries the RTF
// names and sizes as properties of its own, so that what was read is written back as it
// came, whatever font the host draws it with.
#include <QAbstractTextDocumentLayout>
#include <QPalette>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextLayout>

#include <algorithm>
#include <cmath>

#include "platform/graphics/RichText.h"
#include "platform/Private.h"

namespace platform {

namespace {

enum : int {
    kFontName = QTextFormat::UserProperty + 1,
    kHalfPoints = QTextFormat::UserProperty + 2,
    kOffset = QTextFormat::UserProperty + 3
};

int PixelsOf(int halfPoints) { return std::max(1, int(std::lround(halfPoints * 2 / 3.0))); }

QString Utf8ToQ(const std::string& s) { return QString::fromUtf8(s.data(), qsizetype(s.size())); }

std::string QToUtf8(const QString& s)
{
    const QByteArray b = s.toUtf8();
    return std::string(b.constData(), std::size_t(b.size()));
}

// Layout happens at 96 pixels per inch, as the device contexts draw.
QPaintDevice* LayoutDevice()
{
    static QImage* image = [] {
        auto* i = new QImage(1, 1, QImage::Format_RGB32);
        i->setDotsPerMeterX(3780);
        i->setDotsPerMeterY(3780);
        return i;
    }();
    return image;
}

}  // namespace

struct TRichDocument::Impl {
    QTextDocument doc;
    const TRichCharFormat* defaults = nullptr;
    long notices = 0;  // changes the layout has been told of

    QTextCharFormat ToQt(const TRichCharFormat& f) const
    {
        QTextCharFormat q;
        TFontStyles st = 0;
        if (f.Bold) st |= fsBold;
        if (f.Italic) st |= fsItalic;
        if (f.Underline) st |= fsUnderline;
        const std::string& name = f.FontName.empty() ? defaults->FontName : f.FontName;
        q.setFont(MakeQFont(name, -PixelsOf(f.HalfPoints), st, fpDefault));
        q.setProperty(kFontName, Utf8ToQ(f.FontName));
        q.setProperty(kHalfPoints, f.HalfPoints);
        q.setProperty(kOffset, f.Offset);
        if (f.Offset) q.setVerticalAlignment(f.Offset > 0 ? QTextCharFormat::AlignSuperScript : QTextCharFormat::AlignSubScript);
        if (f.Color != clNone) q.setForeground(ToQColor(ColorToRGB(f.Color)));
        return q;
    }

    TRichCharFormat FromQt(const QTextCharFormat& q) const
    {
        TRichCharFormat f = *defaults;
        if (q.hasProperty(kFontName)) f.FontName = QToUtf8(q.stringProperty(kFontName));
        if (q.hasProperty(kHalfPoints)) f.HalfPoints = q.intProperty(kHalfPoints);
        f.Bold = q.fontWeight() >= QFont::Bold;
        f.Italic = q.fontItalic();
        f.Underline = q.fontUnderline();
        if (q.hasProperty(kOffset)) f.Offset = q.intProperty(kOffset);
        if (q.hasProperty(QTextFormat::ForegroundBrush)) f.Color = TColor(FromQRgb(q.foreground().color().rgb()));
        return f;
    }

    static QTextBlockFormat Block(TRichAlign a)
    {
        QTextBlockFormat b;
        b.setAlignment(a == TRichAlign::Center  ? Qt::AlignHCenter
                       : a == TRichAlign::Right ? Qt::AlignRight
                       : a == TRichAlign::Justify ? Qt::AlignJustify
                                                  : Qt::AlignLeft);
        return b;
    }
    static TRichAlign Align(const QTextBlockFormat& b)
    {
        const Qt::Alignment a = b.alignment() & Qt::AlignHorizontal_Mask;
        if (a & Qt::AlignHCenter) return TRichAlign::Center;
        if (a & Qt::AlignJustify) return TRichAlign::Justify;
        if (a & Qt::AlignRight) return TRichAlign::Right;
        return TRichAlign::Left;
    }

    void Layout() { (void)doc.size(); }

    QTextLine LineAt(int pos, QTextBlock& block)
    {
        Layout();
        block = doc.findBlock(std::clamp(pos, 0, int(doc.characterCount()) - 1));
        if (!block.isValid() || !block.layout()) return QTextLine();
        return block.layout()->lineForTextPosition(pos - block.position());
    }
};

TRichDocument::TRichDocument() : d_(std::make_unique<Impl>())
{
    d_->defaults = &default_;
    default_.FontName = "Arial";
    default_.HalfPoints = 20;
    d_->doc.setDocumentMargin(0);
    d_->doc.setUndoRedoEnabled(false);
    QObject::connect(&d_->doc, &QTextDocument::contentsChange, [d = d_.get()](int, int, int) { ++d->notices; });
    d_->doc.documentLayout()->setPaintDevice(LayoutDevice());
    SetDefaultFormat(default_.FontName, default_.HalfPoints);
}

TRichDocument::~TRichDocument() = default;

void TRichDocument::SetDefaultFormat(const std::string& fontName, int halfPoints)
{
    default_.FontName = fontName;
    default_.HalfPoints = std::max(1, halfPoints);
    d_->doc.setDefaultFont(MakeQFont(fontName, -PixelsOf(default_.HalfPoints), 0, fpDefault));
}

bool TRichDocument::LoadRTF(const std::string& rtf, std::string* error)
{
    TRichContent c;
    if (!ReadRTF(rtf, c, error)) return false;
    SetContent(c);
    return true;
}

std::string TRichDocument::SaveRTF() const { return WriteRTF(Content(), default_.FontName); }

void TRichDocument::SetContent(const TRichContent& content)
{
    QTextDocument& doc = d_->doc;
    doc.clear();
    QTextCursor cur(&doc);
    // One edit: the layout hears of the change once, not once per run.
    cur.beginEditBlock();
    for (std::size_t k = 0; k < content.Paragraphs.size(); ++k) {
        const TRichParagraph& p = content.Paragraphs[k];
        if (k == 0) {
            cur.setBlockFormat(Impl::Block(p.Align));
            cur.setBlockCharFormat(d_->ToQt(p.Mark));
        } else {
            cur.insertBlock(Impl::Block(p.Align), d_->ToQt(p.Mark));
        }
        for (const TRichRun& r : p.Runs) {
            QString t = Utf8ToQ(r.Text);
            t.replace(QChar('\r'), QString());
            t.replace(QChar('\n'), QChar(QChar::LineSeparator));
            if (!t.isEmpty()) cur.insertText(t, d_->ToQt(r.Format));
        }
    }
    cur.endEditBlock();
}

TRichContent TRichDocument::Content() const
{
    TRichContent c;
    for (QTextBlock b = d_->doc.begin(); b.isValid(); b = b.next()) {
        c.Paragraphs.emplace_back();
        TRichParagraph& p = c.Paragraphs.back();
        p.Align = Impl::Align(b.blockFormat());
        p.Mark = d_->FromQt(b.charFormat());
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            const QTextFragment f = it.fragment();
            if (!f.isValid()) continue;
            QString t = f.text();
            t.replace(QChar(QChar::LineSeparator), QChar('\n'));
            c.Append(d_->FromQt(f.charFormat()), QToUtf8(t));
        }
    }
    if (c.Paragraphs.empty()) c.Paragraphs.emplace_back();
    return c;
}

void TRichDocument::SetPlainText(const std::string& text)
{
    d_->doc.clear();
    Insert(0, text, &default_);
}

std::string TRichDocument::PlainText() const { return Text(0, Length()); }

void TRichDocument::Clear()
{
    d_->doc.clear();
    QTextCursor cur(&d_->doc);
    cur.setBlockCharFormat(d_->ToQt(default_));
}

bool TRichDocument::Empty() const { return Length() == 0; }

void TRichDocument::SetWrapWidth(int width)
{
    wrapWidth_ = std::max(0, width);
    d_->doc.setTextWidth(wrapWidth_ > 0 ? wrapWidth_ : -1);
}

TSize TRichDocument::ContentSize() const
{
    d_->Layout();
    const QSizeF s = d_->doc.documentLayout()->documentSize();
    int w = int(std::ceil(d_->doc.idealWidth()));
    if (wrapWidth_ > 0) w = std::min(w, wrapWidth_);
    return {w, int(std::ceil(s.height()))};
}

// A DC without a surface (a printer page, a metafile, a recording) gets the laid-out
// text as text calls, piece by piece at the places the layout gave them.
void TRichDocument::DrawAsText(DeviceContext* dc, const TRect& rect, TColor textColor, TColor forceColor) const
{
    d_->Layout();
    const int saved = SaveDC(dc);
    IntersectClipRect(dc, rect.Left, rect.Top, rect.Right, rect.Bottom);
    SetBkMode(dc, TRANSPARENT);
    SetTextAlign(dc, TA_LEFT | TA_BASELINE);
    for (QTextBlock b = d_->doc.begin(); b.isValid(); b = b.next()) {
        const QTextLayout* l = b.layout();
        if (!l) continue;
        const QPointF o = l->position();
        for (int i = 0; i < l->lineCount(); ++i) {
            const QTextLine line = l->lineAt(i);
            const int from = line.textStart(), to = from + line.textLength();
            const int base = rect.Top + int(std::lround(o.y() + line.y() + line.ascent()));
            for (auto it = b.begin(); !it.atEnd(); ++it) {
                const QTextFragment f = it.fragment();
                const int fs = f.position() - b.position(), fe = fs + f.length();
                const QTextCharFormat cf = f.charFormat();
                dc->font = cf.font();
                const TRichCharFormat rf = d_->FromQt(cf);
                const TColor color = forceColor != clNone ? forceColor : rf.Color != clNone ? rf.Color : textColor;
                SetTextColor(dc, ColorToRGB(color));
                const int shift = -int(std::lround(rf.Offset * 96 / 1440.0));
                // Pieces between tabs and line breaks, each at its own place.
                int k = std::max(fs, from);
                while (k < std::min(fe, to)) {
                    int e = k;
                    while (e < std::min(fe, to) && b.text().at(e) != QChar('\t') && b.text().at(e) != QChar(QChar::LineSeparator))
                        ++e;
                    if (e > k) {
                        const int x = rect.Left + int(std::lround(o.x() + line.cursorToX(k)));
                        const std::string piece = QStringToAnsi(b.text().mid(k, e - k));
                        ExtTextOut(dc, x, base + shift, 0, nullptr, piece, int(piece.size()));
                    }
                    k = e + 1;
                }
            }
        }
    }
    RestoreDC(dc, saved);
}

void TRichDocument::Draw(DeviceContext* dc, const TRect& rect, TColor textColor, TColor forceColor, int selStart,
                         int selLength) const
{
    QPainter p;
    if (!dc || rect.Right <= rect.Left || rect.Bottom <= rect.Top) return;
    if (!dc->image && dc->recorder) {
        DrawAsText(dc, rect, textColor, forceColor);
        return;
    }
    if (!dc->BeginDevice(p)) return;
    d_->Layout();
    p.setRenderHint(QPainter::TextAntialiasing, true);
    // Upright at the mapped place, whatever the mapping mirrors.
    const QRect at = dc->ToDeviceRect(ToQRect(rect));
    p.translate(at.left(), at.top());
    const QRectF box(0, 0, at.width(), at.height());
    p.setClipRect(box, Qt::IntersectClip);
    QAbstractTextDocumentLayout::PaintContext ctx;
    ctx.palette.setColor(QPalette::Text, ToQColor(ColorToRGB(textColor)));
    ctx.clip = box;
    if (forceColor != clNone) {
        QAbstractTextDocumentLayout::Selection all;
        all.cursor = QTextCursor(&d_->doc);
        all.cursor.select(QTextCursor::Document);
        all.format.setForeground(ToQColor(ColorToRGB(forceColor)));
        ctx.selections.append(all);
    }
    if (selLength > 0) {
        QAbstractTextDocumentLayout::Selection sel;
        sel.cursor = QTextCursor(&d_->doc);
        sel.cursor.setPosition(std::clamp(selStart, 0, Length()));
        sel.cursor.setPosition(std::clamp(selStart + selLength, 0, Length()), QTextCursor::KeepAnchor);
        sel.format.setBackground(ToQColor(ColorToRGB(clHighlight)));
        sel.format.setForeground(ToQColor(ColorToRGB(clHighlightText)));
        ctx.selections.append(sel);
    }
    d_->doc.documentLayout()->draw(&p, ctx);
    p.end();
    dc->Drawn(at);
}

int TRichDocument::Length() const { return std::max(0, int(d_->doc.characterCount()) - 1); }

std::string TRichDocument::Text(int start, int length) const
{
    const int n = Length();
    start = std::clamp(start, 0, n);
    length = std::clamp(length, 0, n - start);
    QTextCursor cur(&d_->doc);
    cur.setPosition(start);
    cur.setPosition(start + length, QTextCursor::KeepAnchor);
    QString t = cur.selectedText();
    t.replace(QChar(QChar::ParagraphSeparator), QStringLiteral("\r\n"));
    t.replace(QChar(QChar::LineSeparator), QChar('\n'));
    t.replace(QChar(QChar::Nbsp), QChar(0xA0));
    return QStringToAnsi(t);
}

void TRichDocument::Insert(int pos, const std::string& text, const TRichCharFormat* format)
{
    QString t = AnsiToQString(text);
    t.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    t.replace(QChar('\r'), QChar('\n'));
    QTextCursor cur(&d_->doc);
    cur.setPosition(std::clamp(pos, 0, Length()));
    const QTextCharFormat f = format ? d_->ToQt(*format) : cur.charFormat();
    // Each line a paragraph of its own, in the same format; one edit for the layout.
    const QStringList lines = t.split(QChar('\n'));
    cur.beginEditBlock();
    for (qsizetype k = 0; k < lines.size(); ++k) {
        if (k) cur.insertBlock(cur.blockFormat(), f);
        if (!lines[k].isEmpty()) cur.insertText(lines[k], f);
    }
    cur.endEditBlock();
}

long TRichDocument::LayoutNotices() const { return d_->notices; }

void TRichDocument::Remove(int start, int length)
{
    const int n = Length();
    start = std::clamp(start, 0, n);
    length = std::clamp(length, 0, n - start);
    if (!length) return;
    QTextCursor cur(&d_->doc);
    cur.setPosition(start);
    cur.setPosition(start + length, QTextCursor::KeepAnchor);
    cur.removeSelectedText();
}

TRichCharFormat TRichDocument::FormatAt(int pos) const
{
    QTextCursor cur(&d_->doc);
    pos = std::clamp(pos, 0, Length());
    cur.setPosition(pos);
    if (pos == 0 && Length() > 0 && !cur.atBlockEnd()) cur.setPosition(1);
    return d_->FromQt(cur.charFormat());
}

void TRichDocument::ApplyFormat(int start, int length, const TRichCharFormat& f, unsigned mask)
{
    QTextCursor cur(&d_->doc);
    cur.setPosition(std::clamp(start, 0, Length()));
    cur.setPosition(std::clamp(start + length, 0, Length()), QTextCursor::KeepAnchor);
    QTextCharFormat q;
    if (mask & rfFont) {
        q.setProperty(kFontName, Utf8ToQ(f.FontName));
        q.setFontFamilies({QString::fromStdString(MapFontFamily(f.FontName.empty() ? default_.FontName : f.FontName))});
    }
    if (mask & rfSize) {
        q.setProperty(kHalfPoints, std::max(1, f.HalfPoints));
        q.setProperty(QTextFormat::FontPixelSize, PixelsOf(std::max(1, f.HalfPoints)));
    }
    if (mask & rfBold) q.setFontWeight(f.Bold ? QFont::Bold : QFont::Normal);
    if (mask & rfItalic) q.setFontItalic(f.Italic);
    if (mask & rfUnderline) q.setFontUnderline(f.Underline);
    if ((mask & rfColor) && f.Color != clNone) q.setForeground(ToQColor(ColorToRGB(f.Color)));
    if (mask & rfOffset) {
        q.setProperty(kOffset, f.Offset);
        q.setVerticalAlignment(f.Offset > 0   ? QTextCharFormat::AlignSuperScript
                               : f.Offset < 0 ? QTextCharFormat::AlignSubScript
                                              : QTextCharFormat::AlignNormal);
    }
    cur.mergeCharFormat(q);
    if ((mask & rfColor) && f.Color == clNone) {
        // The automatic colour: the host format loses its own.
        for (int k = cur.selectionStart(); k < cur.selectionEnd(); ++k) {
            QTextCursor one(&d_->doc);
            one.setPosition(k);
            one.setPosition(k + 1, QTextCursor::KeepAnchor);
            QTextCharFormat c = one.charFormat();
            c.clearForeground();
            one.setCharFormat(c);
        }
    }
}

void TRichDocument::SetOffset(int start, int length, int offset)
{
    TRichCharFormat f;
    f.Offset = offset;
    ApplyFormat(start, length, f, rfOffset);
}

void TRichDocument::SetColor(int start, int length, TColor color)
{
    TRichCharFormat f;
    f.Color = color;
    ApplyFormat(start, length, f, rfColor);
}

int TRichDocument::PositionAt(TPoint p) const
{
    d_->Layout();
    const int pos = d_->doc.documentLayout()->hitTest(QPointF(p.X, p.Y), Qt::FuzzyHit);
    return std::clamp(pos, 0, Length());
}

TRect TRichDocument::CaretRect(int pos) const
{
    QTextBlock b;
    const QTextLine line = d_->LineAt(pos, b);
    if (!line.isValid()) {
        const QFontMetrics fm(d_->doc.defaultFont());
        return {0, 0, 1, fm.height()};
    }
    const QPointF o = b.layout()->position();
    const int x = int(std::lround(o.x() + line.cursorToX(pos - b.position())));
    const int y = int(std::lround(o.y() + line.y()));
    return {x, y, x + 1, y + int(std::ceil(line.height()))};
}

int TRichDocument::LineOf(int pos) const
{
    QTextBlock b;
    const QTextLine line = d_->LineAt(pos, b);
    int n = 0;
    for (QTextBlock k = d_->doc.begin(); k.isValid() && k != b; k = k.next())
        n += k.layout() ? k.layout()->lineCount() : 1;
    return n + (line.isValid() ? line.lineNumber() : 0);
}

int TRichDocument::PositionInLine(int line, int x) const
{
    d_->Layout();
    if (line < 0) return -1;
    for (QTextBlock b = d_->doc.begin(); b.isValid(); b = b.next()) {
        const int count = b.layout() ? b.layout()->lineCount() : 0;
        if (line < count) {
            const QTextLine l = b.layout()->lineAt(line);
            return b.position() + l.xToCursor(x - b.layout()->position().x());
        }
        line -= count;
    }
    return -1;
}

int TRichDocument::LineStart(int pos) const
{
    QTextBlock b;
    const QTextLine line = d_->LineAt(pos, b);
    return line.isValid() ? b.position() + line.textStart() : pos;
}

int TRichDocument::LineEnd(int pos) const
{
    QTextBlock b;
    const QTextLine line = d_->LineAt(pos, b);
    if (!line.isValid()) return pos;
    int end = b.position() + line.textStart() + line.textLength();
    // A wrapped line ends before the space it broke at.
    if (line.lineNumber() + 1 < b.layout()->lineCount() && end > b.position() + line.textStart()) --end;
    return end;
}

}  // namespace platform
