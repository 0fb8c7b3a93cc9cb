#include "widgets/edit/ExEdDD.h"

#include <chrono>
#include <cstring>
#include <iostream>
#include <map>
#include <thread>

#include "base/Exception.h"
#include "platform/forms/Forms.h"
#include "platform/system/Clipboard.h"

namespace edit {

using namespace platform;

namespace {

bool gRTFAware = false;
std::function<void(const std::string&)> gErrorHandler;

struct Registration {
    std::shared_ptr<TAEDropTarget> target;
};
std::map<HWND, Registration> gTargets;

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

}  // namespace

unsigned CF_RTF()
{
    static const unsigned format = RegisterClipboardFormat("Rich Text Format");
    return format;
}

void SetRTFAware(bool on) { gRTFAware = on; }
bool RTFAware() { return gRTFAware; }

int StandardEffect(unsigned keys) { return (keys & MK_CONTROL) ? DROPEFFECT_COPY : DROPEFFECT_MOVE; }

void SetDragDropErrorHandler(std::function<void(const std::string&)> handler) { gErrorHandler = std::move(handler); }

void ReportDragDropError(const std::string& message)
{
    if (gErrorHandler) gErrorHandler(message);
    else std::cerr << "Drag and drop: " << message << '\n';
}

// ---------------------------------------------------------------- source data

HRESULT TSourceDataObject::QueryGetData(unsigned format) const
{
    if (format == CF_TEXT || format == CF_UNICODETEXT || (format == CF_RTF() && gRTFAware)) return S_OK;
    return DV_E_FORMATETC;
}

HRESULT TSourceDataObject::GetData(unsigned format, std::string& block) const
{
    block.clear();
    if (QueryGetData(format) != S_OK) return DV_E_FORMATETC;
    if (format == CF_UNICODETEXT) {
        const std::u16string w = AnsiToWide(text_);
        for (char16_t c : w) {
            block += char(c & 0xFF);
            block += char(c >> 8);
        }
        block.append(2, '\0');
    } else {
        block = (format == CF_TEXT ? text_ : rtf_);
        block += '\0';
    }
    return S_OK;
}

bool TSourceDataObject::EnumFormats(std::vector<unsigned>& formats) const
{
    formats = {CF_TEXT, CF_UNICODETEXT, CF_RTF()};
    return true;
}

std::string MakeFileDropBlock(const std::vector<std::string>& files, bool wide)
{
    std::string block(20, '\0');
    block[0] = 20;                // offset of the first name
    block[16] = wide ? 1 : 0;     // the wide flag
    for (const std::string& f : files) {
        if (wide) {
            for (char16_t c : AnsiToWide(f)) {
                block += char(c & 0xFF);
                block += char(c >> 8);
            }
            block.append(2, '\0');
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
    if (!data.EnumFormats(formats_)) throw base::Exception("Cannot get the format enumerator");
}

bool TEnumFormats::HasFormat(unsigned format) const
{
    for (unsigned f : formats_)
        if (f == format) return true;
    return false;
}

std::string TEnumFormats::SomeText(unsigned format) const
{
    std::string block;
    if (!HasFormat(format) || data_.GetData(format, block) != S_OK) return {};
    return block.substr(0, block.find('\0'));
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

HRESULT TAEDropTarget::DragEnter(const TDataObject& data, unsigned keys, TPoint screen, int& effect)
{
    acceptable_ = false;
    keys_ = keys;
    Guarded("drag entry", [&] {
        TEnumFormats formats(data);
        acceptable_ = formats.HasText() || formats.HasFile() || (formats.HasRTF() && gRTFAware);
    });
    return DragOver(keys, screen, effect);
}

HRESULT TAEDropTarget::DragOver(unsigned keys, TPoint screen, int& effect)
{
    keys_ = keys;
    effect = acceptable_ ? StandardEffect(keys) : DROPEFFECT_NONE;
    bool allow = true;
    if (!Guarded("drag over", [&] { DragMouseMove(screen, allow); })) allow = false;
    if (!allow) effect = DROPEFFECT_NONE;
    return S_OK;
}

HRESULT TAEDropTarget::Drop(const TDataObject& data, unsigned keys, TPoint screen, int& effect)
{
    effect = DROPEFFECT_NONE;
    keys_ = keys;
    refused_ = false;
    if (!acceptable_) return S_OK;
    const bool ok = Guarded("drop", [&] {
        TEnumFormats formats(data);
        if (formats.HasRTF() && gRTFAware) DropRTF(screen, formats.RTF());
        else if (formats.HasText()) DropText(screen, formats.Text());
        std::vector<std::string> files;
        if (formats.HasFile() && formats.SomeFiles(files)) DropFiles(screen, files);
    });
    if (ok && !refused_) effect = StandardEffect(keys);
    return S_OK;
}

// ---------------------------------------------------------------- source

HRESULT TAEDropSource::QueryContinueDrag(bool escapePressed, unsigned keys)
{
    if (escapePressed) return DRAGDROP_S_CANCEL;
    if (!(keys & MK_LBUTTON)) return DRAGDROP_S_DROP;
    return S_OK;
}

HRESULT TAEDropSource::GiveFeedback(int effect)
{
    noDrop_ = effect == DROPEFFECT_NONE;
    return DRAGDROP_S_USEDEFAULTCURSORS;
}

// ---------------------------------------------------------------- registration and the loop

bool RegisterDragDrop(TWinControl* window, std::shared_ptr<TAEDropTarget> target)
{
    if (!window || !target) return false;
    try {
        gTargets[window->Handle()] = Registration{std::move(target)};
        return true;
    } catch (const std::exception& e) {
        ReportDragDropError(std::string("registration: ") + e.what());
        return false;
    }
}

void RevokeDragDrop(TWinControl* window)
{
    if (window && window->HandleAllocated()) gTargets.erase(window->Handle());
}

namespace {

// The registered target under a screen point.
std::pair<HWND, TAEDropTarget*> TargetAt(TPoint screen)
{
    for (auto it = gTargets.begin(); it != gTargets.end();) {
        TWinControl* c = TWinControl::FromHandle(it->first);
        if (!c) {
            it = gTargets.erase(it);
            continue;
        }
        if (c->Showing() && PtInRect(c->ClientRect(), c->ScreenToClient(screen))) return {it->first, it->second.target.get()};
        ++it;
    }
    return {nullptr, nullptr};
}

}  // namespace

HRESULT DoDragDrop(TWinControl* source, const TDataObject& data, TAEDropSource& dropSource, int allowed, int& effect)
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
    TAEDropTarget* target = nullptr;
    HRESULT result = DRAGDROP_S_CANCEL;
    for (;;) {
        if (in.changed) {
            in.changed = false;
            const HRESULT q = dropSource.QueryContinueDrag(in.escape || in.lost, in.keys);
            auto [h, t] = TargetAt(in.screen);
            if (h != over || (over && !TWinControl::FromHandle(over))) {
                if (target && TWinControl::FromHandle(over)) target->DragLeave();
                over = h;
                target = t;
                effect = DROPEFFECT_NONE;
                if (target) target->DragEnter(data, in.keys, in.screen, effect);
            } else if (target) {
                target->DragOver(in.keys, in.screen, effect);
            } else {
                effect = DROPEFFECT_NONE;
            }
            effect &= allowed;
            if (q == DRAGDROP_S_DROP) {
                if (target && effect != DROPEFFECT_NONE) {
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

HRESULT StartTextDoDragDrop(TWinControl* source, const std::string& text, const std::string& rtf, int allowed,
                            int& effect)
{
    TSourceDataObject data(text, rtf);
    TAEDropSource dropSource;
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

}  // namespace edit
