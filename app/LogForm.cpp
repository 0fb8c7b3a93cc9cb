#include "app/LogForm.h"

#include "app/AppForms.h"
#include "app/MainForm.h"
#include "widgets/memo/ExMemo.h"
#include "widgets/memo/MemoStrings.h"
#include "widgets/memo/MemoStyler.h"

using namespace platform;

namespace app {

TLogForm::TLogForm(TComponent* AOwner) : TForm(AOwner)
{
    SetName("LogForm");
    SetCaption("Log");
    SetBorderStyle(bsSizeToolWin);
    SetBounds(200, 200, 670, 355);
    ExHTMLMemoStyler1 = new memo::TExHTMLMemoStyler(this);
    ExHTMLMemoStyler1->SetName("ExHTMLMemoStyler1");
    LogMemo = new memo::TExMemo(this);
    LogMemo->SetName("LogMemo");
    LogMemo->SetParent(this);
    LogMemo->SetAlign(alClient);
    memo::SetupLogMemo(*LogMemo, *ExHTMLMemoStyler1);
    OnShow = [this](TObject* s) { FormShow(s); };
}

void TLogForm::FormShow(TObject*)
{
    memo::TExMemoStrings* lines = LogMemo->Lines();
    lines->BeginUpdate();
    lines->Clear();
    if (MainForm)
        for (const std::string& line : MainForm->Hull.log.Lines()) lines->Add(line);
    lines->EndUpdate();
}

}  // namespace app
