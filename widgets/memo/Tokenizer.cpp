#include "widgets/memo/Tokenizer.h"

#include <cctype>

#include "base/StrUtils.h"
#include "widgets/memo/MemoStyler.h"

namespace memo {

namespace {

char Upper(char c) { return char(std::toupper(static_cast<unsigned char>(c))); }

bool Has(const std::string& set, char c) { return set.find(c) != std::string::npos; }

bool StartsAt(std::string_view s, std::size_t i, const std::string& marker)
{
    return !marker.empty() && s.substr(i, marker.size()) == marker;
}

bool StartsAtUpper(std::string_view s, std::size_t i, const std::string& upperMarker)
{
    if (upperMarker.empty() || i + upperMarker.size() > s.size()) return false;
    for (std::size_t k = 0; k < upperMarker.size(); ++k)
        if (Upper(s[i + k]) != upperMarker[k]) return false;
    return true;
}

std::string UpperString(const std::string& s)
{
    std::string out = s;
    for (char& c : out) c = Upper(c);
    return out;
}

}  // namespace

bool IsUrlDelimiter(char c) { return c == ' ' || c == '"' || c == '\'' || c == ','; }

std::vector<std::string_view> SplitUrlRuns(std::string_view s, char escape)
{
    std::vector<std::string_view> runs;
    std::size_t start = 0, i = 0;
    while (i < s.size()) {
        if (i > start && IsUrlDelimiter(s[i]) != IsUrlDelimiter(s[i - 1])) {
            runs.push_back(s.substr(start, i - start));
            start = i;
        }
        if (escape != 0 && s[i] == escape && i + 1 < s.size())
            i += 2;
        else
            ++i;
    }
    if (i > start) runs.push_back(s.substr(start, s.size() - start));
    return runs;
}

void TTokenizerSetup::Prepare()
{
    delimiters.clear();
    numberStart.clear();
    numberChars.clear();
    hexPrefix.clear();
    if (!styler) return;
    const TElementStyles& all = styler->AllStyles();
    for (int i = 0; i < all.Count(); ++i)
        if (all.Items(i)->StyleType() == stSymbol) delimiters += all.Items(i)->Symbols();
    numberStart = UpperString(styler->NumericChars + styler->HexPrefix);
    numberChars = UpperString(styler->NumericChars) + "E";
    hexPrefix = UpperString(styler->HexPrefix);
}

// The run being collected: a stretch of the line in one state.
struct TLineTokenizer::Run {
    std::string_view line;
    std::size_t start = 0, end = 0;
    TStyle style;
    const TEmit* emit = nullptr;

