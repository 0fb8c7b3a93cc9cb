#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "base/StrUtils.h"
#include "widgets/plot/ExprParser10.h"

using namespace plot;

namespace {

constexpr Extended kPi = 3.141592653589793238462643383279502884L;

struct ValueCase {
    std::string text;
    Extended x;
    Extended y;
    Extended expected;  // ignored when the evaluation fails
    bool calcError;
};

void Hypot(POperation op) {
    *op->Target = sqrtl(*op->Operand1 * *op->Operand1 + *op->Operand2 * *op->Operand2);
}
void Double(POperation op) { *op->Target = 2 * *op->Operand1; }
void Negative(POperation op) {
    if (*op->Operand1 < 0) op->Failed = 1;
    else *op->Target = -*op->Operand1;
}

std::string ParseMessage(TExprParser& p, const std::string& text) {
    std::string message = "compiled";
    p.OnParserError = [&](TCustomExprParser& sender, const base::Exception& e) {
        EXPECT_EQ(&sender, &p);
        message = e.Message();
    };
    const bool ok = p.ParseExpression(text);
    EXPECT_EQ(ok, message == "compiled") << text;
    p.OnParserError = nullptr;
    return message;
}

}  // namespace

TEST(ExprParser, ValuesTable) {
    const Extended e1 = expl(1);
    const std::vector<ValueCase> cases = {
        {"X*X+1", 3, 0, 10, false},
        {"5", 0, 0, 5, false},
        {"-X^2", 3, 0, -9, false},
        {"X-Y+1", 1, 2, 0, false},
        {"X+Y-1", 1, 2, 2, false},
        {"X/Y/2", 8, 2, 2, false},
        {"XDIVY/2", 7, 2, 1.5L, false},
        {"X*YDIV2", 3, 5, 6, false},
        {"(X+1)*(X-1)", 3, 0, 8, false},
        {"1/X", 4, 0, 0.25L, false},
        {"1/X", 0, 0, 0, true},
        {"7DIV2", 0, 0, 3, false},
        {"-7DIV2", 0, 0, -3, false},
        {"7MOD-2", 0, 0, 1, false},
        {"-7MOD2", 0, 0, -1, false},
        {"7.9DIV2.9", 0, 0, 3, false},
        {"1DIV0.5", 0, 0, 0, true},
        {"1MOD0.5", 0, 0, 0, true},
        {"-9223372036854775808DIV-1", 0, 0, 9223372036854775808.0L, false},
        {"-9223372036854775808MOD-1", 0, 0, 0, false},
        {"1E30MOD2", 0, 0, 0, true},
        {"X^2", -3, 0, 9, false},
        {"X^3", -2, 0, -8, false},
        {"X^4", -2, 0, 16, false},
        {"X^5", 2, 0, 32, false},
        {"X^0", 0, 0, 1, false},
        {"X^-2", 2, 0, 0.25L, false},
        {"X^Y", -3, 2, 0, true},
        {"X^Y", 0, 2, 0, true},
        {"X^Y", 2, 0.5L, sqrtl(2), false},
        {"X^0.5", 9, 0, 3, false},
        {"(1+2^-63)-1", 0, 0, 1.0L / 9223372036854775808.0L, false},
        {"INTPOWER(-3,2)", 0, 0, 9, false},
        {"INTPOWER(2,-2)", 0, 0, 0.25L, false},
        {"INTPOWER(2,4294967298)", 0, 0, 4, false},
        {"POWER(2,0.5)", 0, 0, sqrtl(2), false},
        {"POWER(0,2)", 0, 0, 0, true},
        {"ZERO(0)", 0, 0, 0, false},
        {"ZERO(5)", 0, 0, 1, false},
        {"ZERO(-0.1)", 0, 0, 1, false},
        {"SIGN(0)", 0, 0, 0, false},
        {"SIGN(-3)", 0, 0, -1, false},
        {"SIGN(2)", 0, 0, 1, false},
        {"HEAV(0)", 0, 0, 1, false},
        {"HEAV(-1E-30)", 0, 0, 0, false},
        {"CEIL(2.5)", 0, 0, 3, false},
        {"CEIL(-2.5)", 0, 0, -2, false},
        {"CEIL(2)", 0, 0, 2, false},
        {"FLOOR(-2.5)", 0, 0, -3, false},
        {"FLOOR(2)", 0, 0, 2, false},
        {"FLOOR(2.7)", 0, 0, 2, false},
        {"TRUNC(-2.7)", 0, 0, -2, false},
        {"INT(2.7)", 0, 0, 2, false},
        {"ABS(-2)", 0, 0, 2, false},
        {"SQR(-3)", 0, 0, 9, false},
        {"SQRT(16)", 0, 0, 4, false},
        {"SQRT(-1)", 0, 0, 0, true},
        {"ARG(0,0)", 0, 0, -kPi / 2, false},
        {"ARG(0,1)", 0, 0, kPi / 2, false},
        {"ARG(-1,0)", 0, 0, kPi, false},
        {"ARG(1,1)", 0, 0, kPi / 4, false},
        {"ARG(-1,-1)", 0, 0, kPi / 4 + kPi, false},
        {"MIN(1,1)", 0, 0, 1, false},
        {"MAX(1,1)", 0, 0, 1, false},
        {"MIN(X,Y)", 1, 2, 1, false},
        {"MAX(X,Y)", 1, 2, 2, false},
        {"PH(1)", 0, 0, kPi * kPi - 4 * kPi, false},
        {"PH(0)", 0, 0, 0, false},
        {"LOGN(2,8)", 0, 0, 3, false},
        {"LOGN(0,8)", 0, 0, 0, true},
        {"LOGN(2,0)", 0, 0, 0, true},
        {"LN(0)", 0, 0, 0, true},
        {"LN(EXP(2))", 0, 0, 2, false},
        {"EXP(1)", 0, 0, e1, false},
        {"LOG10(1000)", 0, 0, 3, false},
        {"LOG10(-1)", 0, 0, 0, true},
        {"LOG2(8)", 0, 0, 3, false},
        {"LOG2(0)", 0, 0, 0, true},
        {"SIN(PI/2)", 0, 0, 1, false},
        {"SIN(1E19)", 0, 0, 0, false},
        {"COS(-1E19)", 0, 0, 0, false},
        {"COS(0)", 0, 0, 1, false},
        {"TAN(PI/4)", 0, 0, 1, false},
        {"TAN(0)", 0, 0, 0, false},
        {"COTAN(PI/4)", 0, 0, 1, false},
        {"COTAN(0)", 0, 0, 0, true},
        {"SINH(1)", 0, 0, (e1 - 1 / e1) / 2, false},
        {"COSH(0)", 0, 0, 1, false},
        {"ARCTAN(1)", 0, 0, kPi / 4, false},
        {"SIN(X)^2+COS(X)^2", 0.7L, 0, 1, false},
        {"MAX(X,MIN(1,2))", 5, 0, 5, false},
        {"-SIN(X)", 0, 0, 0, false},
        {"2*-PI", 0, 0, -2 * kPi, false},
        {"X*-1", 4, 0, -4, false},
        {"E5+1", 0, 0, 1, false},
        {"1E3/X", 10, 0, 100, false},
    };
    TExprParser p;
    for (const auto& c : cases) {
        p.SetX(c.x);
        p.SetY(c.y);
        p.SetExpression(c.text);
        const Extended v = p.Value();
        EXPECT_EQ(p.CalcError(), c.calcError) << c.text;
        if (!c.calcError) {
            EXPECT_NEAR(static_cast<double>(v), static_cast<double>(c.expected),
                        1e-15 * (1 + std::fabs(static_cast<double>(c.expected))))
                << c.text;
        }
    }
}

