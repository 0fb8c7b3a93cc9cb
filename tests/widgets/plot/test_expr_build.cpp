#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <memory>
#include <map>
#include <string>
#include <vector>

#include "base/StrUtils.h"
#include "widgets/plot/ExprBuild.h"

using namespace plot;

namespace {

void One(POperation) {}
void Two(POperation) {}
void Other(POperation) {}

const char* TokenName(TToken t) {
    static const char* names[] = {"variab", "constant", "minus", "sum", "diff", "prod",
                                  "divis", "modulo", "IntDiv", "integerpower", "realpower",
                                  "square", "third", "fourth", "FuncOneVar", "FuncTwoVar"};
    return names[t];
}

// Name tables as the evaluator hands them over: variables X, Y, E; functions SIN,
// COS (one argument), MAX, MIN (two) and F in both tables.
struct Tables {
    Extended x = 0, y = 0, e = 0;
    TVariableTable vars;
    TFunctionTable one{TFunctionTable::Duplicates::Error};
    TFunctionTable two{TFunctionTable::Duplicates::Error};
    Tables() {
        vars.Add("X", &x);
        vars.Add("Y", &y);
        vars.Add("E", &e);
        one.Add("SIN", One);
        one.Add("COS", One);
        one.Add("F", One);
        two.Add("MAX", Two);
        two.Add("MIN", Two);
        two.Add("F", Other);
    }
    std::string VarName(PExtended p) const {
        for (int i = 0; i < vars.Count(); ++i)
            if (vars.Object(i) == p) return vars.Name(i);
        return "";
    }
};

struct Compiled {
    POperation first = nullptr;
    bool error = false;
    std::string failure;  // "" when compiled
    std::string shape;
    int operations = 0;
    ~Compiled() { FreeOperationList(first); }
};

// Renders the list as nested calls; an operand that is the target of an earlier
// operation shows that operation, so a list in the wrong order shows up as 0.
std::string Render(POperation first, const Tables& t, int& count) {
    std::map<PExtended, std::string> produced;
    std::string last;
    count = 0;
    auto operand = [&](PExtended p) -> std::string {
        if (!p) return "null";
        std::string name = t.VarName(p);
        if (!name.empty()) return name;
        if (auto it = produced.find(p); it != produced.end()) return it->second;
        char buf[64];
        std::snprintf(buf, sizeof buf, "%.10Lg", *p);
        return buf;
    };
    for (POperation op = first; op; op = op->Next) {
        ++count;
        std::string s = TokenName(op->Token);
        if (op->Token == FuncOneVar || op->Token == FuncTwoVar)
            s += op->Routine == One ? "[one]" : op->Routine == Two ? "[two]" : "[other]";
        else if (op->Routine)
            s += "[routine?]";
        s += "(" + operand(op->Operand1);
        if (op->Operand2) s += "," + operand(op->Operand2);
        s += ")";
        if (op->Token == variab && op->Target != op->Operand1) s += "[target?]";
        produced[op->Target] = s;
        last = s;
    }
    return last;
}

std::unique_ptr<Compiled> Compile(const std::string& text, const Tables& t, bool pascal = true) {
    auto c = std::make_unique<Compiled>();
    c->error = true;  // must be cleared on entry
    try {
        ParseFunction(text, t.vars, t.one, t.two, pascal, c->first, c->error);
        c->shape = Render(c->first, t, c->operations);
    } catch (const EMathParserError& e) {
        EXPECT_EQ(c->first, nullptr) << text;
        c->failure = e.Message();
    }
    return c;
}

std::string Repeat(const std::string& piece, int n, const std::string& sep = "") {
    std::string s;
    for (int i = 0; i < n; ++i) s += (i ? sep : "") + piece;
    return s;
}

std::string NestedCall(const std::string& name, int depth, const std::string& inner) {
    return Repeat(name + "(", depth) + inner + std::string(depth, ')');
}

// A complete binary tree of MAX calls: level k holds 2^(k-1) operations.
std::string MaxTree(int depth) {
    if (depth == 0) return "X";
    const std::string sub = MaxTree(depth - 1);
    return "MAX(" + sub + "," + sub + ")";
}

}  // namespace

