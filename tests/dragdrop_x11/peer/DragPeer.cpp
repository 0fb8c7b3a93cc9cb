// The other program of the drag-and-drop tests: a window at a given place that either
// receives one drop and writes down what it got, or starts one drag when the mouse is
// pressed in it and writes down how it ended.
//
//   drag_peer target X Y OUT           accepts text, rich text and files
//   drag_peer source X Y OUT KIND ARG  KIND: text (ARG the text, UTF-8), rtf (ARG the RTF),
//                                      files (ARG names separated by '|')
//   drag_peer grid X Y OUT             a grid of 4 x 6 cells "p<col><row>" (one fixed row
//                                      and column) with row selection, taking and giving
//                                      whole rows (inserted, and removed when moved away)
//                                      and header columns
//
// OUT receives one line per item ("text=...", "rtf=...", "file=...", "effect=N",
// "result=..."; the grid: "col=N at C,R", "stop=N" and then "row<r>=..." for each of its
// rows), written whole when the window's work is done; OUT.ready appears once the window is
// shown (for the grid it holds "C,R=X,Y", the screen centre of each cell).
#include <chrono>
#include <fstream>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "platform/controls/Controls.h"
#include "platform/forms/DragDrop.h"
#include "platform/forms/Forms.h"
#include "platform/system/Clipboard.h"
#include "widgets/grid/ExGrid.h"

using namespace platform;

