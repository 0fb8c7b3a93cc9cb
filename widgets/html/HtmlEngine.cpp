#include "widgets/html/HtmlEngine.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <numbers>
#include <string>
#include <system_error>
#include <utility>
#include <vector>

#include "platform/controls/FrameControl.h"
#include "platform/graphics/GDI.h"
#include "platform/graphics/Graphics.h"
#include "platform/graphics/ImageList.h"
#include "platform/system/ShellIcons.h"
#include "widgets/html/HtmlText.h"
#include "widgets/html/PictureContainer.h"
#include "widgets/html/TextSizeCache.h"
#include "widgets/html/ThemeApi.h"

namespace html {
namespace {

using namespace platform;

constexpr std::size_t npos = std::string::npos;
// Points of the FONT SIZE values 1 to 5; larger sizes are capped so that a stray
// number cannot ask the host for an enormous font.
constexpr int kFontSizes[] = {8, 10, 12, 14, 16};
constexpr int kMaxPointSize = 1000;
// Sizes and offsets from markup are bounded: a stray number must not make the host
// allocate a picture of gigapixels or overflow the line arithmetic.
constexpr int kMaxOffset = 32767;
constexpr int kMaxPictureSide = 4096;

int Bounded(int v, int limit) { return std::clamp(v, -limit, limit); }

char UpperChar(char c) { return (c >= 'a' && c <= 'z') ? char(c - 32) : c; }
char LowerChar(char c) { return (c >= 'A' && c <= 'Z') ? char(c + 32) : c; }

std::string Upper(std::string_view s)
{
    std::string r(s);
    for (char& c : r) c = UpperChar(c);
    return r;
}

std::string Lower(std::string_view s)
{
    std::string r(s);
    for (char& c : r) c = LowerChar(c);
    return r;
}

bool StartsWith(std::string_view s, std::string_view prefix) { return s.substr(0, prefix.size()) == prefix; }

// The name of a tag: what follows "<" or "</" up to a blank, a "/" or the ">".
std::string_view TagName(std::string_view tag)
{
    const std::size_t from = tag.size() > 1 && tag[1] == '/' ? 2 : 1;
    if (tag.size() <= from) return {};
    const std::size_t end = tag.find_first_of(" \t\r\n/>", from);
    return tag.substr(from, (end == npos ? tag.size() : end) - from);
}

bool Contains(std::string_view s, std::string_view sub) { return s.find(sub) != std::string_view::npos; }

std::size_t FindNoCase(std::string_view hay, std::string_view needle, std::size_t from = 0)
{
    if (needle.empty() || hay.size() < needle.size()) return npos;
    for (std::size_t i = from; i + needle.size() <= hay.size(); ++i) {
        std::size_t k = 0;
        while (k < needle.size() && UpperChar(hay[i + k]) == UpperChar(needle[k])) ++k;
        if (k == needle.size()) return i;
    }
    return npos;
}

// The text between the first double quote at or after from and the next one; empty
// without quotes.
std::string QuotedFrom(std::string_view tag, std::size_t from)
{
    std::size_t q1 = tag.find('"', from);
    if (q1 == std::string_view::npos) return {};
    std::size_t q2 = tag.find('"', q1 + 1);
    if (q2 == std::string_view::npos) return {};
    return std::string(tag.substr(q1 + 1, q2 - q1 - 1));
}

// Value of attribute name: the first occurrence counts; found tells whether it is there.
std::string Attr(std::string_view tag, std::string_view name, bool* found = nullptr, bool anyCase = false)
{
    std::size_t p = anyCase ? FindNoCase(tag, name) : tag.find(name);
    if (found) *found = p != std::string_view::npos;
    if (p == std::string_view::npos) return {};
    return QuotedFrom(tag, p + name.size());
}

TColor ParseColor(std::string_view v)
{
    if (!v.empty() && v[0] == '#') return ColorFromHex(v);
    return ColorFromName(Lower(v));
}

int MulDiv(int a, int b, int c)
{
    if (c == 0) return -1;
    long long n = (long long)a * b, d = c;
    if (d < 0) {
        n = -n;
        d = -d;
    }
    return int(n >= 0 ? (n + d / 2) / d : -((-n + d / 2) / d));
}

int RoundHalfEven(double v) { return int(std::nearbyint(v)); }

struct Entity {
    const char* name;
    const char* value;
};

// Entities replaced in the whole text before layout; "&amp;" depends on the variant.
const Entity kEntities[] = {{"&amp;", nullptr},   {"&quot;", "\""},  {"&sect;", "\xA7"},
                            {"&permil;", "\x89"}, {"&reg;", "\xAE"}, {"&copy;", "\xA9"},
                            {"&para;", "\xB6"},   {"&trade;", "\x99"}, {"&euro;", "\x80"}};

// Replacing one entity never makes or breaks another except through the "&" it
// produces, so one scan that looks again at each produced "&" gives what repeating
// the replacements until nothing changes gives.
std::string ReplaceEntities(std::string s, bool prefixAmp)
{
    if (s.find('&') == npos) return s;
    std::string out;
    out.reserve(s.size());
    std::size_t i = 0;
    while (i < s.size()) {
        if (s[i] != '&') {
            out.push_back(s[i++]);
            continue;
        }
        bool replaced = false;
        for (const Entity& e : kEntities) {
            std::string_view name(e.name);
            if (i + name.size() <= s.size() && FindNoCase(std::string_view(s).substr(i, name.size()), name) == 0) {
                std::string value = e.value ? e.value : (prefixAmp ? "&&" : "&");
                s.replace(i, name.size(), value);
                replaced = true;
                break;
            }
        }
        if (replaced) {
            // A produced "&" may start a new entity with what follows; "&&" only at
            // its second character.
            if (s[i] == '&' && i + 1 < s.size() && s[i + 1] == '&') out.push_back(s[i++]);
            if (s[i] != '&') out.push_back(s[i++]);
            continue;
        }
        out.push_back(s[i++]);
    }
    return out;
}

void ReplaceAllNoCase(std::string& s, std::string_view from, std::string_view to)
{
    std::size_t p = FindNoCase(s, from);
    if (p == npos) return;
    std::string out;
    std::size_t last = 0;
    while (p != npos) {
        out.append(s, last, p - last);
        out.append(to);
        last = p + from.size();
        p = FindNoCase(s, from, last);
    }
    out.append(s, last, npos);
    s = std::move(out);
}

std::string PieceEntities(std::string piece)
{
    if (piece.find('&') == npos) return piece;
    ReplaceAllNoCase(piece, "&nbsp;", " ");
    ReplaceAllNoCase(piece, "&lt;", "<");
    ReplaceAllNoCase(piece, "&gt;", ">");
    return piece;
}

// "<#x>" loses its angle brackets; every marker, or only the first.
void RemoveMarkers(std::string& s, bool all)
{
    std::size_t p = s.find("<#");
    while (p != npos) {
        s.erase(p, 1);
        std::size_t gt = s.find('>', p);
        if (gt != npos) s.erase(gt, 1);
        if (!all) break;
        p = s.find("<#", p);
    }
}

// The box a piece in a turned font takes: its text cell turned about the cell's top
// left corner, where the host turns it, and where that corner then lies from the box's
// bottom left.
struct TurnedBox {
    int width = 0, height = 0;
    int originX = 0, originY = 0;
};

TurnedBox TurnBox(TSize cell, int tenths)
{
    const double a = tenths * std::numbers::pi / 1800.0, c = std::cos(a), s = std::sin(a);
    // Counter-clockwise on a surface whose y grows downwards.
    double minX = 0, maxX = 0, minY = 0, maxY = 0;
    for (const auto& [u, v] : {std::pair{cell.cx, 0}, std::pair{0, cell.cy}, std::pair{cell.cx, cell.cy}}) {
        const double x = u * c + v * s, y = -u * s + v * c;
        minX = std::min(minX, x);
        maxX = std::max(maxX, x);
        minY = std::min(minY, y);
        maxY = std::max(maxY, y);
    }
    // Whole pixels, without letting rounding noise of the sine add one.
    auto down = [](double v) { return int(std::floor(v + 1e-6)); };
    auto up = [](double v) { return int(std::ceil(v - 1e-6)); };
    TurnedBox b;
    b.originX = -down(minX);
    b.originY = -up(maxY);
    b.width = up(maxX) - down(minX);
    b.height = up(maxY) - down(minY);
    return b;
}

struct LineCtx {
    TRect lr;  // the line rectangle
    TRect pr;  // the piece rectangle
    TRect pr0;  // where each piece's rectangle starts from
    int lw = 0;
    std::string consumed, placed;
    int trailing = 0;
    bool ended = false, stopped = false, liSeen = false;
    bool drawing = false;
    bool secondPass = false;
};

// What the second pass of a line must start from, and the first pass of the next.
struct PassState {
    bool inLink, hidden, shadow, errorLine, sub, sup;
    std::string ref;
    int linkCount, listLevel, imgCount;
};

class Engine {
public:
    // A mirrored engine lays its lines out from the rectangle's right, as the mirror image
    // of its left-to-right layout, each line still read left to right.
    Engine(const HTMLDrawParams& p, HTMLDrawResult& r, bool mirrored = false)
        : p_(p), r_(r), C(*p.Canvas), mirrored_(mirrored)
    {
    }
    bool Run();

private:
    bool Grid() const { return p_.Variant == HTMLVariant::Grid; }
    bool Tree() const { return p_.Variant == HTMLVariant::Tree; }
    bool Panel() const { return p_.Variant == HTMLVariant::Panel; }
    bool KeepWords() const { return !Tree(); }
    HDC DC() { return C.Handle(); }
    // A text's height depends on the font alone; the host is asked once per font.
    int GH()
    {
        const TFont& f = C.Font();
        if (!heightValid_ || !(f.Name() == heightFont_.Name() && f.Height() == heightFont_.Height() &&
                               f.Style() == heightFont_.Style() && f.Escapement() == heightFont_.Escapement() &&
                               f.Pitch() == heightFont_.Pitch())) {
            heightFont_.Assign(f);
            height_ = TextExtentOf(C, "gh").cy;
            heightValid_ = true;
        }
        return height_;
    }