TEST(ExprBuild, CompilesToOperationLists) {
    const std::vector<std::pair<std::string, std::string>> table = {
        {"  X  ", "variab(X)"},
        {"x+1", "sum(X,1)"},
        {"X+1", "sum(X,1)"},
        {"((X+1))", "sum(X,1)"},
        {"(((X)))", "variab(X)"},
        {"5", "variab(5)"},
        {"-2", "variab(-2)"},
        {"PI", "variab(3.141592654)"},
        {"-PI", "variab(-3.141592654)"},
        {"-X", "minus(X)"},
        {"-X-1", "diff(minus(X),1)"},
        {"-X^2", "minus(square(X))"},
        {"-X*2", "prod(minus(X),2)"},
        {"-(X+1)", "minus(sum(X,1))"},
        {"X+-1", "sum(X,-1)"},
        {"X*-1", "prod(X,-1)"},
        {"X*(-Y)", "prod(X,minus(Y))"},
        // A sign alone is a number with an empty mantissa, as "." is.
        {"--X", "diff(-0,X)"},
        {"X++", "sum(X,0)"},
        {"X^2", "square(X)"},
        {"X^3", "third(X)"},
        {"X^4", "fourth(X)"},
        {"X^5", "integerpower(X,5)"},
        {"X^-1", "integerpower(X,-1)"},
        {"X^0", "integerpower(X,0)"},
        {"X^2.0", "square(X)"},
        {"X^0.5", "realpower(X,0.5)"},
        {"X^Y", "realpower(X,Y)"},
        {"X^(1+1)", "realpower(X,sum(1,1))"},
        {"X^PI", "realpower(X,3.141592654)"},
        {"X^3000000000", "realpower(X,3000000000)"},
        {"X^-2147483648", "integerpower(X,-2147483648)"},
        {"(X^Y)^2", "square(realpower(X,Y))"},
        {"X^(Y^2)", "realpower(X,square(Y))"},
        {"X-Y+1", "sum(diff(X,Y),1)"},
        {"X+Y-1", "sum(X,diff(Y,1))"},
        {"X+Y+1", "sum(X,sum(Y,1))"},
        {"X-Y-1", "diff(diff(X,Y),1)"},
        {"X/Y/2", "divis(divis(X,Y),2)"},
        {"X*Y/2", "prod(X,divis(Y,2))"},
        {"X/Y*2", "prod(divis(X,Y),2)"},
        {"X*YDIV2", "prod(X,IntDiv(Y,2))"},
        {"XDIVY*2", "prod(IntDiv(X,Y),2)"},
        {"XDIVY/2", "divis(IntDiv(X,Y),2)"},
        {"7MOD-2", "modulo(7,-2)"},
        {"-7DIV2", "IntDiv(-7,2)"},
        {"X+Y*2", "sum(X,prod(Y,2))"},
        {"X*Y+2", "sum(prod(X,Y),2)"},
        {"SIN(X)", "FuncOneVar[one](X)"},
        {"sin((x+1))", "FuncOneVar[one](sum(X,1))"},
        {"MAX(X,MIN(1,2))", "FuncTwoVar[two](X,FuncTwoVar[two](1,2))"},
        {"MAX((X),(Y))", "FuncTwoVar[two](X,Y)"},
        {"F(X)", "FuncOneVar[one](X)"},
        {"F(X,Y)", "FuncTwoVar[other](X,Y)"},
        {"SIN(X)^2", "square(FuncOneVar[one](X))"},
        {"-SIN(X)", "minus(FuncOneVar[one](X))"},
        {"1E3", "variab(1000)"},
        {"1.5E-2", "variab(0.015)"},
        {"E+5", "variab(0)"},
        {"E5", "variab(0)"},
        {".", "variab(0)"},
        {"E", "variab(E)"},
        {"E*1+5", "sum(prod(E,1),5)"},
        {"X*1E-5", "prod(X,1e-05)"},
        {"(X+1)*(Y-1)", "prod(sum(X,1),diff(Y,1))"},
    };
    Tables t;
    for (const auto& [text, shape] : table) {
        auto c = Compile(text, t);
        EXPECT_EQ(c->failure, "") << text;
        EXPECT_EQ(c->shape, shape) << text;
        EXPECT_FALSE(c->error) << text;
    }
}