namespace {

std::vector<std::string> gLines;
bool gDone = false;
bool gStarted = false;

std::string Utf8(const std::string& ansi)
{
    std::string out;
    for (char16_t c : AnsiToWide(ansi)) {
        if (c < 0x80) out += char(c);
        else if (c < 0x800) out += char(0xC0 | (c >> 6)), out += char(0x80 | (c & 0x3F));
        else out += char(0xE0 | (c >> 12)), out += char(0x80 | ((c >> 6) & 0x3F)), out += char(0x80 | (c & 0x3F));
    }
    return out;
}

std::u16string FromUtf8(const std::string& s)
{
    std::u16string out;
    for (std::size_t i = 0; i < s.size();) {
        const unsigned char c = (unsigned char)s[i];
        if (c < 0x80) out += char16_t(c), i += 1;
        else if ((c & 0xE0) == 0xC0 && i + 1 < s.size()) out += char16_t(((c & 0x1F) << 6) | (s[i + 1] & 0x3F)), i += 2;
        else if (i + 2 < s.size())
            out += char16_t(((c & 0x0F) << 12) | ((s[i + 1] & 0x3F) << 6) | (s[i + 2] & 0x3F)), i += 3;
        else break;
    }
    return out;
}

struct Target : TDropTarget {
    void DropText(TPoint, const std::string& text) override { gLines.push_back("text=" + Utf8(text)); }
    void DropRTF(TPoint, const std::string& rtf) override { gLines.push_back("rtf=" + rtf); }
    void DropFiles(TPoint, const std::vector<std::string>& files) override
    {
        for (const auto& f : files) gLines.push_back("file=" + Utf8(f));
    }
    bool RTFAware() const override { return true; }
};

// Keeps the wide text whole for other programs.
struct WideText : TTextDataObject {
    WideText(std::u16string wide, std::string rtf) : TTextDataObject(WideToAnsi(wide), std::move(rtf)), wide_(std::move(wide)) {}
    HRESULT GetData(unsigned format, std::string& block) const override
    {
        if (format != CF_UNICODETEXT) return TTextDataObject::GetData(format, block);
        block.clear();
        if (QueryGetData(format) != S_OK) return DV_E_FORMATETC;
        for (char16_t c : wide_) block += char(c & 0xFF), block += char(c >> 8);
        block.append(2, '\0');
        return S_OK;
    }
    bool OffersRTF() const override { return true; }
    std::u16string wide_;
};

struct Files : TDataObject {
    std::string block;
    HRESULT QueryGetData(unsigned f) const override { return f == CF_HDROP ? S_OK : DV_E_FORMATETC; }
    HRESULT GetData(unsigned f, std::string& b) const override
    {
        if (f != CF_HDROP) return DV_E_FORMATETC;
        b = block;
        return S_OK;
    }
    bool EnumFormats(std::vector<unsigned>& fs) const override
    {
        fs = {CF_HDROP};
        return true;
    }
};

class SourcePanel : public TCustomControl {
public:
    SourcePanel(TComponent* owner, std::unique_ptr<TDataObject> data) : TCustomControl(owner), data_(std::move(data)) {}
    void MouseMove(TShiftState shift, int x, int y) override
    {
        TCustomControl::MouseMove(shift, x, y);
        if (started_ || !(shift & ssLeft)) return;
        started_ = true;
        TDropSource source;
        int effect = DROPEFFECT_NONE;
        const HRESULT r = StartDoDragDrop(this, *data_, source, DROPEFFECT_COPY | DROPEFFECT_MOVE, effect);
        gLines.push_back(std::string("result=") + (r == DRAGDROP_S_DROP ? "drop" : r == DRAGDROP_S_CANCEL ? "cancel" : "other"));
        gLines.push_back("effect=" + std::to_string(effect));
        gDone = true;
    }
    void Paint() override
    {
        Canvas()->Brush().SetColor(clAqua);
        Canvas()->FillRect(ClientRect());
    }

private:
    std::unique_ptr<TDataObject> data_;
    bool started_ = false;
};

class TargetPanel : public TCustomControl {
public:
    using TCustomControl::TCustomControl;
    void Paint() override
    {
        Canvas()->Brush().SetColor(clYellow);
        Canvas()->FillRect(ClientRect());
    }
};

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 5) return 2;
    InitPlatform(argc, argv);
    const std::string mode = argv[1], out = argv[4];
    const int x = std::stoi(argv[2]), y = std::stoi(argv[3]);
    auto* form = new TForm(nullptr);
    form->SetBounds(x, y, 240, 160);
    form->SetCaption("peer");
    std::shared_ptr<Target> target;
    grid::TExStringGrid* grid = nullptr;
    if (mode == "target") {
        auto* panel = new TargetPanel(form);
        panel->SetParent(form);
        panel->SetAlign(alClient);
        target = std::make_shared<Target>();
        if (!RegisterDragDrop(panel, target)) return 3;
    } else if (mode == "source" && argc >= 7) {
        const std::string kind = argv[5], arg = argv[6];
        std::unique_ptr<TDataObject> data;
        if (kind == "text") data = std::make_unique<WideText>(FromUtf8(arg), std::string());
        else if (kind == "rtf") data = std::make_unique<WideText>(u"plain", arg);
        else if (kind == "files") {
            auto f = std::make_unique<Files>();
            std::vector<std::string> names;
            for (std::size_t p = 0; p <= arg.size();) {
                const std::size_t bar = std::min(arg.find('|', p), arg.size());
                names.push_back(WideToAnsi(FromUtf8(arg.substr(p, bar - p))));
                p = bar + 1;
            }
            f->block = MakeFileDropBlock(names, true);
            data = std::move(f);
        } else {
            return 2;
        }
        auto* panel = new SourcePanel(form, std::move(data));
        panel->SetParent(form);
        panel->SetAlign(alClient);
    } else if (mode == "grid") {
        grid = new grid::TExStringGrid(form);
        grid->SetParent(form);
        grid->SetAlign(alClient);
        grid->SetColCount(4);
        grid->SetRowCount(6);
        grid->SetDefaultRowHeight(22);
        grid->SetDefaultColWidth(56);
        for (int c = 0; c < 4; ++c)
            for (int r = 0; r < 6; ++r) grid->SetCells(c, r, "p" + std::to_string(c) + std::to_string(r));
        grid->SetOptions(grid->Options() | goRowSelect);
        grid->DragDropSettings.OleDropSource = true;
        grid->DragDropSettings.SetOleDropTarget(true);
        grid->DragDropSettings.OleColumnDragDrop = true;
        grid->DragDropSettings.OleInsertRows = true;
        grid->DragDropSettings.OleRemoveRows = true;
        grid->OnOleDropCol = [](TObject*, int r, int c, int col) {
            gLines.push_back("col=" + std::to_string(col) + " at " + std::to_string(c) + "," + std::to_string(r));
            gDone = true;
        };
        grid->OnOleDropped = [](TObject*, const TRect&) { gDone = true; };
        // The drag runs its own loop: back in this one, it has ended, dropped or not.
        grid->OnOleDragStart = [](TObject*, int, int) { gStarted = true; };
        grid->OnOleDragStop = [](TObject*, int e) {
            gLines.push_back("stop=" + std::to_string(e));
            gDone = true;
        };
    } else {
        return 2;
    }
    form->Show();
    for (int i = 0; i < 50; ++i) Application->ProcessMessages();
    {
        std::ofstream ready(out + ".ready.part");
        if (grid)
            for (int c = 0; c < 4; ++c)
                for (int r = 0; r < 6; ++r) {
                    const TRect R = grid->CellRect(c, r);
                    const TPoint p = grid->ClientToScreen(TPoint{(R.Left + R.Right) / 2, (R.Top + R.Bottom) / 2});
                    ready << c << ',' << r << '=' << p.X << ',' << p.Y << '\n';
                }
        ready << "ready\n";
    }
    std::rename((out + ".ready.part").c_str(), (out + ".ready").c_str());
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (!gDone && std::chrono::steady_clock::now() < end) {
        Application->ProcessMessages();
        if (target && !gLines.empty()) gDone = true;
        if (gStarted) gDone = true;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    for (int i = 0; i < 20; ++i) Application->ProcessMessages();
    if (grid)
        for (int r = 0; r < grid->RowCount(); ++r) {
            std::string row = "row" + std::to_string(r) + "=";
            for (int c = 1; c < grid->ColCount(); ++c) row += (c > 1 ? "|" : "") + grid->Cells(c, r);
            gLines.push_back(row);
        }
    const std::string tmp = out + ".part";
    {
        std::ofstream f(tmp);
        for (const auto& l : gLines) f << l << '\n';
    }
    std::rename(tmp.c_str(), out.c_str());
    return gDone ? 0 : 1;
}