    void Flush()
    {
        if (end > start && emit && *emit) (*emit)(line.substr(start, end - start), style, false);
        start = end;
    }
    // Emits the next n characters of the line in state st, then clears the one-run flags.
    void Add(std::size_t n, TStyle& st)
    {
        if (!(st == style)) {
            Flush();
            style = st;
        }
        end += n;
        st.IsNumber = st.IsKeyword = st.IsSymbol = st.IsURL = 0;
    }
};

void TLineTokenizer::Line(std::string_view line, TStyle& state, const TEmit& emit) const
{
    Run run;
    run.line = line;
    run.style = state;
    run.emit = &emit;
    bool lineComment = false;
    const bool styled = s_.styler != nullptr;
    const char escape = styled && !s_.styler->EscapeChar.empty() ? s_.styler->EscapeChar[0] : 0;
    if (s_.urlAware) {
        for (std::string_view piece : SplitUrlRuns(line, escape)) {
            state.IsURL = s_.isURL && s_.isURL(piece) ? 1 : 0;
            Piece(piece, state, run, lineComment);
        }
    } else {
        Piece(line, state, run, lineComment);
    }
    run.Flush();
    if (lineComment) state.InComment = 0;
    if (styled && s_.styler->BracketEndsAtLineEnd) state.InBracket = 0;
    state.IsNumber = state.IsKeyword = state.IsSymbol = state.IsURL = 0;
    if (!state.InBracket) {
        // Outside a bracket run these only decide where runs split; the next line starts clean.
        state.BracketEndChar = state.BracketStartChar = 0;
        state.StyleIndex = -1;
    }
}

void TLineTokenizer::Piece(std::string_view piece, TStyle& st, Run& run, bool& lineComment) const
{
    const std::size_t n = piece.size();
    if (n == 0) return;
    const TExCustomMemoStyler* sty = s_.styler;
    if (!sty || (st.IsURL && s_.urlAware) || lineComment) {
        if (lineComment) st.InComment = 1;
        run.Add(n, st);
        return;
    }
    const TElementStyles& all = sty->AllStyles();
    const std::string& mcl = sty->MultiCommentLeft;
    const std::string& mcr = sty->MultiCommentRight;
    const char escape = sty->EscapeChar.empty() ? 0 : sty->EscapeChar[0];
    const bool emitting = run.emit && *run.emit;
    bool wordStart = true, lastPlain = true;
    std::size_t i = 0;
    while (i < n) {
        char c = piece[i];
        if (lastPlain) wordStart = i == 0 || c == ' ' || s_.delimiters.empty() || Has(s_.delimiters, c);
        lastPlain = false;
        // Multi-line comments.
        if (!st.InBracket && !mcl.empty() && !mcr.empty()) {
            if (st.InComment) {
                const std::size_t pos = piece.find(mcr, i);
                if (pos == std::string_view::npos) {
                    run.Add(n - i, st);
                    return;
                }
                run.Add(pos + mcr.size() - i, st);
                st.InComment = 0;
                i = pos + mcr.size();
                if (i >= n) return;
                c = piece[i];
            } else if (StartsAt(piece, i, mcl)) {
                st.InComment = 1;
                run.Add(mcl.size(), st);
                i += mcl.size();
                continue;
            }
        }
        // Line comment: the rest of the line.
        if (!st.InComment && !st.InBracket && StartsAt(piece, i, sty->LineComment)) {
            st.InComment = 1;
            lineComment = true;
            run.Add(n - i, st);
            return;
        }
        if (!st.InComment) {
            // Inside a bracket run.
            if (st.InBracket && st.BracketStartChar != 0) {
                if (escape != 0 && c == escape) {
                    run.Add(std::min<std::size_t>(2, n - i), st);
                    i += 2;
                } else if (c == st.BracketEndChar) {
                    run.Add(1, st);
                    st.InBracket = 0;
                    wordStart = false;
                    ++i;
                } else {
                    run.Add(1, st);
                    ++i;
                }
                continue;
            }
            // A bracket run opens.
            if (!st.InBracket) {
                bool opened = false;
                for (int k = 0; k < all.Count() && !opened; ++k) {
                    const TElementStyle* e = all.Items(k);
                    if (e->StyleType() != stBracket) continue;
                    st.BracketEndChar = e->BracketEnd();
                    st.BracketStartChar = e->BracketStart();
                    st.StyleIndex = k;
                    if (e->BracketEnd() != 0 && e->BracketEnd() == c) {
                        st.InBracket = 1;
                        run.Add(1, st);
                        ++i;
                        opened = true;
                    }
                }
                if (opened) continue;
            }
            // Symbols.
            bool symbol = false;
            for (int k = 0; k < all.Count() && !symbol; ++k) {
                const TElementStyle* e = all.Items(k);
                if (e->StyleType() == stSymbol && Has(e->Symbols(), c)) {
                    st.IsSymbol = 1;
                    st.StyleIndex = k;
                    run.Add(1, st);
                    wordStart = true;
                    ++i;
                    symbol = true;
                }
            }
            if (symbol) continue;
            // Numbers.
            if (wordStart && Has(s_.numberStart, Upper(c))) {
                bool hexDigits = false;
                auto isDigit = [&](char ch) {
                    const char u = Upper(ch);
                    return Has(s_.numberChars, u) || (hexDigits && u >= 'A' && u <= 'F');
                };
                std::size_t j = i;
                const std::string& hex = s_.hexPrefix;
                if (StartsAtUpper(piece, i, hex)) {
                    hexDigits = true;
                    j = i + hex.size();
                }
                bool dot = false;
                std::size_t firstDot = 0;
                while (j < n && isDigit(piece[j])) {
                    if (piece[j] == '.') {
                        if (dot) {
                            j = firstDot;
                            break;
                        }
                        dot = true;
                        firstDot = j;
                    }
                    ++j;
                    if (!hex.empty() && j - i == hex.size() && StartsAtUpper(piece, i, hex)) hexDigits = true;
                }
                if (j > i) {
                    st.IsSymbol = 0;
                    st.IsNumber = 1;
                    run.Add(j - i, st);
                    wordStart = false;
                    i = j;
                    continue;
                }
            }
            // Keywords.
            if (wordStart) {
                std::size_t k = i + 1;
                while (k < n && piece[k] != ' ' && piece[k] != ':' && piece[k] != ';' && !Has(s_.delimiters, piece[k]))
                    ++k;
                const std::string_view word = piece.substr(i, k - i);
                std::string key(word);
                if (!s_.caseSensitive) key = base::LowerCase(key);
                bool found = false;
                for (int e = 0; e < all.Count() && !found; ++e) {
                    const TElementStyle* el = all.Items(e);
                    if (el->StyleType() != stKeyword || !el->HasKeyword(key)) continue;
                    found = true;
                    st.IsKeyword = 1;
                    st.StyleIndex = e;
                    if (sty->CustomDraw && emitting) {
                        run.Flush();
                        (*run.emit)(word, st, true);
                        run.start = run.end = run.end + word.size();
                        run.style = st;
                        st.IsNumber = st.IsKeyword = st.IsSymbol = st.IsURL = 0;
                    } else {
                        run.Add(word.size(), st);
                    }
                }
                if (found) {
                    i = k;
                    continue;
                }
            }
        }
        // A plain character, in the comment or bracket style when one is in force.
        run.Add(1, st);
        lastPlain = true;
        ++i;
    }
}

}  // namespace memo
