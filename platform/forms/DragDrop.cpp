#include "platform/forms/DragDrop.h"

#include <chrono>
#include <cstdint>
#include <cstring>
#include <iostream>
#include <map>
#include <thread>

#include "platform/controls/Controls.h"
#include "platform/forms/Forms.h"
#include "platform/system/Clipboard.h"

namespace platform {

namespace {

std::function<void(const std::string&)> gErrorHandler;
struct Registration {
    HWND handle;  // tells whether the window still lives
    std::shared_ptr<TDropTarget> target;
};
std::map<TWinControl*, Registration> gTargets;

// Runs a target's handler; a failure is reported and counts as a refusal.
template <class F> bool Guarded(const char* where, F&& f)
{
    try {
        f();
        return true;
    } catch (const std::exception& e) {
        ReportDragDropError(std::string(where) + ": " + e.what());
    } catch (...) {
        ReportDragDropError(std::string(where) + ": unknown error");
    }
    return false;
}

void AppendWide(std::string& block, const std::string& text)
{
    for (char16_t c : AnsiToWide(text)) {
        block += char(c & 0xFF);
        block += char(c >> 8);
    }
    block.append(2, '\0');
}

}  // namespace

unsigned CF_RTF()
{
    static const unsigned format = RegisterClipboardFormat("Rich Text Format");
    return format;
}

int StandardEffect(unsigned keys, int allowed)
{
    if (!(keys & MK_CONTROL) && (allowed & DROPEFFECT_MOVE)) return DROPEFFECT_MOVE;
    return (allowed & DROPEFFECT_COPY) ? DROPEFFECT_COPY : DROPEFFECT_NONE;
}

void SetDragDropErrorHandler(std::function<void(const std::string&)> handler) { gErrorHandler = std::move(handler); }

void ReportDragDropError(const std::string& message)
{
    if (gErrorHandler) gErrorHandler(message);
    else std::cerr << "Drag and drop: " << message << '\n';
}

// ---------------------------------------------------------------- format lists

HRESULT TEnumFormatEtc::Next(unsigned count, TFormatEtc* out, unsigned* fetched)
{
    unsigned n = 0;
    for (; n < count && pos_ < formats_.size(); ++n, ++pos_) {
        if (out) out[n] = TFormatEtc{formats_[pos_]};
    }
    if (fetched) *fetched = n;
    return n == count ? S_OK : S_FALSE;
}

HRESULT TEnumFormatEtc::Skip(unsigned count)
{
    if (count > formats_.size() - pos_) {
        pos_ = formats_.size();
        return S_FALSE;
    }
    pos_ += count;
    return S_OK;
}

HRESULT TEnumFormatEtc::Reset()
{
    pos_ = 0;
    return S_OK;
}

std::unique_ptr<TEnumFormatEtc> TEnumFormatEtc::Clone() const { return std::make_unique<TEnumFormatEtc>(formats_, pos_); }

std::unique_ptr<TEnumFormatEtc> TDataObject::EnumFormatEtc() const
{
    std::vector<unsigned> formats;
    if (!EnumFormats(formats)) return nullptr;
    return std::make_unique<TEnumFormatEtc>(std::move(formats));
}

// ---------------------------------------------------------------- source data

HRESULT TTextDataObject::QueryGetData(unsigned format) const
{
    const bool text = !text_.empty() || col_ == -1;
    if ((format == CF_TEXT || format == CF_UNICODETEXT) && text) return S_OK;
    if (format == CF_RTF() && text && OffersRTF()) return S_OK;
    if (colFormat_ && format == colFormat_ && col_ != -1) return S_OK;
    return DV_E_FORMATETC;
}

HRESULT TTextDataObject::GetData(unsigned format, std::string& block) const
{
    block.clear();
    if (QueryGetData(format) != S_OK) return DV_E_FORMATETC;
    if (format == CF_UNICODETEXT) {
        AppendWide(block, text_);
    } else if (colFormat_ && format == colFormat_) {
        const std::uint32_t v = std::uint32_t(col_);
        for (int i = 0; i < 4; ++i) block += char((v >> (8 * i)) & 0xFF);
    } else {
        block = (format == CF_TEXT ? text_ : rtf_);
        block += '\0';
    }
    return S_OK;
}

bool TTextDataObject::EnumFormats(std::vector<unsigned>& formats) const
{
    formats = {CF_TEXT, CF_UNICODETEXT, CF_RTF()};
    if (colFormat_ && col_ != -1) formats.push_back(colFormat_);
    return true;
}

std::string MakeFileDropBlock(const std::vector<std::string>& files, bool wide)
{
    std::string block(20, '\0');
    block[0] = 20;             // offset of the first name
    block[16] = wide ? 1 : 0;  // the wide flag
    for (const std::string& f : files) {
        if (wide) {
            AppendWide(block, f);
        } else {
            block += f;
            block += '\0';
        }
    }
    block.append(wide ? 2 : 1, '\0');
    return block;
}

// ---------------------------------------------------------------- reading data

TEnumFormats::TEnumFormats(const TDataObject& data) : data_(data)
{
    listed_ = data.EnumFormats(formats_);
    if (!listed_) formats_.clear();
}

bool TEnumFormats::HasFormat(unsigned format) const
{
    if (!format) return false;
    for (unsigned f : formats_)
        if (f == format) return data_.QueryGetData(format) == S_OK;
    return false;
}

std::string TEnumFormats::SomeText(unsigned format) const
{
    std::string block;
    if (!HasFormat(format) || data_.GetData(format, block) != S_OK) return {};
    return block.substr(0, block.find('\0'));
}

int TEnumFormats::SomeInt(unsigned format) const
{
    std::string block;
    if (!HasFormat(format) || data_.GetData(format, block) != S_OK || block.size() < 4) return -1;
    std::uint32_t v = 0;
    for (int i = 3; i >= 0; --i) v = (v << 8) | (unsigned char)block[std::size_t(i)];
    return int(std::int32_t(v));
}

bool TEnumFormats::SomeFiles(std::vector<std::string>& files) const
{
    std::string block;
    if (!HasFile() || data_.GetData(CF_HDROP, block) != S_OK || block.size() < 20) return false;
    std::uint32_t offset = 0, wide = 0;
    std::memcpy(&offset, block.data(), 4);
    std::memcpy(&wide, block.data() + 16, 4);
    std::size_t p = offset;
    bool any = false;
    while (p < block.size()) {
        std::string name;
        if (wide) {
            std::u16string w;
            for (; p + 1 < block.size(); p += 2) {
                const char16_t c = char16_t((unsigned char)block[p] | ((unsigned char)block[p + 1] << 8));
                if (!c) break;
                w += c;
            }
            p += 2;
            name = WideToAnsi(w);
        } else {
            const std::size_t z = block.find('\0', p);
            name = block.substr(p, z == std::string::npos ? std::string::npos : z - p);
            p = z == std::string::npos ? block.size() : z + 1;
        }
        if (name.empty()) break;
        files.push_back(name);
        any = true;
    }
    return any;
}

// ---------------------------------------------------------------- targets

HRESULT TDropTarget::DragEnter(const TDataObject& data, unsigned keys, TPoint screen, int& effect)
{
    acceptable_ = false;
    offered_ = 0;
    keys_ = keys;
    if (!Guarded("drag entry", [&] { DragMouseEnter(); })) {
        effect = DROPEFFECT_NONE;
        return S_OK;
    }
    Guarded("drag entry", [&] {
        TEnumFormats formats(data);
        if (!formats.Listed()) ReportDragDropError("Cannot get the format enumerator");
        if (formats.HasText()) offered_ |= dfText;
        if (formats.HasFile()) offered_ |= dfFile;
        if (formats.HasRTF()) offered_ |= dfRTF;
        if (formats.HasFormat(ColFormat())) offered_ |= dfCol;
        acceptable_ = ((offered_ & dfText) && AcceptText) || ((offered_ & dfFile) && AcceptFiles) ||
                      ((offered_ & dfRTF) && RTFAware() && AcceptText) || ((offered_ & dfCol) && AcceptCols);
    });
    return DragOver(keys, screen, effect);
}

HRESULT TDropTarget::DragOver(unsigned keys, TPoint screen, int& effect)
{
    keys_ = keys;
    effect = acceptable_ ? StandardEffect(keys, effect) : DROPEFFECT_NONE;
    bool allow = effect != DROPEFFECT_NONE;
    if (!Guarded("drag over", [&] { DragMouseMove(screen, allow, offered_); })) allow = false;
    if (!allow) effect = DROPEFFECT_NONE;
    return S_OK;
}

HRESULT TDropTarget::DragLeave()
{
    Guarded("drag leave", [&] { DragMouseLeave(); });
    return S_OK;
}

HRESULT TDropTarget::Drop(const TDataObject& data, unsigned keys, TPoint screen, int& effect)
{
    const int allowed = effect;
    effect = DROPEFFECT_NONE;
    keys_ = keys;
    refused_ = false;
    if (!acceptable_) return S_OK;
    const bool ok = Guarded("drop", [&] {
        TEnumFormats formats(data);
        if (!formats.Listed()) {
            Refuse();
            return;
        }
        const unsigned colFormat = ColFormat();
        if (AcceptCols && formats.HasFormat(colFormat)) {
            const int col = formats.SomeInt(colFormat);
            if (col < 0) Refuse();  // a column format without a column
            else DropCol(screen, col);
            return;
        }
        bool took = false;
        if (AcceptText && formats.HasRTF() && RTFAware()) {
            DropRTF(screen, formats.RTF());
            took = true;
        } else if (AcceptText && formats.HasText()) {
            DropText(screen, formats.Text());
            took = true;
        }
        std::vector<std::string> files;
        if (AcceptFiles && formats.HasFile() && formats.SomeFiles(files)) {
            DropFiles(screen, files);
            took = true;
        }
        if (!took) Refuse();
    });
    if (ok && !refused_) effect = StandardEffect(keys, allowed);
    return S_OK;
}

// ---------------------------------------------------------------- source

HRESULT TDropSource::QueryContinueDrag(bool escapePressed, unsigned keys, TPoint screen)
{
    QueryDrag(screen);
    if (escapePressed) return DRAGDROP_S_CANCEL;
    if (!(keys & MK_LBUTTON)) return DRAGDROP_S_DROP;
    return S_OK;
}

HRESULT TDropSource::GiveFeedback(int effect)
{
    noDrop_ = effect == DROPEFFECT_NONE;
    CurrentEffect(effect);
    return DRAGDROP_S_USEDEFAULTCURSORS;
}

// ---------------------------------------------------------------- registration and the loop

bool RegisterDragDrop(TWinControl* window, std::shared_ptr<TDropTarget> target)
{
    if (!window || !target) return false;
    try {
        gTargets[window] = Registration{window->Handle(), std::move(target)};
        return true;
    } catch (const std::exception& e) {
        ReportDragDropError(std::string("registration: ") + e.what());
        return false;
    }
}

void RevokeDragDrop(TWinControl* window)
{
    gTargets.erase(window);
}

namespace {

// The registered target under a screen point; the innermost window wins.
std::pair<HWND, std::shared_ptr<TDropTarget>> TargetAt(TPoint screen)
{
    std::pair<HWND, std::shared_ptr<TDropTarget>> found{nullptr, nullptr};
    TWinControl* foundControl = nullptr;
    for (auto it = gTargets.begin(); it != gTargets.end();) {
        TWinControl* c = TWinControl::FromHandle(it->second.handle);
        if (c != it->first) {
            it = gTargets.erase(it);
            continue;
        }
        if (c->Showing() && PtInRect(c->ClientRect(), c->ScreenToClient(screen))) {
            bool inner = !foundControl;
            for (TWinControl* p = c->Parent(); p && !inner; p = p->Parent()) inner = p == foundControl;
            if (inner) {
                found = {it->second.handle, it->second.target};
                foundControl = c;
            }
        }
        ++it;
    }
    return found;
}

}  // namespace

HRESULT DoDragDrop(TWinControl* source, const TDataObject& data, TDropSource& dropSource, int allowed, int& effect)
{
    effect = DROPEFFECT_NONE;
    if (!source) return E_NOTIMPL;
    const HWND sourceHandle = source->Handle();
    struct Input {
        TPoint screen;
        unsigned keys = MK_LBUTTON;
        bool escape = false, lost = false, changed = true;
    } in;
    GetCursorPos(in.screen);
    // The source's window takes the mouse; its mouse and key messages drive the drag.
    TControl::TWndMethod previous = source->WindowProc;
    source->WindowProc = [&](TMessage& m) {
        switch (m.Msg) {
        case WM_MOUSEMOVE:
        case WM_LBUTTONUP:
            in.screen = source->ClientToScreen(m.Pos());
            in.keys = m.Keys();
            if (m.Msg == WM_LBUTTONUP) in.keys &= ~unsigned(MK_LBUTTON);
            in.changed = true;
            return;
        case WM_KEYDOWN:
            if (m.CharCode() == VK_ESCAPE) in.escape = in.changed = true;
            return;
        case WM_CANCELMODE: in.lost = in.changed = true; return;
        default: previous(m);
        }
    };
    source->SetMouseCapture(true);
    struct Restore {
        HWND handle;
        TControl::TWndMethod proc;
        ~Restore()
        {
            if (TWinControl* c = TWinControl::FromHandle(handle)) {
                c->WindowProc = proc;
                c->SetMouseCapture(false);
            }
        }
    } restore{sourceHandle, previous};
    HWND over = nullptr;
    std::shared_ptr<TDropTarget> target;  // kept alive while the drag is over it
    HRESULT result = DRAGDROP_S_CANCEL;
    for (;;) {
        if (in.changed) {
            in.changed = false;
            const HRESULT q = dropSource.QueryContinueDrag(in.escape || in.lost, in.keys, in.screen);
            auto [h, t] = TargetAt(in.screen);
            effect = allowed;
            if (h != over || (over && !TWinControl::FromHandle(over))) {
                if (target && TWinControl::FromHandle(over)) target->DragLeave();
                over = h;
                target = t;
                if (target) target->DragEnter(data, in.keys, in.screen, effect);
                else effect = DROPEFFECT_NONE;
            } else if (target) {
                target->DragOver(in.keys, in.screen, effect);
            } else {
                effect = DROPEFFECT_NONE;
            }
            effect &= allowed;
            if (q == DRAGDROP_S_DROP) {
                if (target && effect != DROPEFFECT_NONE) {
                    effect = allowed;
                    target->Drop(data, in.keys, in.screen, effect);
                    effect &= allowed;
                } else if (target) {
                    target->DragLeave();
                }
                dropSource.GiveFeedback(effect);
                result = DRAGDROP_S_DROP;
                break;
            }
            if (q == DRAGDROP_S_CANCEL) {
                if (target) target->DragLeave();
                effect = DROPEFFECT_NONE;
                result = DRAGDROP_S_CANCEL;
                break;
            }
            dropSource.GiveFeedback(effect);
        }
        if (!TWinControl::FromHandle(sourceHandle)) return DRAGDROP_S_CANCEL;  // the source went away
        Application->ProcessMessages();
        if (!TWinControl::FromHandle(sourceHandle)) return DRAGDROP_S_CANCEL;
        if (!in.changed) std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return result;
}

HRESULT StartDoDragDrop(TWinControl* source, const TDataObject& data, TDropSource& dropSource, int allowed,
                        int& effect)
{
    HRESULT r = DRAGDROP_S_CANCEL;
    try {
        r = DoDragDrop(source, data, dropSource, allowed, effect);
    } catch (const std::exception& e) {
        ReportDragDropError(std::string("drag: ") + e.what());
        effect = DROPEFFECT_NONE;
        return DRAGDROP_S_CANCEL;
    }
    if (dropSource.NoDrop()) return DRAGDROP_S_CANCEL;
    return r;
}

}  // namespace platform
