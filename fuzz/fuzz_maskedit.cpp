// The masked edit: the first line of an input is the edit mask, the rest the value put in.
// What the edit gives as its text puts back to the same text, and the window text keeps
// the mask's length.
#include <cstdlib>

#include "FuzzDriver.h"
#include "platform/TestRig.h"
#include "platform/forms/Forms.h"
#include "widgets/edit/ExMaskEdit.h"
#include "Offscreen.h"

int main(int argc, char** argv)
{
    const fuzz::Options opts = fuzz::StartOffscreen(argc, argv);
    const std::vector<std::string> seeds = {
        "!9999 9999;0;_\n34 4",
        "LL 99 LL;0; \nAB12CD",
        "!\\(999\\) 000-0000;1;_\n(555) 123-4567",
        ">LL-0000;0;*\nab1234",
        "99/99/9999;1;_\n12/31/1999",
        "AAAA;0;_\nx y",
        ">L<llll;1;_\nhello",
        "#9.99;1; \n-1.5",
        "ccc\\;ccc;1;.\nabc;def",
    };
    const std::vector<std::string> tokens = {"!", ">", "<", "<>", "\\", ";0;", ";1;", ";0; ", ";1;_", "L", "l",
                                             "A", "a", "C", "c", "0", "9", "#", ":", "/", "_", " "};
    platform::TForm* form = platform::Construct<platform::TForm>(platform::Application);
    form->SetBounds(0, 0, 300, 100);
    auto* e = new edit::TExMaskEdit(form);
    e->SetParent(form);
    e->SetBounds(0, 0, 200, 24);
    const int result = fuzz::Run("maskedit", opts, seeds, tokens, [&](const std::string& input) {
        fuzz::Result r;
        const std::size_t nl = input.find('\n');
        const std::string mask = input.substr(0, nl), value = nl == std::string::npos ? "" : input.substr(nl + 1);
        try {
            e->SetEditMask("");
            e->SetText("");
            e->SetEditMask(mask);
            e->SetText(value);
        } catch (const base::Exception&) {
            return r;
        }
        r.outcome = fuzz::Outcome::Accepted;
        if (e->IsMasked() && int(e->EditText().size()) != e->Mask().Length()) {
            r.fault = "window text not of the mask's length: [" + mask + "] [" + e->EditText() + "]";
            return r;
        }
        const std::string once = e->Text();
        e->SetText(once);
        if (e->Text() != once)
            r.fault = "read back different: [" + mask + "] [" + once + "] -> [" + e->Text() + "]";
        return r;
    });
    form->Free();
    return result;
}