TEST(ExprParser, BadExpressionsTable) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"X + 1", "Expression has blanks"},
        {"(X", "Missing brackets in expression"},
        {"1/(X", "Missing brackets in expression"},
        {"SIN(X))", "Missing brackets in expression"},
        {")X(", "Error parsing expression:\r)X("},
        {"X+", "Error parsing expression:\rX+"},
        {"X+*Y", "Error parsing expression:\rX+\rY"},
        {"Z+1", "Error parsing expression:\rZ\r1"},
        {"FOO(X)", "Error parsing expression:\rFOO(X)"},
        {"SIN(X,1)", "Error parsing expression:\rX,1\r "},
        {"MAX(X)", "Error parsing expression:\rMAX(X)"},
        {"X^Y^2", "Error parsing expression:\rX^Y\r2"},
        {"2X", "Error parsing expression:\r2X"},
        {"X..1", "Error parsing expression:\rX..1"},
        {"X+1+1+1+1+1+1+1+1+1+1+1+1+1+1+1+1+1+1+1+1+1", "Expression contains too many nestings"},
        {"SIN(SIN(SIN(SIN(SIN(SIN(SIN(SIN(SIN(SIN(SIN(SIN(SIN(SIN(SIN(SIN(SIN(SIN(SIN(SIN(SIN(X)))))))))))))))))))))",
         "Expression contains too many nestings"},
    };
    for (const auto& [text, message] : cases) {
        TExprParser p;
        p.SetX(1);
        EXPECT_EQ(ParseMessage(p, text), message) << text;
        EXPECT_EQ(p.Expression(), text);
        EXPECT_EQ(p.Value(), 0) << text;
    }
}