TEST(ExprBuild, ListRunsInnerOperationsFirst) {
    Tables t;
    auto c = Compile("MAX(X,MIN(1,2))", t);
    ASSERT_NE(c->first, nullptr);
    ASSERT_NE(c->first->Next, nullptr);
    EXPECT_EQ(c->first->Token, FuncTwoVar);
    EXPECT_EQ(c->first->Target, c->first->Next->Operand2);
    EXPECT_EQ(c->first->Next->Next, nullptr);
    // Variables are read through their own storage, never copied.
    EXPECT_EQ(c->first->Next->Operand1, &t.x);
}

TEST(ExprBuild, PlaceholderSharesItsCell) {
    Tables t;
    auto n = Compile("5", t);
    ASSERT_NE(n->first, nullptr);
    EXPECT_EQ(n->first->Token, variab);
    EXPECT_EQ(n->first->Operand1, n->first->Target);
    EXPECT_EQ(n->first->Operand2, nullptr);
    EXPECT_EQ(n->first->Next, nullptr);
    EXPECT_EQ(*n->first->Target, 5);
    auto v = Compile("X", t);
    EXPECT_EQ(v->first->Operand1, &t.x);
    EXPECT_EQ(v->first->Target, &t.x);
}

TEST(ExprBuild, NestingAndComplexityLimits) {
    struct Case {
        std::string text;
        std::string failure;
        int operations;
    };
    const std::vector<Case> cases = {
        {Repeat("X", 21, "+"), "", 20},
        {Repeat("X", 22, "+"), "Expression contains too many nestings", 0},
        {Repeat("X", 21, "-"), "", 20},
        {Repeat("X", 22, "-"), "Expression contains too many nestings", 0},
        {NestedCall("SIN", 20, "X"), "", 20},
        {NestedCall("SIN", 21, "X"), "Expression contains too many nestings", 0},
        {MaxTree(6), "", 63},
        {MaxTree(7), "Expression is too complex", 0},
        // Redundant brackets make no operations.
        {NestedCall("", 100, "X") + "+1", "", 1},
    };
    Tables t;
    for (const auto& c : cases) {
        auto r = Compile(c.text, t);
        EXPECT_EQ(r->failure, c.failure) << c.text;
        if (c.failure.empty()) {
            EXPECT_EQ(r->operations, c.operations) << c.text;
        } else {
            EXPECT_TRUE(r->error) << c.text;
        }
    }
}

