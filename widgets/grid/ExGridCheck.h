#pragma once
// Cell text checkers: components a grid hands cell texts to, to correct them or to mark their
// errors, after an edit and when cells are checked on request.
#include <string>

#include "platform/Classes.h"

namespace grid {

class TExStringGridCheck : public platform::TComponent {
public:
    explicit TExStringGridCheck(platform::TComponent* AOwner) : TComponent(AOwner) {}
    bool GotoCell = false;       // each checked cell becomes current and is scrolled into view
    bool AutoCorrect = false;    // the grid corrects every validated edit
    bool AutoMarkError = false;  // the grid marks the errors of every validated edit
    bool UseCorrect = false;     // CheckCell corrects
    bool UseMarkError = false;   // CheckCell marks errors

    virtual std::string MarkError(int ACol, int ARow, const std::string& Value);
    virtual std::string Correct(int ACol, int ARow, const std::string& Value);
    virtual void StartCheck() {}
    virtual void StopCheck() {}

    // S with the first occurrence of OldPattern replaced by NewPattern.
    static std::string ReplaceOnce(const std::string& S, const std::string& OldPattern,
                                   const std::string& NewPattern);
    // S with every occurrence of HiText in its visible text wrapped in <Tag> and </Tag>.
    static std::string HiLight(const std::string& S, const std::string& HiText, const std::string& Tag,
                               bool DoCase);
};

// Capitalises the first letter of the text and of every sentence after ". ", "! " or "? ".
class TCapitalCheck : public TExStringGridCheck {
public:
    using TExStringGridCheck::TExStringGridCheck;
    std::string Correct(int ACol, int ARow, const std::string& Value) override;
};

}  // namespace grid
