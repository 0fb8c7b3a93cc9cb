#pragma once
// Compiles an arithmetic expression text into a linked list of operations that
// the evaluator (ExprParser10) runs.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "base/Exception.h"

namespace plot {

using Extended = long double;
using PExtended = Extended*;

enum TToken : std::uint8_t {
    variab = 0,
    constant,
    minus,
    sum,
    diff,
    prod,
    divis,
    modulo,
    IntDiv,
    integerpower,
    realpower,
    square,
    third,
    fourth,
    FuncOneVar,
    FuncTwoVar
};

struct TOperation;
using POperation = TOperation*;
// Reads *Operand1 (and *Operand2) and writes *Target, or sets Failed to 1.
using TMathProcedure = void (*)(POperation AnOperation);

struct TOperation {
    PExtended Operand1 = nullptr;
    PExtended Operand2 = nullptr;
    PExtended Target = nullptr;
    POperation Next = nullptr;
    TMathProcedure Routine = nullptr;
    TToken Token = variab;
    std::uint8_t Failed = 0;
};

class EMathParserError : public base::Exception {
public:
    using base::Exception::Exception;
};

#define KORVELO_PARSER_ERROR(Name)                    \
    class Name : public EMathParserError {            \
    public:                                           \
        using EMathParserError::EMathParserError;     \
    };
KORVELO_PARSER_ERROR(EExpressionHasBlanks)
KORVELO_PARSER_ERROR(EMissMatchingBracket)
KORVELO_PARSER_ERROR(ESyntaxError)
KORVELO_PARSER_ERROR(ETooManyNestings)
KORVELO_PARSER_ERROR(EExpressionTooComplex)
KORVELO_PARSER_ERROR(EParserInternalError)
KORVELO_PARSER_ERROR(EBadName)
#undef KORVELO_PARSER_ERROR

bool NameLess(std::string_view a, std::string_view b);  // without regard to case

// Sorted list of upper-case names, each with one object; names compare without
// regard to case.
template <typename T>
class TNameTable {
public:
    enum class Duplicates { Ignore, Error };
    explicit TNameTable(Duplicates d = Duplicates::Ignore) : duplicates_(d) {}

    int Count() const { return static_cast<int>(items_.size()); }
    const std::string& Name(int index) const { return items_[index].name; }
    T Object(int index) const { return items_[index].object; }

    // Binary search; index is where the name is or would go.
    bool Find(std::string_view name, int& index) const {
        int lo = 0;
        int hi = Count();
        while (lo < hi) {
            const int mid = lo + (hi - lo) / 2;
            if (NameLess(items_[mid].name, name))
                lo = mid + 1;
            else
                hi = mid;
        }
        index = lo;
        return lo < Count() && !NameLess(name, items_[lo].name);
    }
    T Lookup(std::string_view name) const {
        int i = 0;
        return Find(name, i) ? items_[i].object : T{};
    }
    // Stores the name upper-cased. A duplicate is ignored (its index is returned)
    // or refused with EStringListError "String list does not allow duplicates".
    int Add(std::string_view name, T object) {
        int i = 0;
        if (Find(name, i)) {
            if (duplicates_ == Duplicates::Error)
                throw base::EStringListError("String list does not allow duplicates");
            return i;
        }
        std::string upper(name);
        for (char& c : upper)
            if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
        items_.insert(items_.begin() + i, Item{std::move(upper), object});
        return i;
    }
    void Delete(int index) { items_.erase(items_.begin() + index); }
    void Clear() { items_.clear(); }

private:
    struct Item {
        std::string name;
        T object;
    };
    std::vector<Item> items_;
    Duplicates duplicates_;
};

using TVariableTable = TNameTable<PExtended>;
using TFunctionTable = TNameTable<TMathProcedure>;

// Compiles FunctionString against the variable and function tables. On success FirstOP
// is the list (Routine set only for calls) and Error is false; on failure one of
// the EMathParserError family is raised, FirstOP is null and nothing is kept.
void ParseFunction(std::string FunctionString, const TVariableTable& Variables,
                   const TFunctionTable& FunctionOne, const TFunctionTable& FunctionTwo,
                   bool UsePascalNumbers, POperation& FirstOP, bool& Error);

// Releases a list made by ParseFunction with its number and result cells, never
// a variable's storage.
void FreeOperationList(POperation FirstOP);

// Upper bounds that keep the compiler's recursion and work finite on any text.
inline constexpr int MaxValidationDepth = 400;
inline constexpr long MaxValidationSteps = 1000000;

}  // namespace plot
