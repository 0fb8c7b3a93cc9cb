#pragma once
// The log window: every line the hull's log has written, with ERROR, NOTE and quoted
// text highlighted.
#include "platform/forms/Forms.h"

namespace memo {
class TExMemo;
class TExHTMLMemoStyler;
}  // namespace memo

namespace app {

class TLogForm : public platform::TForm {
public:
    explicit TLogForm(platform::TComponent* AOwner);

    memo::TExMemo* LogMemo;
    memo::TExHTMLMemoStyler* ExHTMLMemoStyler1;

    void FormShow(platform::TObject* Sender);
};

}  // namespace app
