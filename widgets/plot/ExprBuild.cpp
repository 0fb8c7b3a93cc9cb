#include "widgets/plot/ExprBuild.h"

#include <locale.h>
#include <stdlib.h>

#include <algorithm>
#include <climits>
#include <memory>
#include <unordered_map>

#include "base/StrUtils.h"

namespace plot {

namespace {

constexpr int MaxLevels = 20;
constexpr int MaxOperationsPerLevel = 50;
constexpr Extended Pi = 3.141592653589793238462643383279502884L;

char Upper(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

// An operation together with the cells it owns: its result and the numbers that
// are its operands. Releasing the block releases each cell exactly once.
struct OperationBlock : TOperation {
    Extended result = 0;
    Extended numbers[2] = {0, 0};
};

enum Form : int { fV, fN, fB, fU, fS, fD, fM, fI, fO, fQ, fP, fF1, fF2, fValid, fFormCount };

constexpr Form kSumLeft[] = {fV, fN, fB, fU, fD, fM, fI, fO, fQ, fP, fF1, fF2};
constexpr Form kSumRight[] = {fV, fN, fB, fS, fD, fM, fI, fO, fQ, fP, fF1, fF2};
constexpr Form kDiffLeft[] = {fV, fN, fB, fU, fD, fM, fI, fO, fQ, fP, fF1, fF2};
constexpr Form kDiffRight[] = {fV, fN, fB, fM, fI, fO, fQ, fP, fF1, fF2};
constexpr Form kProdLeft[] = {fV, fN, fB, fU, fI, fO, fQ, fP, fF1, fF2};
constexpr Form kProdRight[] = {fV, fN, fB, fM, fI, fO, fQ, fP, fF1, fF2};
constexpr Form kDivLeft[] = {fV, fN, fB, fU, fI, fO, fQ, fP, fF1, fF2};
constexpr Form kDivRight[] = {fV, fN, fB, fP, fF1, fF2};
constexpr Form kPowLeft[] = {fV, fN, fB, fF1, fF2};
constexpr Form kPowRight[] = {fN, fV, fB, fF1, fF2};
constexpr Form kNegOperand[] = {fB, fV, fP, fF1, fF2};

struct FormList {
    const Form* forms;
    int count;
};
template <std::size_t N>
constexpr FormList List(const Form (&a)[N]) {
    return FormList{a, static_cast<int>(N)};
}

struct SplitRule {
    const char* op;  // one character, or the words DIV and MOD
    FormList left;
    FormList right;
    TToken token;
};

SplitRule RuleOf(Form f) {
    switch (f) {
        case fS: return {"+", List(kSumLeft), List(kSumRight), sum};
        case fD: return {"-", List(kDiffLeft), List(kDiffRight), diff};
        case fM: return {"*", List(kProdLeft), List(kProdRight), prod};
        case fI: return {"DIV", List(kDivLeft), List(kDivRight), IntDiv};
        case fO: return {"MOD", List(kDivLeft), List(kDivRight), modulo};
        case fQ: return {"/", List(kDivLeft), List(kDivRight), divis};
        default: return {"^", List(kPowLeft), List(kPowRight), realpower};
    }
}

constexpr std::string_view kOperators[] = {"+", "-", "*", "/", "^", "DIV", "MOD", ",", "("};
constexpr int kOperatorCount = 9;
constexpr int kComma = 7;
constexpr int kOpenBracket = 8;

int OperatorIndex(std::string_view op) {
    for (int k = 0; k < kOperatorCount; ++k)
        if (kOperators[k] == op) return k;
    return 0;
}

struct Span {
    int pos = 0;
    int len = 0;
};

// The two operand texts a term's recognition steps leave behind; they make up
// the syntax error message.
// A text that no step has written is the single blank (pos -1).
struct Texts {
    Span left{-1, 0};
    Span right{-1, 0};
};

// What a successful recognition found.
struct Match {
    Form form = fValid;
    Span left;
    Span right;
    Form rightForm = fValid;
};

class Compiler {
public:
    Compiler(std::string text, const TVariableTable& vars, const TFunctionTable& one,
             const TFunctionTable& two, bool pascal, bool& error)
        : s_(std::move(text)),
          vars_(vars),
          one_(one),
          two_(two),
          pascal_(pascal),
          sep_(pascal ? '.' : base::DecimalSeparator()),
          error_(error) {
        for (int i = 0; i < static_cast<int>(s_.size()); ++i) {
            for (int k = 0; k < kOperatorCount; ++k)
                if (std::string_view(s_).substr(i, kOperators[k].size()) == kOperators[k]) occurrences_[k].push_back(i);
        }
        opens_.assign(s_.size() + 1, 0);
        closes_.assign(s_.size() + 1, 0);
        for (std::size_t i = 0; i < s_.size(); ++i) {
            opens_[i + 1] = opens_[i] + (s_[i] == '(' ? 1 : 0);
            closes_[i + 1] = closes_[i] + (s_[i] == ')' ? 1 : 0);
        }
    }

    POperation Compile();

private:
    std::string_view View(Span t) const { return std::string_view(s_).substr(t.pos, t.len); }
    std::string Text(Span t) const { return std::string(View(t)); }
    char At(Span t, int i) const { return s_[t.pos + i]; }
    static Span Inner(Span t) { return Span{t.pos + 1, t.len - 2}; }
    // Occurrences of operator k that lie wholly inside t.
    std::pair<const int*, const int*> Occurrences(int k, Span t) const {
        const auto& v = occurrences_[k];
        const int w = static_cast<int>(kOperators[k].size());
        auto lo = std::lower_bound(v.begin(), v.end(), t.pos);
        auto hi = std::upper_bound(lo, v.end(), t.pos + t.len - w);
        return {v.data() + (lo - v.begin()), v.data() + (hi - v.begin())};
    }
    // Offset of the first "(" in t, -1 when there is none.
    int FirstOpenBracket(Span t) const {
        auto [b, e] = Occurrences(kOpenBracket, t);
        return b == e ? -1 : *b - t.pos;
    }
    // Offset of the "(" after a name that table holds, 0 when t does not start so.
    int CalledName(Span t, const TFunctionTable& table) const {
        const int ip = FirstOpenBracket(t);
        if (ip <= 0) return 0;
        int index = 0;
        return table.Find(View(Span{t.pos, ip}), index) ? ip : 0;
    }
    bool Balanced(Span t) const {
        return opens_[t.pos + t.len] - opens_[t.pos] == closes_[t.pos + t.len] - closes_[t.pos];
    }

    template <typename E>
    [[noreturn]] void Fail(const E& e) {
        error_ = true;
        throw e;
    }
    void Step() {
        if (++steps_ > MaxValidationSteps) Fail(EExpressionTooComplex("Expression is too complex"));
    }

    bool Is(Form f, Span t);
    bool Plausible(Form f, Span t) const;
    bool Check(Form f, Span t, Texts* store, Match* match);
    bool Valid(Span t);
    Form Allowed(Span t, FormList list);
    Span Strip(Span t);
    bool Number(Span t, Extended* value) const;
    bool CheckNegation(Span t, Texts* store, Match* match);
    bool CheckSplit(Form f, Span t, Texts* store, Match* match);
    bool CheckCallOne(Span t, Texts* store, Match* match);
    bool CheckCallTwo(Span t, Texts* store, Match* match);
    bool Classify(Span t, bool numberFirst, Texts* store, Match& match);
    void Build(Span t, OperationBlock* consumer, int consumerLevel, bool asFirst, bool numberFirst);

    std::string s_;
    const TVariableTable& vars_;
    const TFunctionTable& one_;
    const TFunctionTable& two_;
    bool pascal_;
    char sep_;
    bool& error_;
    // Positions of each operator, so that a piece's split points are found without scanning.
    std::vector<int> occurrences_[kOperatorCount];
    std::vector<int> opens_;
    std::vector<int> closes_;
    std::unordered_map<std::uint64_t, std::uint32_t> memo_;
    int depth_ = 0;
    long steps_ = 0;
    std::vector<std::unique_ptr<OperationBlock>> blocks_;
    std::vector<std::vector<OperationBlock*>> levels_ = std::vector<std::vector<OperationBlock*>>(MaxLevels + 1);
};

// Memoised recognition without side effects. Every text examined is a piece of the
// prepared expression, so a piece and a form identify a result.
bool Compiler::Is(Form f, Span t) {
    if (t.len <= 0 || !Plausible(f, t)) return false;
    if (f == fV) return Check(fV, t, nullptr, nullptr);
    const std::uint64_t key = (static_cast<std::uint64_t>(t.pos) << 32) | static_cast<std::uint32_t>(t.len);
    // Two bits per form: known, and the result. The reference survives rehashing.
    std::uint32_t& bits = memo_[key];
    const std::uint32_t known = 1u << (2 * f);
    const std::uint32_t value = 2u << (2 * f);
    if (bits & known) return (bits & value) != 0;
    if (++depth_ > MaxValidationDepth) Fail(ETooManyNestings("Expression contains too many nestings"));
    Step();
    const bool result = (f == fValid) ? Valid(t) : Check(f, t, nullptr, nullptr);
    --depth_;
    bits |= known | (result ? value : 0u);
    return result;
}

// Cheap necessary conditions, tested before any recursion or memo look-up.
bool Compiler::Plausible(Form f, Span t) const {
    const char first = At(t, 0);
    const char last = At(t, t.len - 1);
    switch (f) {
        case fV: return true;
        case fN: return (first >= '0' && first <= '9') || first == '+' || first == '-' || first == sep_ ||
                        first == 'E' || first == 'P';
        case fB: return first == '(' && last == ')';
        case fU: return first == '-';
        case fF1:
        case fF2: return last == ')' && FirstOpenBracket(t) > 0;
        case fValid: return true;
        default: {
            auto [b, e] = Occurrences(OperatorIndex(RuleOf(f).op), t);
            return b != e;
        }
    }
}

bool Compiler::Valid(Span t) {
    static constexpr Form order[] = {fN, fV, fU, fS, fD, fM, fI, fO, fQ, fP, fF2, fF1, fB};
    for (Form f : order)
        if (Is(f, t)) return true;
    return false;
}

Form Compiler::Allowed(Span t, FormList list) {
    for (int i = 0; i < list.count; ++i)
        if (Is(list.forms[i], t)) return list.forms[i];
    return fValid;  // none
}

Span Compiler::Strip(Span t) {
    while (Is(fB, t)) t = Inner(t);
    return t;
}

bool Compiler::Check(Form f, Span t, Texts* store, Match* match) {
    if (t.len <= 0) return false;
    switch (f) {
        case fV: {
            int i = 0;
            return vars_.Find(View(t), i);
        }
        case fN: return Number(t, nullptr);
        case fB: return t.len >= 2 && At(t, 0) == '(' && At(t, t.len - 1) == ')' && Is(fValid, Inner(t));
        case fU: return CheckNegation(t, store, match);
        case fF1: return CheckCallOne(t, store, match);
        case fF2: return CheckCallTwo(t, store, match);
        case fValid: return Valid(t);
        default: return CheckSplit(f, t, store, match);
    }
}

bool Compiler::Number(Span t, Extended* value) const {
    const std::string_view v = View(t);
    if (v.empty()) return false;
    if (v == "PI" || v == "-PI") {
        if (value) *value = v[0] == '-' ? -Pi : Pi;
        return true;
    }
    const char sep = sep_;
    auto digit = [](char c) { return c >= '0' && c <= '9'; };
    std::size_t i = 0;
    const std::size_t n = v.size();
    bool negative = false;
    if (v[i] == '+' || v[i] == '-') negative = v[i++] == '-';
    const std::size_t intStart = i;
    while (i < n && digit(v[i])) ++i;
    const std::string_view intDigits = v.substr(intStart, i - intStart);
    std::string_view fracDigits;
    if (i < n && v[i] == sep) {
        const std::size_t fracStart = ++i;
        while (i < n && digit(v[i])) ++i;
        fracDigits = v.substr(fracStart, i - fracStart);
    }
    // The fixed syntax lets the mantissa be empty ("." and "E5" are 0).
    if (!pascal_ && intDigits.empty() && fracDigits.empty()) return false;
    std::string_view expSign;
    std::string_view expDigits;
    bool hasExp = false;
    if (i < n && v[i] == 'E') {
        hasExp = true;
        ++i;
        if (i < n && (v[i] == '+' || v[i] == '-')) expSign = v.substr(i++, 1);
        const std::size_t expStart = i;
        while (i < n && digit(v[i])) ++i;
        expDigits = v.substr(expStart, i - expStart);
        if (expDigits.empty()) return false;
    }
    if (i != n) return false;
    if (value) {
        std::string buf;
        if (negative) buf += '-';
        buf += intDigits.empty() ? std::string_view("0") : intDigits;
        buf += '.';
        buf += fracDigits.empty() ? std::string_view("0") : fracDigits;
        if (hasExp) {
            buf += 'e';
            buf += expSign;
            buf += expDigits;
        }
        static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", locale_t(nullptr));
        *value = strtold_l(buf.c_str(), nullptr, cLocale);
    }
    return true;
}

bool Compiler::CheckNegation(Span t, Texts* store, Match* match) {
    if (At(t, 0) != '-') return false;
    const Span operand{t.pos + 1, t.len - 1};
    if (store) store->left = operand;
    const Form f = Allowed(operand, List(kNegOperand));
    if (f == fValid) return false;
    const Span arg = f == fB ? Strip(operand) : operand;
    if (store && f == fB) store->left = arg;
    if (match) *match = Match{fU, arg, Span{}, fValid};
    return true;
}

bool Compiler::CheckSplit(Form f, Span t, Texts* store, Match* match) {
    const SplitRule rule = RuleOf(f);
    const std::string_view op(rule.op);
    const bool word = op.size() > 1;
    const int w = static_cast<int>(op.size());
    auto [b, e] = Occurrences(OperatorIndex(op), t);
    for (const int* it = b; it != e; ++it) {
        const int i = *it - t.pos;
        Step();
        if (i == 0) {
            if (op == "+") return false;
            continue;
        }
        if (!word && i == t.len - 1) continue;
        const Span left{t.pos, i};
        const Span right{t.pos + i + w, t.len - i - w};
        if (store) {
            store->left = left;
            store->right = right;
        }
        if (!Balanced(left) || !Balanced(right)) continue;
        const Form lf = Allowed(left, rule.left);
        if (lf == fValid) continue;
        const Span l = lf == fB ? Strip(left) : left;
        if (store && lf == fB) store->left = l;
        const Form rf = Allowed(right, rule.right);
        if (rf == fValid) continue;
        const Span r = rf == fB ? Strip(right) : right;
        if (store && rf == fB) store->right = r;
        if (match) *match = Match{f, l, r, rf};
        return true;
    }
    return false;
}

bool Compiler::CheckCallOne(Span t, Texts* store, Match* match) {
    const int ip = CalledName(t, one_);
    if (ip == 0) return false;
    if (store && At(t, t.len - 1) == ')') store->left = Span{t.pos + ip + 1, t.len - ip - 2};
    const Span rest{t.pos + ip, t.len - ip};
    if (!Is(fB, rest)) return false;
    const Span arg = Strip(rest);
    if (store) store->left = arg;
    if (match) *match = Match{fF1, arg, Span{}, fValid};
    return true;
}

bool Compiler::CheckCallTwo(Span t, Texts* store, Match* match) {
    const int ip = CalledName(t, two_);
    if (ip == 0) return false;
    if (At(t, t.len - 1) != ')') return false;
    const Span inner{t.pos + ip + 1, t.len - ip - 2};
    auto [b, e] = Occurrences(kComma, inner);
    for (const int* it = b; it != e; ++it) {
        const int c = *it - inner.pos;
        Step();
        if (c == 0 || c == inner.len - 1) return false;
        Span left{inner.pos, c};
        Span right{inner.pos + c + 1, inner.len - c - 1};
        if (store) store->left = left;
        if (!Is(fValid, left)) continue;
        left = Strip(left);
        if (store) {
            store->left = left;
            store->right = right;
        }
        if (!Is(fValid, right)) continue;
        right = Strip(right);
        if (store) store->right = right;
        if (match) *match = Match{fF2, left, right, fValid};
        return true;
    }
    return false;
}

// Classification order: variable before number, except for the exponent of a
// power, where the number is tried first.
bool Compiler::Classify(Span t, bool numberFirst, Texts* store, Match& match) {
    const Form leaves[2] = {numberFirst ? fN : fV, numberFirst ? fV : fN};
    for (Form f : leaves) {
        if (Is(f, t)) {
            match = Match{f, t, Span{}, fValid};
            return true;
        }
    }
    static constexpr Form order[] = {fU, fS, fD, fM, fI, fO, fQ, fP, fF1, fF2};
    for (Form f : order) {
        Step();
        if (Check(f, t, store, &match)) return true;
    }
    return false;
}

void Compiler::Build(Span t, OperationBlock* consumer, int consumerLevel, bool asFirst, bool numberFirst) {
    Match m;
    if (!Classify(t, numberFirst, nullptr, m)) throw EParserInternalError("TParser internal error");
    PExtended& slot = asFirst ? consumer->Operand1 : consumer->Operand2;
    if (m.form == fV) {
        slot = vars_.Lookup(View(t));
        return;
    }
    if (m.form == fN) {
        Extended& cell = consumer->numbers[asFirst ? 0 : 1];
        Number(t, &cell);
        slot = &cell;
        return;
    }

    TToken token = variab;
    bool twoOperands = true;
    TMathProcedure routine = nullptr;
    switch (m.form) {
        case fU: token = minus; twoOperands = false; break;
        case fF1:
            token = FuncOneVar;
            twoOperands = false;
            routine = one_.Lookup(View(Span{t.pos, FirstOpenBracket(t)}));
            break;
        case fF2:
            token = FuncTwoVar;
            routine = two_.Lookup(View(Span{t.pos, FirstOpenBracket(t)}));
            break;
        case fP: {
            token = realpower;
            Extended e = 0;
            if (m.rightForm == fN && Number(m.right, &e) && e >= INT32_MIN && e <= INT32_MAX &&
                e == static_cast<Extended>(static_cast<std::int32_t>(e))) {
                switch (static_cast<std::int32_t>(e)) {
                    case 2: token = square; break;
                    case 3: token = third; break;
                    case 4: token = fourth; break;
                    default: token = integerpower; break;
                }
                twoOperands = token == integerpower;
            }
            break;
        }
        default: token = RuleOf(m.form).token; break;
    }

    const int level = consumerLevel + 1;
    if (level > MaxLevels) Fail(ETooManyNestings("Expression contains too many nestings"));
    if (static_cast<int>(levels_[level].size()) + 1 > MaxOperationsPerLevel)
        Fail(EExpressionTooComplex("Expression is too complex"));

    blocks_.push_back(std::make_unique<OperationBlock>());
    OperationBlock* op = blocks_.back().get();
    op->Token = token;
    op->Routine = routine;
    op->Target = &op->result;
    slot = op->Target;
    levels_[level].push_back(op);

    Build(m.left, op, level, true, false);
    if (twoOperands) {
        const bool power = token == integerpower || token == realpower;
        Build(m.right, op, level, false, power);
    }
}

POperation Compiler::Compile() {
    const Span root = Strip(Span{0, static_cast<int>(s_.size())});
    Texts texts;
    Match m;
    if (!Classify(root, false, &texts, m)) {
        auto text = [this](Span t) { return t.pos < 0 ? std::string(" ") : Text(t); };
        std::string message = "Error parsing expression:\r";
        if (texts.left.pos >= 0 || texts.right.pos >= 0)
            message += text(texts.left) + "\r" + text(texts.right);
        else
            message += Text(root);
        Fail(ESyntaxError(message));
    }

    // The placeholder at level 0 takes the value of the whole expression.
    auto placeholder = std::make_unique<OperationBlock>();
    Build(root, placeholder.get(), 0, true, false);

    POperation first = nullptr;
    POperation last = nullptr;
    for (int level = MaxLevels; level >= 1; --level) {
        for (OperationBlock* op : levels_[level]) {
            if (last)
                last->Next = op;
            else
                first = op;
            last = op;
        }
    }
    if (!first) {
        placeholder->Target = placeholder->Operand1;
        blocks_.push_back(std::move(placeholder));
        first = blocks_.back().get();
    }
    for (auto& b : blocks_) b.release();
    blocks_.clear();
    return first;
}

}  // namespace

bool NameLess(std::string_view a, std::string_view b) {
    const std::size_t n = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i) {
        const unsigned char ca = static_cast<unsigned char>(Upper(a[i]));
        const unsigned char cb = static_cast<unsigned char>(Upper(b[i]));
        if (ca != cb) return ca < cb;
    }
    return a.size() < b.size();
}

void FreeOperationList(POperation FirstOP) {
    while (FirstOP) {
        POperation next = FirstOP->Next;
        delete static_cast<OperationBlock*>(FirstOP);
        FirstOP = next;
    }
}

void ParseFunction(std::string FunctionString, const TVariableTable& Variables,
                   const TFunctionTable& FunctionOne, const TFunctionTable& FunctionTwo,
                   bool UsePascalNumbers, POperation& FirstOP, bool& Error) {
    Error = false;
    FirstOP = nullptr;

    for (char& c : FunctionString) c = Upper(c);
    const std::size_t begin = FunctionString.find_first_not_of(' ');
    if (begin == std::string::npos) {
        FunctionString.clear();
    } else {
        const std::size_t end = FunctionString.find_last_not_of(' ');
        FunctionString = FunctionString.substr(begin, end - begin + 1);
    }
    if (FunctionString.find(' ') != std::string::npos) throw EExpressionHasBlanks("Expression has blanks");
    std::size_t opens = 0;
    std::size_t closes = 0;
    for (char c : FunctionString) {
        if (c == '(') ++opens;
        if (c == ')') ++closes;
    }
    if (opens != closes) throw EMissMatchingBracket("Missing brackets in expression");
    if (FunctionString.size() > static_cast<std::size_t>(INT_MAX / 2)) {
        Error = true;
        throw EExpressionTooComplex("Expression is too complex");
    }

    Compiler compiler(std::move(FunctionString), Variables, FunctionOne, FunctionTwo, UsePascalNumbers, Error);
    FirstOP = compiler.Compile();
}

}  // namespace plot