TEST(ExprParser, RecompilesOnlyWhenTheTextIsSet) {
    TExprParser p;
    p.SetExpression("X*X+1");
    p.SetX(3);
    EXPECT_EQ(p.Value(), 10);
    EXPECT_FALSE(p.CalcError());
    p.SetX(4);
    EXPECT_EQ(p.Value(), 17);
    p.SetVariable("x", 5);
    EXPECT_EQ(p.X(), 5);
    EXPECT_EQ(p.CalcValue(), 26);
}

TEST(ExprParser, FailedOperationStopsTheRun) {
    TExprParser p;
    p.SetExpression("1/X");
    p.SetX(0);
    EXPECT_EQ(p.Value(), 0);
    EXPECT_TRUE(p.CalcError());
    p.SetX(2);
    EXPECT_EQ(p.Value(), 0.5L);
    EXPECT_FALSE(p.CalcError());
    p.SetX(0);
    EXPECT_EQ(p.Value(), 0.5L);
    EXPECT_TRUE(p.CalcError());

    // The value returned is the target of the operation after the failed one.
    p.SetExpression("SQRT(X)+1");
    p.SetX(4);
    EXPECT_EQ(p.Value(), 3);
    p.SetX(-1);
    EXPECT_EQ(p.Value(), 3);
    EXPECT_TRUE(p.CalcError());
}

TEST(ExprParser, ParserErrorEvent) {
    TExprParser p;
    p.SetExpression("1/X");
    p.SetX(0);
    p.Value();
    ASSERT_TRUE(p.CalcError());
    int calls = 0;
    bool syntax = false;
    p.OnParserError = [&](TCustomExprParser&, const base::Exception& e) {
        ++calls;
        syntax = dynamic_cast<const ESyntaxError*>(&e) != nullptr;
    };
    EXPECT_FALSE(p.ParseExpression("X+"));
    EXPECT_EQ(calls, 1);
    EXPECT_TRUE(syntax);
    EXPECT_EQ(p.Value(), 0);
    EXPECT_TRUE(p.CalcError());  // unchanged

    // Without the event the error reaches the caller and the text is kept.
    p.OnParserError = nullptr;
    EXPECT_THROW(p.SetExpression("X+"), ESyntaxError);
    EXPECT_EQ(p.Expression(), "X+");
    EXPECT_EQ(p.Value(), 0);
}

TEST(ExprParser, Variables) {
    TExprParser p;
    try {
        p.SetVariable("1a", 1);
        ADD_FAILURE() << "no EBadName";
    } catch (const EBadName& e) {
        EXPECT_EQ(e.Message(), "1A");
    }
    EXPECT_THROW(p.SetVar("a-b", 1), EBadName);
    EXPECT_THROW(p.SetVar("", 1), EBadName);
    EXPECT_FALSE(p.VariableExists("Z"));
    const PExtended z = p.SetVariable("z", 2);
    EXPECT_TRUE(p.VariableExists("Z"));
    EXPECT_EQ(p.GetVariable("Z"), 2);
    EXPECT_EQ(p.SetVar("Z", 3), z);
    p.SetExpression("Z+1");
    EXPECT_EQ(p.Value(), 4);
    EXPECT_EQ(p.GetVariable("nothing"), 0);
    p.SetVariable("_Long_Name2", 1.5L);
    p.SetExpression("_long_name2*2");
    EXPECT_EQ(p.Value(), 3);

    // Removing a variable discards the compiled expression, even an unknown one.
    p.ClearVariable("nothing");
    EXPECT_EQ(p.Expression(), "");
    EXPECT_EQ(p.Value(), 0);
    p.ClearVariable("Z");
    EXPECT_FALSE(p.VariableExists("Z"));
    EXPECT_EQ(ParseMessage(p, "Z"), "Error parsing expression:\rZ");

    p.ClearVariables();
    EXPECT_FALSE(p.VariableExists("X"));
    EXPECT_EQ(ParseMessage(p, "X"), "Error parsing expression:\rX");
    p.SetVariable("X", 7);
    EXPECT_EQ(p.X(), 7);  // the published property's own storage again
    p.SetExpression("X");
    p.SetX(8);
    EXPECT_EQ(p.Value(), 8);
}

