#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "widgets/plot/ExprParser10.h"

using namespace plot;

namespace {

bool KnownMessage(const std::string& m) {
    return m == "Expression has blanks" || m == "Missing brackets in expression" ||
           m == "Expression contains too many nestings" || m == "Expression is too complex" ||
           m.rfind("Error parsing expression:\r", 0) == 0;
}

// Compiles the text twice (the outcome must not change) and evaluates it at a
// few abscissae when it compiled.
// Returns the outcome: "compiled" or the first line of the message.
std::string CompileAndRun(TExprParser& p, const std::string& text) {
    std::string first;
    std::string second;
    p.OnParserError = [&](TCustomExprParser&, const base::Exception& e) { first = e.Message(); };
    const bool ok = p.ParseExpression(text);
    if (text.empty()) {
        EXPECT_FALSE(ok);
        return "empty";
    }
    p.OnParserError = [&](TCustomExprParser&, const base::Exception& e) { second = e.Message(); };
    EXPECT_EQ(p.ParseExpression(text), ok) << text;
    EXPECT_EQ(first, second) << text;
    if (!ok) {
        EXPECT_TRUE(KnownMessage(first)) << text << " -> " << first;
        EXPECT_EQ(p.Value(), 0) << text;
        return first.substr(0, first.find('\r'));
    }
    for (Extended x : {-2.5L, 0.0L, 0.5L, 3.0L, 1e300L}) {
        p.SetX(x);
        p.CalcValue();
    }
    return "compiled";
}

const std::vector<std::string> kPieces = {
    "X", "Y", "Z", "x", "A", "E", "T", "1", "2", "0", "2.5", ".", "E5", "1E400", "PI", "-PI",
    "+", "-", "-", "*", "/", "^", "DIV", "MOD", "(", "(", ")", ")", ",", "SIN(", "MAX(",
    "LN(", "SQRT(", "INTPOWER(", "LOGN(", "ARG(", "RND(", "sin", "_", "9", "E-", " ",
};

std::string RandomText(std::mt19937& rng) {
    std::uniform_int_distribution<int> length(1, 24);
    std::uniform_int_distribution<std::size_t> piece(0, kPieces.size() - 1);
    // Most texts keep their brackets balanced so that they get past the count test.
    const bool balance = std::uniform_int_distribution<int>(0, 9)(rng) < 8;
    std::string s;
    int open = 0;
    for (int n = length(rng); n > 0; --n) {
        const std::string& next = kPieces[piece(rng)];
        if (balance && next == ")" && open == 0) continue;
        if (next.back() == '(') ++open;
        if (next == ")") --open;
        s += next;
    }
    if (balance) s += std::string(open > 0 ? open : 0, ')');
    return s;
}

const std::vector<std::string> kSeeds = {
    "X*X+1", "-X^2", "X-Y+1", "XDIVY/2", "(X+1)*(X-1)", "1/X", "7MOD-2", "X^-2",
    "INTPOWER(-3,2)", "SIN(X)^2+COS(X)^2", "MAX(X,MIN(1,2))", "LOGN(2,8)", "PH(1)",
    "CEIL(-2.5)+FLOOR(X)", "ARG(X,Y)*2", "X^(1+1)", "SQRT(ABS(X))-LN(X^2+1)",
    "((X+1))/(Y-2)DIV3", "E*1+5", "1.5E-2*X", "TAN(X)/COTAN(X+1)",
};

std::string Mutate(std::string s, std::mt19937& rng) {
    static const std::string alphabet = "XYZE0123456789.+-*/^(),DIVMODSINMAX ";
    std::uniform_int_distribution<int> count(1, 4);
    std::uniform_int_distribution<int> kind(0, 4);
    for (int n = count(rng); n > 0; --n) {
        const std::size_t size = s.size();
        std::uniform_int_distribution<std::size_t> at(0, size);
        std::uniform_int_distribution<std::size_t> ch(0, alphabet.size() - 1);
        const std::size_t i = at(rng);
        switch (kind(rng)) {
            case 0:
                if (i < size) s.erase(i, 1);
                break;
            case 1: s.insert(i, 1, alphabet[ch(rng)]); break;
            case 2:
                if (i < size) s[i] = alphabet[ch(rng)];
                break;
            case 3:
                if (i + 1 < size) std::swap(s[i], s[i + 1]);
                break;
            default: {
                const std::size_t j = std::uniform_int_distribution<std::size_t>(i, size)(rng);
                s.insert(j, s.substr(i, j - i));
                break;
            }
        }
    }
    return s;
}

// A fully bracketed expression and its value computed directly, so that grouping
// rules cannot hide a wrong list order or operand wiring.
struct Generated {
    std::string text;
    Extended value = 0;
    bool fails = false;
};

Generated Generate(std::mt19937& rng, int depth, Extended x, Extended y) {
    std::uniform_int_distribution<int> pick(0, depth > 0 ? 8 : 2);
    switch (pick(rng)) {
        case 0: return {"X", x, false};
        case 1: return {"Y", y, false};
        case 2: {
            const int n = std::uniform_int_distribution<int>(0, 9)(rng);
            return {std::to_string(n), static_cast<Extended>(n), false};
        }
        case 3: {
            auto a = Generate(rng, depth - 1, x, y);
            return {"SQRT(" + a.text + ")", a.value < 0 ? 0 : sqrtl(a.value), a.fails || a.value < 0};
        }
        case 4: {
            auto a = Generate(rng, depth - 1, x, y);
            auto b = Generate(rng, depth - 1, x, y);
            return {"MAX(" + a.text + "," + b.text + ")", a.value >= b.value ? a.value : b.value,
                    a.fails || b.fails};
        }
        case 5: {
            auto a = Generate(rng, depth - 1, x, y);
            return {"-(" + a.text + ")", -a.value, a.fails};
        }
        default: {
            auto a = Generate(rng, depth - 1, x, y);
            auto b = Generate(rng, depth - 1, x, y);
            static const char ops[] = "+-*/";
            const char op = ops[std::uniform_int_distribution<int>(0, 3)(rng)];
            Generated g{"(" + a.text + ")" + op + "(" + b.text + ")", 0, a.fails || b.fails};
            switch (op) {
                case '+': g.value = a.value + b.value; break;
                case '-': g.value = a.value - b.value; break;
                case '*': g.value = a.value * b.value; break;
                default: {
                    if (b.value == 0)
                        g.fails = true;
                    else
                        g.value = a.value / b.value;
                }
            }
            return g;
        }
    }
}

}  // namespace