TEST(ExprBuild, BadExpressionsGiveMessages) {
    struct Case {
        std::string text;
        std::string message;
        bool errorFlag;
    };
    const std::vector<Case> cases = {
        {"X + 1", "Expression has blanks", false},
        {"X\t+1", "Error parsing expression:\rX\t\r1", true},
        {"(X", "Missing brackets in expression", false},
        {"X)", "Missing brackets in expression", false},
        {")X(", "Error parsing expression:\r)X(", true},
        {"X+", "Error parsing expression:\rX+", true},
        {"X+*Y", "Error parsing expression:\rX+\rY", true},
        {"X+-Y", "Error parsing expression:\rX+\rY", true},
        {"X*-Y", "Error parsing expression:\rX\r-Y", true},
        {"X^Y^2", "Error parsing expression:\rX^Y\r2", true},
        {"SIN(X,1)", "Error parsing expression:\rX,1\r ", true},
        {"MAX(X)", "Error parsing expression:\rMAX(X)", true},
        {"Z", "Error parsing expression:\rZ", true},
        {"Z+1", "Error parsing expression:\rZ\r1", true},
        {"((Q))", "Error parsing expression:\r((Q))", true},
        {"((X+Q))", "Error parsing expression:\r((X\rQ))", true},
        {"()", "Error parsing expression:\r()", true},
        {"", "Error parsing expression:\r", true},
                {"+X", "Error parsing expression:\r+X", true},
        {"1..2", "Error parsing expression:\r1..2", true},
        {"1E", "Error parsing expression:\r1E", true},
        {"COS", "Error parsing expression:\rCOS", true},
        {"MAX(,1)", "Error parsing expression:\rMAX(,1)", true},
        {Repeat("X", 30, "+") + "+", "Error parsing expression:\r" + Repeat("X", 29, "+") + "\rX+", true},
    };
    Tables t;
    for (const auto& c : cases) {
        auto r = Compile(c.text, t);
        EXPECT_EQ(r->failure, c.message) << c.text;
        EXPECT_EQ(r->error, c.errorFlag) << c.text;
    }
}

TEST(ExprBuild, ExceptionClasses) {
    Tables t;
    auto kind = [&](const std::string& text) -> std::string {
        POperation first = nullptr;
        bool error = false;
        try {
            ParseFunction(text, t.vars, t.one, t.two, true, first, error);
        } catch (const EExpressionHasBlanks&) {
            return "blanks";
        } catch (const EMissMatchingBracket&) {
            return "brackets";
        } catch (const ESyntaxError&) {
            return "syntax";
        } catch (const ETooManyNestings&) {
            return "nestings";
        } catch (const EExpressionTooComplex&) {
            return "complex";
        }
        FreeOperationList(first);
        return "ok";
    };
    EXPECT_EQ(kind("X 1"), "blanks");
    EXPECT_EQ(kind("(X"), "brackets");
    EXPECT_EQ(kind("X+"), "syntax");
    EXPECT_EQ(kind(NestedCall("SIN", 21, "X")), "nestings");
    EXPECT_EQ(kind(MaxTree(7)), "complex");
    EXPECT_EQ(kind("X"), "ok");
    // Blanks are tested before brackets.
    EXPECT_EQ(kind("(X +1"), "blanks");
}

TEST(ExprBuild, LocaleNumbers) {
    Tables t;
    const char saved = base::DecimalSeparator();
    base::SetDecimalSeparator(',');
    auto a = Compile("MAX(1,5,2)", t, false);
    auto b = Compile("2,5", t, false);
    auto c = Compile("2.5", t, false);
    auto d = Compile("1,5E2", t, false);
    auto e = Compile("E5", t, false);
    base::SetDecimalSeparator(saved);
    EXPECT_EQ(a->shape, "FuncTwoVar[two](1,5.2)");
    EXPECT_EQ(b->shape, "variab(2.5)");
    EXPECT_EQ(c->failure, "Error parsing expression:\r2.5");
    EXPECT_EQ(d->shape, "variab(150)");
    // The locale conversion needs a digit: E5 is not a number there.
    EXPECT_EQ(e->failure, "Error parsing expression:\rE5");
}

TEST(ExprBuild, ExtremeNumberLiterals) {
    Tables t;
    auto big = Compile("1E4000", t);
    auto tiny = Compile("1E-5000", t);
    auto huge = Compile("1E99999", t);
    ASSERT_NE(big->first, nullptr);
    EXPECT_NEAR(static_cast<double>(log10l(*big->first->Target)), 4000.0, 1e-9);
    EXPECT_EQ(*tiny->first->Target, 0);
    EXPECT_TRUE(std::isinf(static_cast<double>(*huge->first->Target)));
}