    PassState Save() const
    {
        return {inLink_, hidden_, shadow_, errorLine_, sub_, sup_, ref_, linkCount_, listLevel_, imgCount_};
    }
    void Restore(const PassState& s)
    {
        inLink_ = s.inLink;
        hidden_ = s.hidden;
        shadow_ = s.shadow;
        errorLine_ = s.errorLine;
        sub_ = s.sub;
        sup_ = s.sup;
        ref_ = s.ref;
        linkCount_ = s.linkCount;
        listLevel_ = s.listLevel;
        imgCount_ = s.imgCount;
    }

    void Line(std::string& s, LineCtx& L);
    int MeasurePiece(const std::string& piece, const LineCtx& L);
    int PieceWidth(const std::string& piece, const TRect& r);
    bool LeavesNoMark(const std::string& piece);
    bool Turned() { return C.Font().Escapement() % 3600 != 0; }
    TurnedBox TurnedPiece(const std::string& piece);
    int DrawTurned(const std::string& piece, const TRect& pr);
    int DrawLevel(const std::string& piece, const TRect& pr);
    std::string ForEllipsis(const std::string& piece, int width);
    void DrawPiece(const std::string& piece, LineCtx& L);
    void ErrorUnderline(int left, int right, int bottom);
    void Tag(const std::string& tag, std::size_t restLen, LineCtx& L);
    void StartTag(const std::string& tag, const std::string& up, std::string_view name, LineCtx& L);
    void EndTag(const std::string& up, std::string_view name, LineCtx& L);
    void EndFont(LineCtx& L);
    void Highlight(LineCtx& L);
    void Rule(LineCtx& L);
    void Indent(const std::string& tag, LineCtx& L);
    void Rotate(const std::string& tag, LineCtx& L);
    void OpenLink(const std::string& tag, LineCtx& L);
    void CloseLink(LineCtx& L);
    void FontTag(const std::string& up, LineCtx& L);
    void ParagraphTag(const std::string& up, LineCtx& L);
    void ListItem(LineCtx& L);
    void Image(const std::string& up, const std::string& tag, LineCtx& L);
    void SystemIcon(const std::string& rest, bool small, LineCtx& L);
    void Control(const std::string& tag, LineCtx& L);
    void Body(const std::string& up, LineCtx& L);
    bool MovesDown(const LineCtx& L) const;
    bool PlaceObject(LineCtx& L);
    bool ObjectUnderPoint(const LineCtx& L) const;
    // Whether the line is where it is drawn: a mirrored line moves to the right after
    // its measuring pass, so only its second pass is hit-tested.
    bool Placed(const LineCtx& L) const { return !mirrored_ || L.secondPass; }
    THTMLPicture* FindPicture(const std::string& src);
    void TilePicture(THTMLPicture* pic);
    void Gradient(TColor from, TColor to, const TRect& r, int steps, bool horizontal, TColor border);
    void ThemedPart(const wchar_t* cls, int part, int state, const TRect& r);
    void Box(const TRect& r);

    TColor BrushSave() { return C.Brush().Style() == bsClear ? clNone : C.Brush().Color(); }
    void SetBrush(TColor c)
    {
        if (c == clNone) C.Brush().SetStyle(bsClear);
        else C.Brush().SetColor(c);
    }
    void AddStyle(TFontStyles s) { C.Font().SetStyle(C.Font().Style() | s); }
    void RemoveStyle(TFontStyles s) { C.Font().SetStyle(C.Font().Style() & ~s); }

    const HTMLDrawParams& p_;
    HTMLDrawResult& r_;
    TCanvas& C;

    TFont base_;
    TFont heightFont_;
    int height_ = 0;
    bool heightValid_ = false;
    TColor startBk_ = clNone;
    UINT flags_ = 0, drawFlags_ = 0;
    bool themed_ = false;
    std::string incomingID_;

    TColor linkBrush_ = clNone, linkFont_ = clNone, fontBg_ = clNone, hiBrush_ = clNone, hiFont_ = clNone,
           parBg_ = clNone;
    bool inLink_ = false, hidden_ = false, shadow_ = false, errorLine_ = false, sub_ = false, sup_ = false,
         parBgActive_ = false, linkMarked_ = false;
    std::string ref_;
    int linkCount_ = 0, imgCount_ = 0, hoverImg_ = -1, listLevel_ = 0;
    // The escapement that </R> puts back, kept for each pass: each pass has its own
    // fonts, and a turned run may end on a later line.
    struct Turn {
        int saved = 0;
        bool active = false;
    } turn_[2];
    TRect focusRect_;
    int linkStartX_ = 0, linkStartTop_ = 0;

    enum Align { alLeft, alRight, alCenter } align_ = alLeft;
    int indent_ = 0;
    bool mirrored_ = false;