TEST(ExprParser, Functions) {
    TExprParser p;
    try {
        p.AddFunctionOneParam("SIN", Double);
        ADD_FAILURE() << "duplicate accepted";
    } catch (const base::Exception& e) {
        EXPECT_EQ(e.Message(), "String list does not allow duplicates");
    }
    try {
        p.AddFunctionTwoParam("1bad", Hypot);
        ADD_FAILURE() << "bad name accepted";
    } catch (const EBadName& e) {
        EXPECT_EQ(e.Message(), "1bad");
    }
    p.SetExpression("SIN(X)");
    p.SetX(1);
    // Adding a function leaves the compiled expression alone.
    p.AddFunctionTwoParam("hypot", Hypot);
    EXPECT_EQ(p.Expression(), "SIN(X)");
    // Clearing an unknown function keeps it too.
    p.ClearFunction("nothing");
    EXPECT_EQ(p.Expression(), "SIN(X)");
    p.ClearFunction("sin");
    EXPECT_EQ(p.Expression(), "");
    p.AddFunctionOneParam("Sin", Double);
    p.SetExpression("SIN(X)");
    EXPECT_EQ(p.Value(), 2);
    p.SetExpression("HYPOT(3,4)");
    EXPECT_EQ(p.Value(), 5);
    // A user routine reports failure through the flag.
    p.AddFunctionOneParam("NEG", Negative);
    p.SetExpression("NEG(X)");
    p.SetX(-1);
    p.Value();
    EXPECT_TRUE(p.CalcError());
    // A name in both tables: one argument or two decides.
    p.AddFunctionOneParam("HYPOT", Double);
    p.SetExpression("HYPOT(3)+HYPOT(6,8)");
    EXPECT_EQ(p.Value(), 16);
    p.ClearFunctions();
    EXPECT_EQ(ParseMessage(p, "COS(X)"), "Error parsing expression:\rCOS(X)");
}

TEST(ExprParser, CustomParserStartsEmpty) {
    TCustomExprParser p;
    EXPECT_TRUE(p.PascalNumberformat());
    EXPECT_FALSE(p.VariableExists("X"));
    EXPECT_THROW(p.SetExpression("SIN(1)"), ESyntaxError);
    EXPECT_THROW(p.SetExpression("X"), ESyntaxError);
    p.SetVariable("x", 2);
    p.AddFunctionOneParam("twice", Double);
    p.SetExpression("TWICE(X)+1");
    EXPECT_EQ(p.Value(), 5);
    EXPECT_EQ(TCustomExprParser::RemoveBlanks(" a b  c "), "abc");
}

TEST(ExprParser, LocaleNumberFormat) {
    TExprParser p;
    const char saved = base::DecimalSeparator();
    base::SetDecimalSeparator(',');
    p.SetPascalNumberformat(false);
    p.SetExpression("MAX(1,5,2)");
    const Extended v = p.Value();
    p.SetPascalNumberformat(true);
    p.SetExpression("MAX(1,5)");
    const Extended w = p.Value();
    base::SetDecimalSeparator(saved);
    EXPECT_EQ(v, 5.2L);
    EXPECT_EQ(w, 5);
}

TEST(ExprParser, RandomUsesTheClassicGenerator) {
    TExprParser p;
    RandSeed = 0;
    p.SetExpression("RANDOM(123)");
    EXPECT_EQ(p.Value(), 1.0L / 4294967296.0L);
    EXPECT_EQ(RandSeed, 1u);
    p.SetExpression("RND(10.9)");
    EXPECT_EQ(p.Value(), 10 * (134775814.0L / 4294967296.0L));
    std::uint32_t seed = 134775814u;
    for (int i = 0; i < 1000; ++i) {
        seed = seed * 134775813u + 1u;
        const Extended r = Random();
        ASSERT_EQ(RandSeed, seed);
        ASSERT_GE(r, 0);
        ASSERT_LT(r, 1);
    }
}

TEST(ExprParser, ArithmeticFaultsGiveInfinities) {
    TExprParser p;
    p.SetX(0);
    p.SetExpression("X^-1");
    EXPECT_TRUE(std::isinf(static_cast<double>(p.Value())));
    EXPECT_FALSE(p.CalcError());
    p.SetExpression("EXP(100000)");
    EXPECT_TRUE(std::isinf(static_cast<double>(p.Value())));
    EXPECT_FALSE(p.CalcError());
    p.SetExpression("LOGN(1,8)");
    EXPECT_TRUE(std::isinf(static_cast<double>(p.Value())));
}
