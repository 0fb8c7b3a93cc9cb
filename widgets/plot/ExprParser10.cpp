#include "widgets/plot/ExprParser10.h"

#include <cmath>
#include <initializer_list>
#include "base/ScopeGuard.h"

namespace plot {

std::uint32_t RandSeed = 0;

Extended Random() {
    RandSeed = RandSeed * 134775813u + 1u;
    return static_cast<Extended>(RandSeed) / 4294967296.0L;
}

namespace {

constexpr Extended Pi = 3.141592653589793238462643383279502884L;
constexpr Extended TwoPower63 = 9223372036854775808.0L;

Extended First(POperation op) { return *op->Operand1; }
Extended Second(POperation op) { return *op->Operand2; }
void Put(POperation op, Extended v) { *op->Target = v; }
void Fail(POperation op) { op->Failed = 1; }

// Truncation toward zero to a signed 64-bit whole number; false when it does not fit.
bool TruncInt64(Extended v, std::int64_t& out) {
    const Extended t = truncl(v);
    if (!(t >= -TwoPower63 && t < TwoPower63)) return false;
    out = static_cast<std::int64_t>(t);
    return true;
}

void DoNothing(POperation) {}
void DoMinus(POperation op) { Put(op, -First(op)); }
void DoSum(POperation op) { Put(op, First(op) + Second(op)); }
void DoDiff(POperation op) { Put(op, First(op) - Second(op)); }
void DoProd(POperation op) { Put(op, First(op) * Second(op)); }

void DoDivis(POperation op) {
    if (Second(op) == 0) return Fail(op);
    Put(op, First(op) / Second(op));
}

void DoModulo(POperation op) {
    std::int64_t a = 0;
    std::int64_t b = 0;
    if (!TruncInt64(First(op), a) || !TruncInt64(Second(op), b) || b == 0) return Fail(op);
    Put(op, b == -1 ? 0 : static_cast<Extended>(a % b));
}

void DoIntDiv(POperation op) {
    std::int64_t a = 0;
    std::int64_t b = 0;
    if (!TruncInt64(First(op), a) || !TruncInt64(Second(op), b) || b == 0) return Fail(op);
    // -2^63 DIV -1 does not fit in 64 bits; the extended result holds it.
    Put(op, b == -1 ? -static_cast<Extended>(a) : static_cast<Extended>(a / b));
}

void DoIntegerPower(POperation op) {
    std::int64_t whole = 0;
    if (!TruncInt64(Second(op), whole)) return Fail(op);
    const auto n = static_cast<std::int32_t>(static_cast<std::uint32_t>(static_cast<std::uint64_t>(whole)));
    std::int64_t e = n < 0 ? -static_cast<std::int64_t>(n) : n;
    Extended base = First(op);
    Extended result = 1;
    while (e > 0) {
        if (e & 1) result *= base;
        base *= base;
        e >>= 1;
    }
    Put(op, n < 0 ? 1 / result : result);
}

void DoRealPower(POperation op) {
    if (First(op) <= 0) return Fail(op);
    Put(op, powl(First(op), Second(op)));
}

void DoSquare(POperation op) { Put(op, First(op) * First(op)); }
void DoThird(POperation op) { Put(op, First(op) * First(op) * First(op)); }
void DoFourth(POperation op) {
    const Extended x = First(op);
    Put(op, (x * x) * (x * x));
}

TMathProcedure RoutineOf(TToken token) {
    switch (token) {
        case minus: return DoMinus;
        case sum: return DoSum;
        case diff: return DoDiff;
        case prod: return DoProd;
        case divis: return DoDivis;
        case modulo: return DoModulo;
        case IntDiv: return DoIntDiv;
        case integerpower: return DoIntegerPower;
        case realpower: return DoRealPower;
        case square: return DoSquare;
        case third: return DoThird;
        case fourth: return DoFourth;
        default: return DoNothing;
    }
}

void FnTan(POperation op) {
    const Extended c = cosl(First(op));
    if (c == 0) return Fail(op);
    Put(op, sinl(First(op)) / c);
}
// The x87 sine and cosine give up at 2^63 and more; 0 stands for that.
void FnSin(POperation op) { Put(op, fabsl(First(op)) >= TwoPower63 ? 0 : sinl(First(op))); }
void FnCos(POperation op) { Put(op, fabsl(First(op)) >= TwoPower63 ? 0 : cosl(First(op))); }
void FnSinh(POperation op) { Put(op, (expl(First(op)) - expl(-First(op))) * 0.5L); }
void FnCosh(POperation op) { Put(op, (expl(First(op)) + expl(-First(op))) * 0.5L); }
void FnArcTan(POperation op) { Put(op, atanl(First(op))); }
void FnCotan(POperation op) {
    if (First(op) == 0) return Fail(op);
    Put(op, 1 / tanl(First(op)));
}
void FnExp(POperation op) { Put(op, expl(First(op))); }
void FnLn(POperation op) {
    if (First(op) <= 0) return Fail(op);
    Put(op, logl(First(op)));
}
void FnLog10(POperation op) {
    if (First(op) <= 0) return Fail(op);
    Put(op, log10l(First(op)));
}
void FnLog2(POperation op) {
    if (First(op) <= 0) return Fail(op);
    Put(op, log2l(First(op)));
}
void FnSqrt(POperation op) {
    if (First(op) < 0) return Fail(op);
    Put(op, sqrtl(First(op)));
}
void FnAbs(POperation op) { Put(op, fabsl(First(op))); }
void FnTrunc(POperation op) { Put(op, truncl(First(op))); }
void FnCeil(POperation op) {
    const Extended x = First(op);
    Put(op, x - truncl(x) > 0 ? truncl(x + 1) : truncl(x));
}
void FnFloor(POperation op) {
    const Extended x = First(op);
    Put(op, x - truncl(x) >= 0 ? truncl(x) : truncl(x - 1));
}
void FnHeav(POperation op) { Put(op, First(op) >= 0 ? 1 : 0); }
void FnSign(POperation op) {
    const Extended x = First(op);
    Put(op, x > 0 ? 1 : (x < 0 ? -1 : 0));
}
void FnZero(POperation op) { Put(op, First(op) == 0 ? 0 : 1); }
void FnPh(POperation op) {
    const Extended y = First(op) / 0.6366197723675813431L;
    Put(op, (y - nearbyintl(y)) * (2 * Pi));  // the default rounding mode sends halves to even
}
void FnRnd(POperation op) { Put(op, truncl(First(op)) * Random()); }
void FnRandom(POperation op) { Put(op, Random()); }
void FnMax(POperation op) { Put(op, First(op) >= Second(op) ? First(op) : Second(op)); }
void FnMin(POperation op) { Put(op, First(op) < Second(op) ? First(op) : Second(op)); }
void FnArg(POperation op) {
    const Extended a = First(op);
    const Extended b = Second(op);
    if (a > 0)
        Put(op, atanl(b / a));
    else if (a < 0)
        Put(op, atanl(b / a) + Pi);
    else if (a == 0)
        Put(op, b > 0 ? Pi / 2 : -Pi / 2);
    else
        Put(op, a);  // not a number
}
void FnLogN(POperation op) {
    if (First(op) <= 0 || Second(op) <= 0) return Fail(op);
    Put(op, log2l(Second(op)) / log2l(First(op)));
}

bool IsIdentifier(const std::string& name) {
    if (name.empty()) return false;
    auto letter = [](char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_'; };
    if (!letter(name[0])) return false;
    for (char c : name)
        if (!letter(c) && !(c >= '0' && c <= '9')) return false;
    return true;
}

std::string UpperName(const std::string& name) {
    std::string u = name;
    for (char& c : u)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return u;
}

}  // namespace

// ---- TCustomExprParser ----

TCustomExprParser::TCustomExprParser() = default;

TCustomExprParser::~TCustomExprParser() {
    FreeExpression();
    ClearVariables();
}

void TCustomExprParser::SetExpression(const std::string& Value) {
    ParseExpression(Value);
}

bool TCustomExprParser::ParseExpression(const std::string& Text) {
    FreeExpression();
    expression_ = Text;
    if (Text.empty()) return false;
    bool error = false;
    try {
        ParseFunction(Text, variables_, functionOne_, functionTwo_, pascalNumberformat_, compiled_, error);
    } catch (const base::Exception& e) {
        compiled_ = nullptr;
        if (!OnParserError) throw;
        OnParserError(*this, e);
        return false;
    }
    for (POperation op = compiled_; op; op = op->Next)
        if (op->Token != FuncOneVar && op->Token != FuncTwoVar) op->Routine = RoutineOf(op->Token);
    return true;
}

Extended TCustomExprParser::CalcValue() {
    if (!compiled_) return 0;
    calcError_ = false;
    POperation op = compiled_;
    auto run = [this](POperation o) {
        o->Failed = 0;
        if (o->Routine) o->Routine(o);
        calcError_ = o->Failed != 0;
    };
    while (op->Next && !calcError_) {
        run(op);
        op = op->Next;
    }
    if (!calcError_) run(op);
    return *op->Target;
}

void TCustomExprParser::FreeExpression() {
    FreeOperationList(compiled_);
    compiled_ = nullptr;
}

PExtended TCustomExprParser::BuiltInStorage(const std::string& upperName) {
    if (upperName.size() != 1) return nullptr;
    switch (upperName[0]) {
        case 'A': return &fA;
        case 'B': return &fB;
        case 'C': return &fC;
        case 'D': return &fD;
        case 'E': return &fE;
        case 'X': return &fX;
        case 'Y': return &fY;
        case 'T': return &fT;
        default: return nullptr;
    }
}

bool TCustomExprParser::IsBuiltIn(PExtended p) const {
    return p == &fA || p == &fB || p == &fC || p == &fD || p == &fE || p == &fX || p == &fY || p == &fT;
}

PExtended TCustomExprParser::SetVariable(const std::string& VarName, Extended Value) {
    const std::string name = UpperName(VarName);
    int index = 0;
    if (variables_.Find(name, index)) {
        PExtended p = variables_.Object(index);
        *p = Value;
        return p;
    }
    PExtended p = BuiltInStorage(name);
    if (!p) {
        if (!IsIdentifier(name)) throw EBadName(name);
        p = new Extended(0);
    }
    {
        base::ScopeFail undo([&] { if (!IsBuiltIn(p)) delete p; });
        variables_.Add(name, p);
    }
    *p = Value;
    return p;
}

Extended TCustomExprParser::GetVariable(const std::string& VarName) const {
    const PExtended p = variables_.Lookup(VarName);
    return p ? *p : 0;
}

bool TCustomExprParser::VariableExists(const std::string& VarName) const {
    int index = 0;
    return variables_.Find(VarName, index);
}

void TCustomExprParser::ClearVariable(const std::string& VarName) {
    // The compiled list may read this storage; it goes first.
    SetExpression("");
    int index = 0;
    if (variables_.Find(VarName, index)) {
        PExtended p = variables_.Object(index);
        variables_.Delete(index);
        if (!IsBuiltIn(p)) delete p;
    }
}

void TCustomExprParser::ClearVariables() {
    FreeExpression();
    for (int i = 0; i < variables_.Count(); ++i) {
        PExtended p = variables_.Object(i);
        if (!IsBuiltIn(p)) delete p;
    }
    variables_.Clear();
    SetExpression("");
}

void TCustomExprParser::AddFunctionOneParam(const std::string& FunctionName, TMathProcedure Proc) {
    if (!IsIdentifier(FunctionName)) throw EBadName(FunctionName);
    functionOne_.Add(FunctionName, Proc);
}

void TCustomExprParser::AddFunctionTwoParam(const std::string& FunctionName, TMathProcedure Proc) {
    if (!IsIdentifier(FunctionName)) throw EBadName(FunctionName);
    functionTwo_.Add(FunctionName, Proc);
}

void TCustomExprParser::ClearFunction(const std::string& FunctionName) {
    int index = 0;
    if (functionOne_.Find(FunctionName, index)) {
        SetExpression("");
        functionOne_.Delete(index);
    } else if (functionTwo_.Find(FunctionName, index)) {
        SetExpression("");
        functionTwo_.Delete(index);
    }
}

void TCustomExprParser::ClearFunctions() {
    functionOne_.Clear();
    functionTwo_.Clear();
    SetExpression("");
}

std::string TCustomExprParser::RemoveBlanks(const std::string& S) {
    std::string r;
    r.reserve(S.size());
    for (char c : S)
        if (c != ' ') r += c;
    return r;
}

// ---- TExprParser ----

TExprParser::TExprParser() {
    for (const char* name : {"A", "B", "C", "D", "E", "X", "Y", "T"}) SetVariable(name, 0);
    AddFunctionOneParam("TAN", FnTan);
    AddFunctionOneParam("SIN", FnSin);
    AddFunctionOneParam("COS", FnCos);
    AddFunctionOneParam("SINH", FnSinh);
    AddFunctionOneParam("COSH", FnCosh);
    AddFunctionOneParam("ARCTAN", FnArcTan);
    AddFunctionOneParam("COTAN", FnCotan);
    AddFunctionOneParam("EXP", FnExp);
    AddFunctionOneParam("LN", FnLn);
    AddFunctionOneParam("LOG10", FnLog10);
    AddFunctionOneParam("LOG2", FnLog2);
    AddFunctionOneParam("SQR", DoSquare);
    AddFunctionOneParam("SQRT", FnSqrt);
    AddFunctionOneParam("ABS", FnAbs);
    AddFunctionOneParam("TRUNC", FnTrunc);
    AddFunctionOneParam("INT", FnTrunc);
    AddFunctionOneParam("CEIL", FnCeil);
    AddFunctionOneParam("FLOOR", FnFloor);
    AddFunctionOneParam("HEAV", FnHeav);
    AddFunctionOneParam("SIGN", FnSign);
    AddFunctionOneParam("ZERO", FnZero);
    AddFunctionOneParam("PH", FnPh);
    AddFunctionOneParam("RND", FnRnd);
    AddFunctionOneParam("RANDOM", FnRandom);
    AddFunctionTwoParam("MAX", FnMax);
    AddFunctionTwoParam("MIN", FnMin);
    AddFunctionTwoParam("ARG", FnArg);
    AddFunctionTwoParam("POWER", DoRealPower);
    AddFunctionTwoParam("INTPOWER", DoIntegerPower);
    AddFunctionTwoParam("LOGN", FnLogN);
}

}  // namespace plot