    int lineHeight_ = 0, textHeight_ = 0, subShift_ = 0, supShift_ = 0, imgShift_ = 0;
    int objW_ = 0, objH_ = 0;
    bool linkHit_ = false, objHit_ = false;
};

bool Engine::Run()
{
    base_.Assign(C.Font());
    TFont measureFont, drawFont;
    measureFont.Assign(C.Font());
    drawFont.Assign(C.Font());
    TBrush savedBrush;
    savedBrush.Assign(C.Brush());
    startBk_ = C.Brush().Color();
    SetBrush(clNone);
    SetBkMode(DC(), TRANSPARENT);

    if (Grid()) themed_ = grdhtmle::IsWinXP;
    else if (Tree()) themed_ = parhtml::IsWinXP;
    if (themed_) {
        ThemeApi& api = Grid() ? ExXPVS() : ParXPVS();
        themed_ = api.IsThemeActive && api.IsThemeActive() && api.OpenThemeData && api.DrawThemeBackground &&
                  api.CloseThemeData;
    }

    incomingID_ = r_.ControlID;
    r_.ControlRect = TRect{};
    r_.ControlValue.clear();
    r_.ControlType.clear();
    r_.FocusAnchor.clear();
    r_.StrippedText.clear();
    if (!(Grid() && p_.HitTestOnly)) r_.ControlID.clear();
    r_.MeasuredWidth = r_.MeasuredHeight = r_.LinkCount = 0;
    r_.LinkUnderPoint = -1;
    bool hit = false;

    TRect wr = p_.TextRect;
    if (mirrored_) wr.Right -= 1;
    else wr.Left += 1;

    flags_ = (Grid() ? 0xA68u : 0x268u);
    if (!p_.WordWrap) flags_ |= DT_END_ELLIPSIS;
    drawFlags_ = Panel() ? (flags_ & ~UINT(DT_EXTERNALLEADING)) : flags_;

    std::string s = ReplaceEntities(std::string(p_.Text), !Grid());
    RemoveMarkers(s, Grid());
    s = LineBreaksToBR(s);

    while (!s.empty()) {
        C.Font().Assign(measureFont);
        lineHeight_ = textHeight_ = GH();
        subShift_ = supShift_ = imgShift_ = 0;
        sub_ = sup_ = false;
        const PassState lineStart = Save();

        LineCtx M;
        M.lr = wr;
        M.pr = M.pr0 = wr;
        Line(s, M);
        std::string raw = M.consumed;
        measureFont.Assign(C.Font());
        if (!Grid()) lineHeight_ += p_.LineSpacing;

        TRect dr = wr;
        const Align align = !mirrored_ || align_ == alCenter ? align_ : align_ == alLeft ? alRight : alLeft;
        if (align == alRight && wr.Right - M.lw > wr.Left) dr.Left = wr.Right - M.lw;
        if (align == alCenter && wr.Right - wr.Left - M.lw > 0) dr.Left = wr.Left + (wr.Right - wr.Left - M.lw) / 2;
        dr.Left += mirrored_ ? -indent_ : indent_;
        dr.Bottom = dr.Top + lineHeight_ + subShift_ + supShift_;

        if (!p_.MeasureOnly) {
            C.Font().Assign(drawFont);
            Restore(lineStart);
            linkHit_ = objHit_ = false;
            LineCtx D;
            D.lr = dr;
            D.pr = D.pr0 = dr;
            D.pr.Bottom -= subShift_;
            D.pr0.Bottom -= subShift_;
            D.drawing = !p_.HitTestOnly;
            D.secondPass = true;
            Line(raw, D);
            drawFont.Assign(C.Font());
            const int textBottom = dr.Bottom - imgShift_;
            if (linkHit_ && p_.HitY > textBottom - textHeight_ && p_.HitY < textBottom) hit = true;
            if (objHit_) hit = true;
        }

        const int advance = lineHeight_ + subShift_ + supShift_;
        wr.Top += advance;
        r_.MeasuredHeight += advance;
        if (!p_.MeasureOnly) {
            if (Tree() ? wr.Top > wr.Bottom : wr.Top + textHeight_ > wr.Bottom) s.clear();
        }
    }

    C.Font().Assign(base_);
    if (r_.MeasuredHeight == 0) r_.MeasuredHeight = GH();
    C.Brush().Assign(savedBrush);
    r_.LinkCount = linkCount_;
    return hit && !p_.MeasureOnly;
}

// Cutting a long text to an ellipsis costs the host one measurement per character
// dropped; a prefix that already overflows gives the same cut.
std::string Engine::ForEllipsis(const std::string& piece, int width)
{
    constexpr std::size_t kShort = 32;
    if (!(flags_ & DT_END_ELLIPSIS) || piece.size() <= kShort) return piece;
    width = std::max(0, width);
    TSize sz;
    GetTextExtentPoint32(DC(), piece, -1, sz);
    if (sz.cx <= width) return piece;
    std::size_t lo = 1, hi = piece.size();
    while (lo < hi) {
        const std::size_t mid = (lo + hi) / 2;
        GetTextExtentPoint32(DC(), piece, int(mid), sz);
        if (sz.cx > width) hi = mid;
        else lo = mid + 1;
    }
    // Prefix characters draw narrower than they measure here.
    std::size_t keep = lo + 4;
    if (!(flags_ & DT_NOPREFIX)) keep += std::size_t(std::count(piece.begin(), piece.begin() + lo, '&'));
    return piece.substr(0, std::min(piece.size(), keep));
}

int Engine::MeasurePiece(const std::string& piece, const LineCtx& L)
{
    if (Turned()) return TurnedPiece(piece).width;
    if (Tree()) return TextExtentOf(C, piece).cx;
    return PieceWidth(piece, L.lr);
}

// Width of a piece drawn from r's left, cut with an ellipsis where r is too narrow.
int Engine::PieceWidth(const std::string& piece, const TRect& r)
{
    const int w = DrawnTextSize(C, piece, flags_).cx;
    if (!(flags_ & DT_END_ELLIPSIS) || w <= r.Width()) return w;
    TRect cr = r;
    DrawTextEx(DC(), ForEllipsis(piece, cr.Width()), -1, &cr, flags_ | DT_CALCRECT);
    return cr.Right - r.Left;
}

// Blanks in a clear brush without lines through or under them leave no mark.
bool Engine::LeavesNoMark(const std::string& piece)
{
    return piece.find_first_not_of(' ') == npos && C.Brush().Style() == bsClear &&
           !(C.Font().Style() & (fsUnderline | fsStrikeOut));
}

TurnedBox Engine::TurnedPiece(const std::string& piece)
{
    return TurnBox(DrawnTextSize(C, piece, flags_), C.Font().Escapement());
}

// A turned piece is drawn in the box it took when measured, its bottom left at the
// piece's; nothing of it falls outside that box.
int Engine::DrawTurned(const std::string& piece, const TRect& pr)
{
    const TurnedBox b = TurnedPiece(piece);
    if (LeavesNoMark(piece)) return b.width;
    const int cellHeight = DrawnTextSize(C, piece, drawFlags_).cy;
    auto draw = [&](int dx, int dy) {
        const TRect box = Rect(pr.Left + dx, pr.Bottom - b.height + dy, pr.Left + b.width + dx, pr.Bottom + dy);
        const int x = pr.Left + dx + b.originX, y = pr.Bottom + dy + b.originY;
        TRect at = Rect(x, y, x + b.width + b.height, y + cellHeight);
        HDC dc = DC();
        SaveDC(dc);
        IntersectClipRect(dc, box.Left, box.Top, box.Right, box.Bottom);
        DrawTextEx(dc, piece, -1, &at, (drawFlags_ | DT_NOCLIP) & ~UINT(DT_END_ELLIPSIS));
        RestoreDC(dc, -1);
    };
    if (shadow_) {
        const TColor fc = C.Font().Color();
        C.Font().SetColor(p_.ShadowColor);
        draw(p_.ShadowOffset, p_.ShadowOffset);
        C.Font().SetColor(fc);
    }
    draw(0, 0);
    return b.width;
}

// A level piece is drawn as the host draws a line of text, cut with an ellipsis where
// it does not fit.
int Engine::DrawLevel(const std::string& whole, const TRect& pr)
{
    const std::string piece = ForEllipsis(whole, pr.Width());
    const int width = PieceWidth(piece, pr);
    if (LeavesNoMark(piece)) return width;
    // A piece that fits needs no ellipsis, and the host need not measure it for one.
    UINT flags = drawFlags_;
    if (DrawnTextSize(C, piece, flags_).cx <= pr.Width()) flags &= ~UINT(DT_END_ELLIPSIS);
    if (shadow_) {
        TRect sr = pr;
        OffsetRect(sr, p_.ShadowOffset, p_.ShadowOffset);
        const TColor fc = C.Font().Color();
        C.Font().SetColor(p_.ShadowColor);
        DrawTextEx(DC(), piece, -1, &sr, flags);
        C.Font().SetColor(fc);
    }
    TRect r = pr;
    DrawTextEx(DC(), piece, -1, &r, flags);
    return width;
}

void Engine::DrawPiece(const std::string& piece, LineCtx& L)
{
    TRect pr = L.pr;
    if (sup_) pr.Bottom -= supShift_;
    if (sub_) pr.Bottom += subShift_;
    pr.Bottom -= imgShift_;
    const int right = pr.Left + (Turned() ? DrawTurned(piece, pr) : DrawLevel(piece, pr));
    if (inLink_ && linkCount_ == p_.FocusLink + 1) r_.FocusAnchor = ref_;
    if (errorLine_) ErrorUnderline(pr.Left, right, L.lr.Bottom);
    // The line width follows the drawn text too, so that objects and indents later in
    // the line are placed and hit-tested where they are drawn.
    L.lw += right - pr.Left;
    L.pr = L.pr0;
    L.pr.Left = right;
}

void Engine::ErrorUnderline(int left, int right, int bottom)
{
    int x = left - left % 2;
    int off = (x % 4 == 0) ? 1 : -1;
    std::vector<TPoint> pts;
    while (x < right) {
        pts.push_back({x, bottom + off});
        x += 2;
        off = -off;
    }
    if (pts.size() < 2) return;
    const TColor pc = C.Pen().Color();
    const int pw = C.Pen().Width();
    C.Pen().SetColor(clRed);
    C.Pen().SetWidth(1);
    C.Polyline(pts);
    C.Pen().SetColor(pc);
    C.Pen().SetWidth(pw);
}

void Engine::Line(std::string& s, LineCtx& L)
{
    const int W = L.lr.Width();
    // A clear brush (after a gradient paragraph) fills nothing; its outline is not drawn.
    if (L.drawing && parBgActive_ && C.Brush().Style() != bsClear) {
        C.Pen().SetColor(C.Brush().Color());
        C.Rectangle(p_.TextRect.Left, L.lr.Top, p_.TextRect.Right, L.lr.Top + lineHeight_);
    }

    while (!s.empty() && !L.ended && !L.stopped) {
        const std::size_t lt = s.find('<');
        const std::size_t bl = p_.WordWrap ? s.find(' ') : npos;
        std::size_t rawLen;
        if (lt != npos && (bl == npos || bl > lt)) rawLen = lt;
        else if (bl != npos) rawLen = bl + 1;
        else rawLen = s.size();
        const std::string piece = PieceEntities(s.substr(0, rawLen));
        const bool first = L.placed.empty();
        bool skipFit = false;
        int pw = 0;

        if (!piece.empty()) {
            const int ph = GH();
            if (sub_) subShift_ = std::max(subShift_, ph / 4);
            if (sup_) supShift_ = std::max(supShift_, ph / 4);
            lineHeight_ = std::max(lineHeight_, Turned() ? std::max(ph, TurnedPiece(piece).height) : ph);
            r_.StrippedText += piece;
            if (hidden_) {
                s.erase(0, rawLen);
                skipFit = true;
            } else if (!L.drawing) {
                pw = MeasurePiece(piece, L);
                const int before = L.lw;
                L.lw += pw;
                if (inLink_ && Placed(L)) {
                    const int x = p_.HitX - L.lr.Left;
                    if (x >= before && x <= L.lw) {
                        linkHit_ = true;
                        if (p_.HitY > L.lr.Top) {
                            r_.AnchorValue = ref_;
                            linkMarked_ = true;
                        }
                    }
                }
            } else {
                DrawPiece(piece, L);
            }
        }

        if (!skipFit) {
            const bool blankEnd = rawLen > 0 && s[rawLen - 1] == ' ';
            bool take = true, dropRest = false;
            if (!L.secondPass) {
                const bool fits = L.lw < W || (pw >= W && (!Tree() || p_.WordWrap));
                bool kept = fits;
                // A word split by a tag is not broken; without wrapping nothing is.
                if (!fits && KeepWords() && p_.WordWrap && !L.placed.empty() && L.placed.back() != ' ')
                    kept = true;
                L.placed += piece;
                if (!kept && p_.WordWrap) {
                    take = false;
                    L.ended = true;
                    L.lw -= pw;
                } else if (!kept && !(KeepWords() && first)) {
                    dropRest = true;
                }
            }
            if (take) {
                L.consumed.append(s, 0, rawLen);
                s.erase(0, rawLen);
                L.trailing = blankEnd ? TextExtentOf(C, " ").cx : 0;
                if (dropRest) s.clear();
            }
        }

        if (!s.empty() && s[0] == '<' && s.size() <= 2) s.clear();
        if (!L.ended && s.size() >= 3 && s[0] == '<') {
            const std::size_t gt = s.find('>');
            const std::string tag = gt == npos ? s : s.substr(0, gt + 1);
            Tag(tag, s.size(), L);
            if (!L.stopped) {
                L.consumed += tag;
                s.erase(0, tag.size());
            }
        }
    }

    L.lw -= L.trailing;
    r_.MeasuredWidth = std::max(r_.MeasuredWidth, L.lw);

    if (L.drawing && inLink_ && linkCount_ == p_.FocusLink + 1) {
        focusRect_.Right = L.pr.Left;
        focusRect_.Bottom = L.pr.Bottom;
        if (Tree()) InflateRect(focusRect_, 1, 1);
        else InflateRect(focusRect_, 1, 0);
        C.DrawFocusRect(focusRect_);
        focusRect_.Left = L.lr.Left + 1;
        focusRect_.Top = focusRect_.Bottom;
    }
}

void Engine::Tag(const std::string& tag, std::size_t restLen, LineCtx& L)
{
    const std::string up = Upper(tag);
    // Tags known by their whole name; the others by how their name begins.
    const std::string_view name = TagName(up);
    if (up[1] == '/') {
        if (restLen > 3) EndTag(up, name, L);
        return;
    }
    StartTag(tag, up, name, L);
}

// A closing tag, by the first letter of its name.
void Engine::EndTag(const std::string& up, std::string_view name, LineCtx& L)
{
    switch (up[2]) {
    case 'A':
        if (name == "A") CloseLink(L);
        break;
    case 'B':
        if (up == "</B>") RemoveStyle(fsBold);
        else C.Font().SetColor(base_.Color());
        break;
    case 'E':
        if (name == "E" && L.drawing) errorLine_ = false;
        break;
    case 'F':
        if (name == "FONT") EndFont(L);
        break;
    case 'H':
        if (StartsWith(up, "</HI") && L.drawing) {
            C.Font().SetColor(hiFont_);
            SetBrush(hiBrush_);
        }
        break;
    case 'I':
        if (name == "I") RemoveStyle(fsItalic);
        break;
    case 'L':
        if (name == "LI" && !Tree()) L.ended = true;
        break;
    case 'P':
        if (name != "P") break;
        L.ended = true;
        if (L.drawing) {
            SetBrush(parBg_);
            parBgActive_ = false;
        }
        break;
    case 'R':
        if (Turn& t = turn_[L.secondPass]; name == "R" && t.active) {
            C.Font().SetEscapement(t.saved);
            t.active = false;
        }
        break;
    case 'S':
        if (StartsWith(up, "</SU")) sub_ = sup_ = false;
        else if (StartsWith(up, "</SH")) shadow_ = false;
        else if (up == "</S>") RemoveStyle(fsStrikeOut);
        break;
    case 'U':
        if (up == "</U>") {
            RemoveStyle(fsUnderline);
        } else if (name == "UL") {
            if (listLevel_ > 0) --listLevel_;
            else RemoveStyle(fsUnderline);
        }
        break;
    case 'Z':
        if (name == "Z") hidden_ = false;
        break;
    default: break;
    }
}

// An opening tag, by the first letter of its name.
void Engine::StartTag(const std::string& tag, const std::string& up, std::string_view name, LineCtx& L)
{
    switch (up[1]) {
    case 'A':
        if (name == "A") OpenLink(tag, L);
        break;
    case 'B':
        if (up == "<B>") {
            AddStyle(fsBold);
        } else if (StartsWith(up, "<BR")) {
            L.ended = true;
            r_.StrippedText += '\r';
        } else if (StartsWith(up, "<BL")) {
            if (!p_.BlinkVisible) C.Font().SetColor(startBk_);
        } else if (name == "BODY") {
            Body(up, L);
        }
        break;
    case 'C':
        if (name == "CONTROL") Control(tag, L);
        break;
    case 'E':
        if (name == "E" && L.drawing) errorLine_ = true;
        break;
    case 'F':
        if (name == "FONT") FontTag(up, L);
        break;
    case 'H':
        if (StartsWith(up, "<HI")) Highlight(L);
        else if (StartsWith(up, "<HR")) Rule(L);
        break;
    case 'I':
        if (StartsWith(up, "<IN")) {
            Indent(tag, L);
        } else if (name == "IMG") {
            Image(up, tag, L);
        } else if (name == "I") {
            AddStyle(fsItalic);
        }
        break;
    case 'L':
        if (name == "LI") ListItem(L);
        break;
    case 'P':
        if (name == "P") ParagraphTag(up, L);
        break;
    case 'R':
        if (name == "R") Rotate(tag, L);
        break;
    case 'S':
        if (up == "<S>") AddStyle(fsStrikeOut);
        else if (StartsWith(up, "<SH")) shadow_ = true;
        else if (up == "<SUB>") sub_ = true;
        else if (up == "<SUP>") sup_ = true;
        break;
    case 'U':
        if (up == "<U>") {
            AddStyle(fsUnderline);
        } else if (name == "UL") {
            ++listLevel_;
            if (!Tree()) L.ended = true;
        }
        break;
    case 'Z':
        if (name == "Z") hidden_ = true;
        break;
    default: break;
    }
}

// </FONT>: the control's font again.
void Engine::EndFont(LineCtx& L)
{
    C.Font().SetName(base_.Name());
    C.Font().SetHeight(base_.Height());
    if (L.drawing && !p_.Selected) {
        C.Font().SetColor(base_.Color());
        SetBrush(fontBg_);
    }
}

// <HI>: highlight colours, the ones in use kept for </HI>.
void Engine::Highlight(LineCtx& L)
{
    if (!L.drawing) return;
    hiFont_ = C.Font().Color();
    hiBrush_ = BrushSave();
    SetBrush(clHighlight);
    C.Font().SetColor(clHighlightText);
}

// <HR>: ends the line and draws a rule under it.
void Engine::Rule(LineCtx& L)
{
    L.ended = true;
    if (!L.drawing) return;
    const TColor pc = C.Pen().Color();
    C.Pen().SetColor(clBlack);
    C.MoveTo(L.lr.Left, L.pr.Bottom + 1);
    C.LineTo(L.lr.Right, L.pr.Bottom + 1);
    C.Pen().SetColor(pc);
}

// <IND x="n">: the text goes on at n pixels from the left, never back.
void Engine::Indent(const std::string& tag, LineCtx& L)
{
    std::size_t x = FindNoCase(tag, "x");
    if (x == npos) return;
    bool whole = false;
    const int v = Bounded(LenientStrToInt(QuotedFrom(tag, x + 1), &whole), kMaxOffset);
    if (whole && v > L.lw) {
        L.lw = v;
        L.pr.Left = p_.TextRect.Left + v;
    }
}

// <R a="n">: text turned by n degrees; the font's own turn is kept for </R>.
void Engine::Rotate(const std::string& tag, LineCtx& L)
{
    const int n = LenientStrToInt(Attr(std::string_view(tag).substr(2), "a", nullptr, true));
    Turn& t = turn_[L.secondPass];
    if (!t.active) t.saved = C.Font().Escapement();
    t.active = true;
    C.Font().SetEscapement(int((long long)n * 10 % 3600));
}

void Engine::OpenLink(const std::string& tag, LineCtx& L)
{
    if (L.drawing && p_.FocusLink == linkCount_) {
        focusRect_.Left = L.pr.Left;
        focusRect_.Top = L.pr.Top;
    }
    ++linkCount_;
    if (Tree()) AddStyle(fsUnderline);
    if (L.drawing && (!p_.HoverStyle || p_.HoverLink == linkCount_)) {
        AddStyle(fsUnderline);
        if (p_.HoverBackColor != clNone) {
            linkBrush_ = BrushSave();
            SetBrush(p_.HoverBackColor);
        }
        if (p_.HoverFontColor != clNone) {
            linkFont_ = C.Font().Color();
            C.Font().SetColor(p_.HoverFontColor);
        }
    }
    if (!p_.Selected && (p_.HoverFontColor == clNone || p_.HoverLink != linkCount_ || !p_.HoverStyle))
        C.Font().SetColor(p_.LinkColor);
    ref_ = QuotedFrom(tag, 0);
    inLink_ = true;
    linkStartX_ = L.lw;
    linkStartTop_ = L.lr.Top;
}

void Engine::CloseLink(LineCtx& L)
{
    // A closing tag without an open link ends nothing: it would otherwise restore colours
    // never saved and mark a focus rectangle that was never started.
    if (!inLink_) return;
    if (Tree()) RemoveStyle(fsUnderline);
    if (!(p_.HoverStyle && p_.HoverLink != linkCount_) && L.drawing) {
        RemoveStyle(fsUnderline);
        if (p_.HoverBackColor != clNone) SetBrush(linkBrush_);
        if (p_.HoverFontColor != clNone) C.Font().SetColor(linkFont_);
    }
    if (!p_.Selected) C.Font().SetColor(base_.Color());
    inLink_ = false;
    if (linkMarked_ || (Tree() && p_.ReportFocusLinkRect && p_.FocusLink == linkCount_)) {
        TRect& h = r_.HoverRect;
        h.Right = L.lr.Left + L.lw;
        h.Bottom = L.lr.Bottom;
        h.Left = linkStartX_;
        h.Top = linkStartTop_;
        if (linkStartTop_ != L.lr.Top) {
            h.Left = L.lr.Left;
            h.Top = L.lr.Top;
        }
        r_.LinkUnderPoint = linkCount_;
        linkMarked_ = false;
    }
    if (linkCount_ - 1 == p_.FocusLink) {
        focusRect_.Right = L.pr.Left;
        focusRect_.Bottom = L.pr.Bottom - imgShift_;
        focusRect_.Top = focusRect_.Bottom - GH();
        InflateRect(focusRect_, 1, 0);
        if (L.drawing) {
            if (Tree()) {
                const TColor pc = C.Pen().Color();
                const TColor bc = BrushSave();
                C.Pen().SetColor(clGray);
                C.Brush().SetStyle(bsClear);
                C.Rectangle(focusRect_);
                C.Pen().SetColor(pc);
                SetBrush(bc);
            } else {
                C.DrawFocusRect(focusRect_);
            }
        }
    }
}

void Engine::FontTag(const std::string& up, LineCtx& L)
{
    const std::string_view a = std::string_view(up).substr(5);
    bool found = false;
    std::string v = Attr(a, "FACE", &found);
    if (found) C.Font().SetName(v);
    v = Attr(a, " COLOR", &found);
    if (found && !p_.Selected && !v.empty()) C.Font().SetColor(ParseColor(v));
    v = Attr(a, "BGCOLOR", &found);
    if (found && L.drawing && !p_.Selected) {
        fontBg_ = BrushSave();
        if (!v.empty()) SetBrush(ParseColor(v));
    }
    std::size_t sz = a.find("SIZE");
    if (sz != npos) {
        std::size_t eq = a.find('=', sz);
        if (eq != npos) {
            int n = LenientStrToInt(QuotedFrom(a, eq));
            if (n >= 1 && n <= 5) n = kFontSizes[n - 1];
            C.Font().SetSize(Bounded(n, kMaxPointSize));
        }
    }
}

void Engine::ParagraphTag(const std::string& up, LineCtx& L)
{
    const std::string_view a = std::string_view(up).substr(2);
    bool found = false;
    std::string v = Attr(a, "ALIGN", &found);
    if (found) {
        if (Contains(v, "RIGHT")) align_ = alRight;
        if (Contains(v, "LEFT")) align_ = alLeft;
        if (Contains(v, "CENTER")) align_ = alCenter;
    }
    v = Attr(a, "INDENT", &found);
    if (found) indent_ = Bounded(LenientStrToInt(v), kMaxOffset);
    v = Attr(a, "BGCOLOR", &found);
    if (!found) return;
    const TColor c = v.empty() ? clNone : ParseColor(v);
    bool toFound = false;
    const std::string v2 = Attr(a, "BGCOLORTO", &toFound);
    if (!Grid() && toFound) {
        if (L.drawing) {
            parBgActive_ = true;
            C.Pen().SetColor(c);
            const TColor c2 = v2.empty() ? clNone : ParseColor(v2);
            Gradient(c, c2, Rect(p_.TextRect.Left, L.lr.Top, p_.TextRect.Right, L.lr.Bottom + 2), 64, true, clNone);
            C.Brush().SetStyle(bsClear);
        }
        return;
    }
    if (L.drawing) {
        parBgActive_ = true;
        parBg_ = BrushSave();
        SetBrush(c);
        if (c != clNone) {
            C.Pen().SetColor(c);
            C.Rectangle(p_.TextRect.Left, L.lr.Top, p_.TextRect.Right, L.lr.Bottom);
        }
    }
}

void Engine::ListItem(LineCtx& L)
{
    if (L.liSeen && !L.secondPass) {
        L.stopped = true;
        return;
    }
    L.liSeen = true;
    L.lw += 12 * listLevel_;
    L.pr.Left += 12 * listLevel_ - 12;
    if (L.drawing && !(Panel() && hidden_)) {
        const std::string name = C.Font().Name();
        C.Font().SetName("Symbol");
        TRect br = L.pr;
        DrawText(DC(), (listLevel_ % 2) ? std::string("\xB7") : std::string("o"), -1, &br, 0);
        C.Font().SetName(name);
    }
    L.pr.Left += 12;
}

THTMLPicture* Engine::FindPicture(const std::string& src)
{
    THTMLPicture* pic = nullptr;
    if (src.find(':') == npos && p_.PictureContainer) pic = p_.PictureContainer->FindPicture(src);
    if (src.find("://") != npos && p_.PictureCache) {
        if (!p_.PictureCache->FindPicture(src)) {
            THTMLPicture* np = p_.PictureCache->AddPicture();
            np->BackgroundDownload = false;
            np->LoadFromURL(src);
        }
        pic = p_.PictureCache->FindPicture(src);
    }
    return pic;
}

// An object that moves to the next line is tested there, where it is drawn.
bool Engine::ObjectUnderPoint(const LineCtx& L) const
{
    if (MovesDown(L) || !Placed(L)) return false;
    const int x = p_.HitX - L.lr.Left;
    return x > L.lw && x < L.lw + objW_ && p_.HitY > L.pr.Top && p_.HitY < L.pr.Top + objH_;
}

// The measuring pass moves an object too wide for the rest of the line, but narrower
// than the line, to the next line.
bool Engine::MovesDown(const LineCtx& L) const
{
    const int W = L.lr.Width();
    return !L.secondPass && L.lw + objW_ > W && objW_ < W;
}

// Places the current object in the line; false when it moves to the next line.
bool Engine::PlaceObject(LineCtx& L)
{
    if (MovesDown(L)) {
        L.stopped = true;
        return false;
    }
    L.lw += objW_;
    L.pr.Left += objW_;
    lineHeight_ = std::max(lineHeight_, objH_);
    return true;
}

void Engine::Image(const std::string& up, const std::string& tag, LineCtx& L)
{
    ++imgCount_;
    const std::string_view a = std::string_view(up).substr(2);
    // The picture address keeps its case: file paths are case-sensitive here.
    const std::string_view original = std::string_view(tag).substr(std::min<std::size_t>(2, tag.size()));
    bool found = false;
    std::string src = Attr(original, "SRC", &found, true);
    if (!found) src = QuotedFrom(tag, std::min<std::size_t>(4, tag.size()));
    if (Contains(a, "ALT") && imgCount_ == hoverImg_) src = Attr(original, "ALT", nullptr, true);
    const std::string srcUp = Upper(src);
    const int w = Bounded(LenientStrToInt(Attr(a, "WIDTH")), kMaxPictureSide);
    const int h = Bounded(LenientStrToInt(Attr(a, "HEIGHT")), kMaxPictureSide);
    const bool sized = w >= 1 && h >= 1;
    int align = 0;
    if (Contains(up, "ALIGN")) {
        if (Contains(up, "\"TOP")) align = 1;
        else if (Contains(up, "\"MIDDLE")) align = 2;
    }
    objW_ = objH_ = 0;
    const int dpx = GetDeviceCaps(DC(), LOGPIXELSX), dpy = GetDeviceCaps(DC(), LOGPIXELSY);

    if (Contains(srcUp, "IDX:")) {
        const int n = LenientStrToInt(std::string_view(src).substr(4));
        TImageList* il = p_.Images;
        if (il && n >= 0 && n < il->Count()) {
            objW_ = MulDiv(il->Width(), dpx, 96);
            objH_ = MulDiv(il->Height(), dpy, 96);
            if (L.drawing && !p_.Printing) {
                il->Draw(&C, L.pr.Left, L.pr.Top, n, true);
            } else if (L.drawing) {
                TRect pr = Rect(L.pr.Left, L.pr.Top, L.pr.Left + RoundHalfEven(il->Width() * p_.PrintScale),
                                L.pr.Top + RoundHalfEven(il->Height() * p_.PrintScale));
                TBitmap bmp;
                il->GetBitmap(n, &bmp);
                PrintBitmap(&C, pr, &bmp);
            }
        }
    }

    if (Contains(srcUp, "SSYS:")) SystemIcon(src.substr(5), true, L);
    if (Contains(srcUp, "LSYS:")) SystemIcon(src.substr(5), false, L);

    THTMLPicture* pic = FindPicture(src);
    if (pic && !pic->Empty()) {
        if (L.drawing) {
            if (!sized) {
                if (pic->GetFrameCount() > 1 && !Panel()) {
                    const TColor pc = C.Pen().Color(), bc = BrushSave();
                    C.Pen().SetColor(startBk_);
                    SetBrush(startBk_);
                    C.Rectangle(L.pr.Left, L.pr.Top, L.pr.Left + pic->GetMaxWidth(), L.pr.Top + pic->GetMaxHeight());
                    C.Pen().SetColor(pc);
                    SetBrush(bc);
                }
                C.Draw(L.pr.Left + pic->FrameLeft(), L.pr.Top + pic->FrameTop(), pic);
            } else {
                if (!Tree()) pic->SetStretch(true);
                C.StretchDraw(Rect(L.pr.Left, L.pr.Top, L.pr.Left + w, L.pr.Top + h), pic);
            }
        }
        objW_ = MulDiv(sized ? w : pic->GetMaxWidth(), dpx, 96);
        objH_ = MulDiv(sized ? h : pic->GetMaxHeight(), dpy, 96);
    }

    if (inLink_ && ObjectUnderPoint(L)) {
        objHit_ = true;
        r_.AnchorValue = ref_;
        hoverImg_ = imgCount_;
    }
    if (!PlaceObject(L)) return;
    const int gh = GH();
    if (align == 1) imgShift_ = lineHeight_ - gh;
    else if (align == 2) imgShift_ = std::max(0, (lineHeight_ - gh) / 2);
}

// An icon of the system image list, by number or by the path of a file or folder.
void Engine::SystemIcon(const std::string& rest, bool small, LineCtx& L)
{
    bool whole = false;
    int index = LenientStrToInt(rest, &whole);
    SHFILEINFO fi;
    if (!whole) {
        std::error_code ec;
        const bool exists = std::filesystem::exists(rest, ec);
        SHGetFileInfo(rest, 0, &fi, exists ? SHGFI_SYSICONINDEX : SHGFI_SYSICONINDEX | SHGFI_USEFILEATTRIBUTES);
        index = fi.iIcon;
    }
    const HIMAGELIST list = SHGetFileInfo("", 0, &fi, small ? SHGFI_SYSICONINDEX | SHGFI_SMALLICON : SHGFI_SYSICONINDEX);
    int cx = 0, cy = 0;
    if (!ImageList_GetIconSize(list, &cx, &cy)) return;
    objW_ = MulDiv(cx, GetDeviceCaps(DC(), LOGPIXELSX), 96);
    objH_ = MulDiv(cy, GetDeviceCaps(DC(), LOGPIXELSY), 96);
    if (!L.drawing) return;
    if (!p_.Printing) {
        ImageList_Draw(list, index, DC(), L.pr.Left, L.pr.Top, ILD_TRANSPARENT);
        return;
    }
    TBitmap bmp(cx, cy);
    ImageList_Draw(list, index, bmp.Canvas()->Handle(), 0, 0, ILD_NORMAL);
    PrintBitmap(&C, Rect(L.pr.Left, L.pr.Top, L.pr.Left + RoundHalfEven(cx * p_.PrintScale),
                         L.pr.Top + RoundHalfEven(cy * p_.PrintScale)),
                &bmp);
}

void Engine::Box(const TRect& r)
{
    C.Pen().SetColor(clGray);
    C.Brush().SetStyle(bsClear);
    C.Rectangle(r);
}

void Engine::ThemedPart(const wchar_t* cls, int part, int state, const TRect& r)
{
    ThemeApi& api = Grid() ? ExXPVS() : ParXPVS();
    HTHEME h = api.OpenThemeData(p_.ThemeWindow, cls);
    api.DrawThemeBackground(h, DC(), part, state, &r, nullptr);
    api.CloseThemeData(h);
}

void Engine::Control(const std::string& tag, LineCtx& L)
{
    if (Panel()) return;
    const std::string_view a = std::string_view(tag).substr(8);
    const std::string type = Upper(Attr(a, "TYPE=", nullptr, true));
    const std::string id = Attr(a, "ID=", nullptr, true);
    const std::string value = RestoreAngleBrackets(Attr(a, "VALUE=", nullptr, true));
    bool hasWidth = false;
    const std::string widthText = Attr(a, "WIDTH=", &hasWidth, true);
    bool whole = false;
    const int width = Bounded(LenientStrToInt(widthText, &whole), kMaxOffset);
    if (hasWidth && whole) {
        objW_ = width;
        objH_ = GH() + 6;
    }

    const bool grid = Grid();
    const bool knownEdit = type == "EDIT" || (grid && (type == "PASSWORD" || type == "MASK"));
    const int left = L.pr.Left, bottom = L.pr.Bottom, lh = lineHeight_;
    auto hotNow = [&]() {
        if (grid)
            return p_.HitX > left - 2 && p_.HitX < left + objW_ - 2 && p_.HitY > bottom - objH_ - 2 &&
                   p_.HitY < bottom - 2;
        return p_.HitX > left && p_.HitX < left + objW_ && p_.HitY > bottom - objH_ && p_.HitY < bottom;
    };

    if (L.drawing) {
        const TColor pc = C.Pen().Color(), bc = BrushSave();
        if (knownEdit) {
            Box(Rect(left, bottom - lh + 3, left + objW_, bottom + 1));
            TRect tr = Rect(left + 2, bottom - lh + 4, left + objW_, bottom);
            DrawText(DC(), type == "PASSWORD" ? PasswordMask(value) : value, -1, &tr, 0);
        } else if (type == "COMBO") {
            objH_ = 25;
            Box(Rect(left, bottom - lh + 3, left + objW_, bottom + 1));
            TRect tr = Rect(left + 2, bottom - lh + 6, left + objW_ - 17, bottom);
            DrawText(DC(), value, -1, &tr, 0);
            TRect br = Rect(left + objW_ - 19, bottom - lh + 6, left + objW_ - 3, bottom - 2);
            const bool hot = hotNow();
            if (themed_) ThemedPart(L"combobox", CP_DROPDOWNBUTTON, hot ? 2 : 1, br);
            else DrawFrameControl(DC(), &br, DFC_SCROLL, DFCS_SCROLLCOMBOBOX);
        } else if (type == "CHECK" || type == "RADIO") {
            const bool radio = type == "RADIO";
            objW_ = objH_ = 16;
            const bool checked = Upper(value) == "TRUE";
            const bool hot = !grid && hotNow();
            const bool pressed = hot && p_.MouseDown;
            TRect br = radio ? Rect(left + 2, bottom - 14, left + 14, bottom) : Rect(left + 2, bottom - 15, left + 15, bottom);
            if (themed_) {
                const int state = (checked ? 4 : 0) + (pressed ? 3 : hot ? 2 : 1);
                ThemedPart(L"button", radio ? BP_RADIOBUTTON : BP_CHECKBOX, state, br);
            } else {
                UINT st = (radio ? DFCS_BUTTONRADIO : DFCS_BUTTONCHECK) | DFCS_FLAT;
                if (checked) st |= DFCS_CHECKED;
                DrawFrameControl(DC(), &br, DFC_BUTTON, st);
            }
        } else if (type == "BUTTON" || (!grid && type == "TOOLBTN")) {
            objH_ = grid ? 24 : 26;
            TRect br = grid ? Rect(left + 2, bottom - 20, left + objW_ - 2, bottom)
                            : Rect(left + 2, bottom - 22, left + objW_ - 2, bottom);
            const bool hot = hotNow();
            const bool pressed = (grid && type == "BUTTON") ? p_.MouseDown : (p_.MouseDown && hot);
            if (themed_) {
                ThemedPart(L"button", BP_PUSHBUTTON, pressed ? 3 : hot ? 2 : 1, br);
            } else {
                UINT st = DFCS_BUTTONPUSH;
                if (hot && p_.MouseDown) st |= DFCS_PUSHED;
                DrawFrameControl(DC(), &br, DFC_BUTTON, st);
            }
            if (type == "BUTTON") {
                TRect tr = br;
                InflateRect(tr, -2, -2);
                DrawText(DC(), value, -1, &tr, DT_CENTER);
            } else if (!value.empty() && p_.Images) {
                const int idx = LenientStrToInt(value);
                int x = br.Left + (objW_ - p_.Images->Width() - 2) / 2, y = br.Top + 3;
                if (p_.MouseDown) {
                    ++x;
                    ++y;
                }
                p_.Images->Draw(&C, x, y, idx, true);
            }
        }
        C.Pen().SetColor(pc);
        SetBrush(bc);
    }

    if (type == "BUTTON") objH_ = grid ? 18 : 26;
    else if (type == "TOOLBTN" && !grid) objH_ = 26;
    else if (type == "COMBO") objH_ = 25;
    else if (type == "CHECK" || type == "RADIO") objW_ = objH_ = 16;

    // An empty ID asked for matches nothing, or every ID-less control would be found.
    const bool byId =
        grid && p_.HitTestOnly && !incomingID_.empty() && id == incomingID_ && !MovesDown(L) && Placed(L);
    if (ObjectUnderPoint(L) || byId) {
        objHit_ = true;
        r_.AnchorValue = "ctrl";
        hoverImg_ = imgCount_;
        const int x0 = L.lr.Left + L.lw;
        r_.ControlRect = Rect(x0, L.pr.Top, x0 + objW_, L.pr.Top + objH_);
        r_.ControlValue = value;
        r_.ControlID = id;
        r_.ControlType = type;
    }
    PlaceObject(L);
}

void Engine::TilePicture(THTMLPicture* pic)
{
    if (!pic || pic->Empty() || pic->Width() <= 0 || pic->Height() <= 0) return;
    HDC dc = DC();
    HRGN old = CreateRectRgn(0, 0, 0, 0);
    const int had = GetClipRgn(dc, old);
    const TRect& t = p_.TextRect;
    IntersectClipRect(dc, t.Left, t.Top, t.Right, t.Bottom);
    for (int y = t.Top; y < t.Bottom; y += pic->Height())
        for (int x = t.Left; x < t.Right; x += pic->Width()) C.Draw(x, y, pic);
    SelectClipRgn(DC(), had == 1 ? old : nullptr);
    DeleteObject(old);
}

void Engine::Body(const std::string& up, LineCtx& L)
{
    const std::string_view a = std::string_view(up).substr(5);
    bool found = false;
    if (!Panel()) {
        if (!L.drawing) return;
        std::string bg = Attr(a, "BACKGROUND", &found);
        if (found) TilePicture(FindPicture(bg));
        std::string v = Attr(a, "BGCOLOR", &found);
        if (!found) return;
        TColor c;
        if (Contains(v, "CL")) c = ColorFromName(Lower(v));
        else if (Contains(v, "#")) c = ColorFromHex(v.substr(v.find('#')));
        else return;
        SetBrush(c);
        fontBg_ = c;
        const TColor pc = C.Pen().Color();
        C.Pen().SetColor(c);
        C.Rectangle(p_.TextRect);
        C.Pen().SetColor(pc);
        return;
    }
    if (!L.drawing || p_.Selected) return;
    std::string bg = Attr(a, "BACKGROUND", &found);
    if (found) TilePicture(FindPicture(bg));
    std::string v = Attr(a, "BGCOLOR", &found);
    if (!found) return;
    const TColor c1 = v.empty() ? clNone : ParseColor(v);
    bool toFound = false;
    std::string v2 = Attr(a, "BGCOLORTO", &toFound);
    if (toFound) {
        const TColor c2 = v2.empty() ? clNone : ParseColor(v2);
        std::string dir = Attr(a, "DIR", &found);
        if (!found) dir = "H";
        Gradient(c1, c2, p_.TextRect, 64, dir == "H", clNone);
        C.Pen().SetColor(c1);
        C.Brush().SetStyle(bsClear);
        return;
    }
    fontBg_ = BrushSave();
    SetBrush(c1);
    if (c1 == clNone) return;
    const TColor pc = C.Pen().Color();
    C.Pen().SetColor(c1);
    C.Rectangle(p_.TextRect.Left - 2, p_.TextRect.Top, p_.TextRect.Right, p_.TextRect.Bottom);
    C.Pen().SetColor(pc);
}

void Engine::Gradient(TColor from, TColor to, const TRect& r, int steps, bool horizontal, TColor border)
{
    if (steps == 0) steps = 1;
    const COLORREF a = ColorToRGB(from), b = ColorToRGB(to);
    const double span = horizontal ? r.Width() : r.Height();
    const double step = span / steps;
    for (int i = 0; i < steps; ++i) {
        auto ch = [&](int x, int y) { return RoundHalfEven(x + double(i) * (y - x) / steps); };
        const TColor c = TColor(RGB(ch(GetRValue(a), GetRValue(b)), ch(GetGValue(a), GetGValue(b)),
                                    ch(GetBValue(a), GetBValue(b))));
        C.Pen().SetColor(c);
        C.Brush().SetColor(c);
        TRect band = r;
        if (horizontal) {
            band.Left = r.Left + RoundHalfEven(i * step);
            band.Right = std::min(r.Right, band.Left + int(step) + 1);
        } else {
            band.Top = r.Top + RoundHalfEven(i * step);
            band.Bottom = std::min(r.Bottom, band.Top + int(step) + 1);
        }
        C.FillRect(band);
    }
    if (border != clNone) {
        C.Brush().SetStyle(bsClear);
        C.Pen().SetColor(border);
        C.Rectangle(r);
    }
}

}  // namespace

namespace {

bool MirroredX(HDC dc)
{
    const int mode = GetMapMode(dc);
    if (mode != MM_ISOTROPIC && mode != MM_ANISOTROPIC) return false;
    TSize w{}, v{};
    GetWindowExtEx(dc, &w);
    GetViewportExtEx(dc, &v);
    return (w.cx < 0) != (v.cx < 0);
}

TRect NegatedX(const TRect& r) { return {-r.Right, r.Top, -r.Left, r.Bottom}; }

// On a canvas whose x axis runs right to left the text is laid out where x runs the
// device's way (x negated), so that its words and pieces read in their normal order; its
// lines end at the rectangle's logical left, which is the device's right.
bool MirroredHTMLDraw(const HTMLDrawParams& p, HTMLDrawResult& r)
{
    HDC dc = p.Canvas->Handle();
    struct Unmirror {
        HDC dc;
        TSize ext{};
        TPoint org{};
        explicit Unmirror(HDC d) : dc(d)
        {
            GetWindowExtEx(dc, &ext);
            GetWindowOrgEx(dc, &org);
            SetWindowExtEx(dc, -ext.cx, ext.cy, nullptr);
            SetWindowOrgEx(dc, -org.X, org.Y, nullptr);
        }
        ~Unmirror()
        {
            SetWindowOrgEx(dc, org.X, org.Y, nullptr);
            SetWindowExtEx(dc, ext.cx, ext.cy, nullptr);
        }
    } unmirror(dc);
    HTMLDrawParams q = p;
    q.TextRect = NegatedX(p.TextRect);
    // A point stands for the pixel right of it on the mirrored axis.
    q.HitX = -p.HitX - 1;
    r.HoverRect = NegatedX(r.HoverRect);
    r.ControlRect = NegatedX(r.ControlRect);
    const bool hit = Engine(q, r, true).Run();
    r.HoverRect = NegatedX(r.HoverRect);
    r.ControlRect = NegatedX(r.ControlRect);
    return hit;
}

}  // namespace

bool HTMLDrawEx(const HTMLDrawParams& p, HTMLDrawResult& r)
{
    if (!p.Canvas) return false;
    if (MirroredX(p.Canvas->Handle())) return MirroredHTMLDraw(p, r);
    Engine e(p, r);
    return e.Run();
}

void PrintBitmap(TCanvas* Canvas, const TRect& Rect, TBitmap* Bitmap)
{
    if (!Canvas || !Bitmap || Bitmap->Empty()) return;
    StretchBlt(Canvas->Handle(), Rect.Left, Rect.Top, Rect.Width(), Rect.Height(), Bitmap->Canvas()->Handle(), 0, 0,
               Bitmap->Width(), Bitmap->Height(), SRCCOPY);
}

namespace {

// The outputs every variant's wrapper hands back through its reference parameters.
void CopyLinkResults(const HTMLDrawResult& r, std::string& AnchorValue, std::string& StrippedText,
                     std::string& FocusAnchor, int& MeasuredWidth, int& MeasuredHeight, int& LinkCount,
                     int& LinkUnderPoint, TRect& HoverRect)
{
    AnchorValue = r.AnchorValue;
    StrippedText = r.StrippedText;
    FocusAnchor = r.FocusAnchor;
    MeasuredWidth = r.MeasuredWidth;
    MeasuredHeight = r.MeasuredHeight;
    LinkCount = r.LinkCount;
    LinkUnderPoint = r.LinkUnderPoint;
    HoverRect = r.HoverRect;
}

// The embedded control's outputs, for the variants that have controls.
void CopyControlResults(const HTMLDrawResult& r, TRect& ControlRect, std::string& ControlID,
                        std::string& ControlValue, std::string& ControlType)
{
    ControlRect = r.ControlRect;
    ControlID = r.ControlID;
    ControlValue = r.ControlValue;
    ControlType = r.ControlType;
}

}  // namespace

namespace grdhtmle {
bool HTMLDrawEx(TCanvas* Canvas, std::string_view Text, const TRect& TextRect, TImageList* Images, int HitX, int HitY,
                int FocusLink, int HoverLink, int ShadowOffset, bool HitTestOnly, bool MeasureOnly, bool Printing,
                bool Selected, bool BlinkVisible, bool HoverStyle, bool WordWrap, bool MouseDown, double PrintScale,
                TColor LinkColor, TColor HoverBackColor, TColor HoverFontColor, TColor ShadowColor,
                std::string& AnchorValue, std::string& StrippedText, std::string& FocusAnchor, int& MeasuredWidth,
                int& MeasuredHeight, int& LinkCount, int& LinkUnderPoint, TRect& HoverRect, TRect& ControlRect,
                std::string& ControlID, std::string& ControlValue, std::string& ControlType,
                THTMLPictureCache* PictureCache, TPictureContainer* PictureContainer, HWND ThemeWindow)
{
    HTMLDrawParams p{HTMLVariant::Grid, Canvas, Text, TextRect, Images, HitX, HitY, FocusLink, HoverLink,
                     ShadowOffset, HitTestOnly, MeasureOnly, Printing, Selected, BlinkVisible, HoverStyle, WordWrap,
                     MouseDown, false, PrintScale, LinkColor, HoverBackColor, HoverFontColor, ShadowColor,
                     PictureCache, PictureContainer, ThemeWindow, 0};
    HTMLDrawResult r;
    r.AnchorValue = AnchorValue;
    r.ControlID = ControlID;
    r.HoverRect = HoverRect;
    const bool hit = html::HTMLDrawEx(p, r);
    CopyLinkResults(r, AnchorValue, StrippedText, FocusAnchor, MeasuredWidth, MeasuredHeight, LinkCount,
                    LinkUnderPoint, HoverRect);
    CopyControlResults(r, ControlRect, ControlID, ControlValue, ControlType);
    return hit;
}
}  // namespace grdhtmle

namespace parhtml {
bool HTMLDrawEx(TCanvas* Canvas, std::string_view Text, const TRect& TextRect, TImageList* Images, int HitX, int HitY,
                int FocusLink, int HoverLink, int ShadowOffset, bool HitTestOnly, bool MeasureOnly, bool Printing,
                bool Selected, bool BlinkVisible, bool HoverStyle, bool WordWrap, bool MouseDown,
                bool ReportFocusLinkRect, double PrintScale, TColor LinkColor, TColor HoverBackColor,
                TColor HoverFontColor, TColor ShadowColor, std::string& AnchorValue, std::string& StrippedText,
                std::string& FocusAnchor, int& MeasuredWidth, int& MeasuredHeight, int& LinkCount,
                int& LinkUnderPoint, TRect& HoverRect, TRect& ControlRect, std::string& ControlID,
                std::string& ControlValue, std::string& ControlType, THTMLPictureCache* PictureCache,
                TPictureContainer* PictureContainer, HWND ThemeWindow, int LineSpacing)
{
    HTMLDrawParams p{HTMLVariant::Tree, Canvas, Text, TextRect, Images, HitX, HitY, FocusLink, HoverLink,
                     ShadowOffset, HitTestOnly, MeasureOnly, Printing, Selected, BlinkVisible, HoverStyle, WordWrap,
                     MouseDown, ReportFocusLinkRect, PrintScale, LinkColor, HoverBackColor, HoverFontColor,
                     ShadowColor, PictureCache, PictureContainer, ThemeWindow, LineSpacing};
    HTMLDrawResult r;
    r.AnchorValue = AnchorValue;
    r.HoverRect = HoverRect;
    const bool hit = html::HTMLDrawEx(p, r);
    CopyLinkResults(r, AnchorValue, StrippedText, FocusAnchor, MeasuredWidth, MeasuredHeight, LinkCount,
                    LinkUnderPoint, HoverRect);
    CopyControlResults(r, ControlRect, ControlID, ControlValue, ControlType);
    return hit;
}
}  // namespace parhtml

namespace panelhtml {
bool HTMLDrawEx(TCanvas* Canvas, std::string_view Text, const TRect& TextRect, TImageList* Images, int HitX, int HitY,
                int FocusLink, int HoverLink, int ShadowOffset, bool HitTestOnly, bool MeasureOnly, bool Printing,
                bool Selected, bool BlinkVisible, bool HoverStyle, bool WordWrap, bool MouseDown, double PrintScale,
                TColor LinkColor, TColor HoverBackColor, TColor HoverFontColor, TColor ShadowColor,
                std::string& AnchorValue, std::string& StrippedText, std::string& FocusAnchor, int& MeasuredWidth,
                int& MeasuredHeight, int& LinkCount, int& LinkUnderPoint, TRect& HoverRect,
                THTMLPictureCache* PictureCache, TPictureContainer* PictureContainer, int LineSpacing)
{
    HTMLDrawParams p{HTMLVariant::Panel, Canvas, Text, TextRect, Images, HitX, HitY, FocusLink, HoverLink,
                     ShadowOffset, HitTestOnly, MeasureOnly, Printing, Selected, BlinkVisible, HoverStyle, WordWrap,
                     MouseDown, false, PrintScale, LinkColor, HoverBackColor, HoverFontColor, ShadowColor,
                     PictureCache, PictureContainer, nullptr, LineSpacing};
    HTMLDrawResult r;
    r.AnchorValue = AnchorValue;
    r.HoverRect = HoverRect;
    const bool hit = html::HTMLDrawEx(p, r);
    CopyLinkResults(r, AnchorValue, StrippedText, FocusAnchor, MeasuredWidth, MeasuredHeight, LinkCount,
                    LinkUnderPoint, HoverRect);
    return hit;
}
}  // namespace panelhtml

}  // namespace html
