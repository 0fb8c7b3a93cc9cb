#pragma once
// Expression evaluator: named variables, tables of one- and two-argument
// functions, and a compiled expression that is run on demand.
#include <cstdint>
#include <functional>
#include <string>

#include "widgets/plot/ExprBuild.h"

namespace plot {

// The run-time library's linear congruential generator behind RND and RANDOM.
extern std::uint32_t RandSeed;
Extended Random();  // uniform in [0, 1)

class TCustomExprParser;
using TExprParserExceptionEvent =
    std::function<void(TCustomExprParser& Sender, const base::Exception& E)>;

class TCustomExprParser {
public:
    TCustomExprParser();
    virtual ~TCustomExprParser();
    TCustomExprParser(const TCustomExprParser&) = delete;
    TCustomExprParser& operator=(const TCustomExprParser&) = delete;

    bool CalcError() const { return calcError_; }
    Extended Value() { return CalcValue(); }
    const std::string& Expression() const { return expression_; }
    void SetExpression(const std::string& Value);
    bool PascalNumberformat() const { return pascalNumberformat_; }
    void SetPascalNumberformat(bool Value) { pascalNumberformat_ = Value; }

    // Compiles Text; false when it did not compile and OnParserError took the error.
    bool ParseExpression(const std::string& Text);
    Extended CalcValue();
    void FreeExpression();

    PExtended SetVariable(const std::string& VarName, Extended Value);
    PExtended SetVar(const std::string& VarName, Extended Value) { return SetVariable(VarName, Value); }
    Extended GetVariable(const std::string& VarName) const;
    bool VariableExists(const std::string& VarName) const;
    void ClearVariable(const std::string& VarName);
    void ClearVariables();

    void AddFunctionOneParam(const std::string& FunctionName, TMathProcedure Proc);
    void AddFunctionTwoParam(const std::string& FunctionName, TMathProcedure Proc);
    void ClearFunction(const std::string& FunctionName);
    void ClearFunctions();

    static std::string RemoveBlanks(const std::string& S);

    TExprParserExceptionEvent OnParserError;

protected:
    bool calcError_ = false;
    Extended fA = 0, fB = 0, fC = 0, fD = 0, fE = 0, fX = 0, fY = 0, fT = 0;

private:
    PExtended BuiltInStorage(const std::string& upperName);
    bool IsBuiltIn(PExtended p) const;

    std::string expression_;
    bool pascalNumberformat_ = true;
    TVariableTable variables_{TVariableTable::Duplicates::Ignore};
    POperation compiled_ = nullptr;
    TFunctionTable functionOne_{TFunctionTable::Duplicates::Error};
    TFunctionTable functionTwo_{TFunctionTable::Duplicates::Error};
};

// The evaluator with the variables A, B, C, D, E, X, Y, T and the built-in functions.
class TExprParser : public TCustomExprParser {
public:
    TExprParser();

    Extended A() const { return fA; }
    void SetA(Extended v) { fA = v; }
    Extended B() const { return fB; }
    void SetB(Extended v) { fB = v; }
    Extended C() const { return fC; }
    void SetC(Extended v) { fC = v; }
    Extended D() const { return fD; }
    void SetD(Extended v) { fD = v; }
    Extended E() const { return fE; }
    void SetE(Extended v) { fE = v; }
    Extended X() const { return fX; }
    void SetX(Extended v) { fX = v; }
    Extended Y() const { return fY; }
    void SetY(Extended v) { fY = v; }
    Extended T() const { return fT; }
    void SetT(Extended v) { fT = v; }
};

}  // namespace plot