TEST(ExprFuzz, RandomTextsAlwaysReturn) {
    std::mt19937 rng(20261210);
    TExprParser p;
    p.SetVariable("Z", 1);
    std::map<std::string, int> outcomes;
    for (int i = 0; i < 3000; ++i) ++outcomes[CompileAndRun(p, RandomText(rng))];
    // The texts reach every stage of the compiler.
    EXPECT_GT(outcomes["compiled"], 80);
    EXPECT_GT(outcomes["Error parsing expression:"], 500);
    EXPECT_GT(outcomes["Missing brackets in expression"], 100);
    EXPECT_GT(outcomes["Expression has blanks"], 100);
}

TEST(ExprFuzz, MutatedExpressionsAlwaysReturn) {
    std::mt19937 rng(4711);
    TExprParser p;
    std::map<std::string, int> outcomes;
    for (int i = 0; i < 3000; ++i) ++outcomes[CompileAndRun(p, Mutate(kSeeds[i % kSeeds.size()], rng))];
    EXPECT_GT(outcomes["compiled"], 300);
    EXPECT_GT(outcomes["Error parsing expression:"], 1000);
}

TEST(ExprFuzz, GeneratedExpressionsMatchDirectComputation) {
    std::mt19937 rng(99);
    TExprParser p;
    int compiled = 0;
    for (int i = 0; i < 2000; ++i) {
        const Extended x = std::uniform_int_distribution<int>(-4, 4)(rng) * 0.75L;
        const Extended y = std::uniform_int_distribution<int>(-4, 4)(rng) * 0.5L;
        const Generated g = Generate(rng, 4, x, y);
        std::string message;
        p.OnParserError = [&](TCustomExprParser&, const base::Exception& e) { message = e.Message(); };
        if (!p.ParseExpression(g.text)) {
            // Only the limits may refuse a well-formed text.
            EXPECT_TRUE(message == "Expression contains too many nestings" ||
                        message == "Expression is too complex")
                << g.text << " -> " << message;
            continue;
        }
        ++compiled;
        p.SetX(x);
        p.SetY(y);
        const Extended v = p.Value();
        ASSERT_EQ(p.CalcError(), g.fails) << g.text;
        if (!g.fails) {
            ASSERT_EQ(v, g.value) << g.text;
        }
    }
    EXPECT_GT(compiled, 1500);
}

TEST(ExprFuzz, PathologicalTextsReturn) {
    auto repeat = [](const std::string& s, int n) {
        std::string r;
        for (int i = 0; i < n; ++i) r += s;
        return r;
    };
    struct Case {
        std::string text;
        std::string message;
    };
    const std::vector<Case> cases = {
        {repeat("(", 100000) + "X" + repeat(")", 100000), "Expression contains too many nestings"},
        {repeat("SIN(", 20000) + "X" + repeat(")", 20000), "Expression contains too many nestings"},
        {repeat("-(", 20000) + "X" + repeat(")", 20000), "Expression contains too many nestings"},
        {"X" + repeat("+X", 20000), "Expression contains too many nestings"},
        // Left-grouping runs cost work that grows with the square of their length:
        // long ones still get the exact result, huge ones hit the work bound.
        {"X" + repeat("-X", 800), "Expression contains too many nestings"},
        {"X" + repeat("/X", 800), "Expression contains too many nestings"},
        {"X" + repeat("DIVX", 800), "Expression contains too many nestings"},
        {"X" + repeat("-X", 20000), "Expression is too complex"},
        {"X" + repeat("*X", 20000), "Expression contains too many nestings"},
        {repeat("MAX(X,", 5000) + "X" + repeat(")", 5000), "Expression contains too many nestings"},
        {repeat("(X", 5000) + repeat(")", 5000), ""},
        {repeat("X^", 5000) + "X", ""},
        {repeat("1", 200000), "compiled"},
        {repeat("-", 1000) + "X", ""},
        {repeat("X*X-", 500) + "X", ""},
        {repeat(",", 5000), ""},
        {repeat("MAX(", 3000) + repeat(",", 3000) + repeat(")", 3000), ""},
    };
    for (const auto& c : cases) {
        TExprParser p;
        std::string message = "compiled";
        p.OnParserError = [&](TCustomExprParser&, const base::Exception& e) { message = e.Message(); };
        p.ParseExpression(c.text);
        p.Value();
        if (c.message.empty()) {
            EXPECT_TRUE(KnownMessage(message)) << c.text.substr(0, 40);
        } else {
            EXPECT_EQ(message, c.message) << c.text.substr(0, 40);
        }
    }
}
