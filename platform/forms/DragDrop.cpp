#include "platform/forms/DragDrop.h"

#include <QAbstractNativeEventFilter>
#include <QApplication>
#include <QCursor>
#include <QDrag>
#include <QDropEvent>
#include <QEventLoop>
#include <QPointer>
#include <QMimeData>
#include <QRegularExpression>
#include <QTimer>
#include <QUrl>
#include <QWidget>

#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <map>
#include <set>
#include <thread>
#include <utility>

#include "platform/Private.h"
#include "platform/controls/Controls.h"
#include "platform/controls/ControlsPrivate.h"
#include "platform/forms/Forms.h"
#include "platform/system/Clipboard.h"
#include "platform/system/KeyState.h"

#include <xcb/xcb.h>

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

namespace {
void EnsureHostDrops(TWinControl* window);
}

bool RegisterDragDrop(TWinControl* window, std::shared_ptr<TDropTarget> target)
{
    if (!window || !target) return false;
    try {
        gTargets[window] = Registration{window->Handle(), std::move(target)};
        EnsureHostDrops(window);
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
std::pair<HWND, std::shared_ptr<TDropTarget>> TargetAt(TPoint screen, QWidget* topLevel = nullptr)
{
    std::pair<HWND, std::shared_ptr<TDropTarget>> found{nullptr, nullptr};
    TWinControl* foundControl = nullptr;
    for (auto it = gTargets.begin(); it != gTargets.end();) {
        TWinControl* c = TWinControl::FromHandle(it->second.handle);
        if (c != it->first) {
            it = gTargets.erase(it);
            continue;
        }
        QWidget* host = topLevel ? HostWidget(c) : nullptr;
        if (topLevel && (!host || host->window() != topLevel)) {
            ++it;
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

// ---------------------------------------------------------------- the desktop's drag and drop
//
// On a windowing system with drag and drop between programs, a drag started by the real
// mouse runs through the host's drag (other programs see text, rich text, file lists and
// the registered formats as MIME data), and drags arriving from anywhere reach the
// registered targets through the host windows' drag events.

namespace {

const char* const kRtfMime[] = {"text/rtf", "application/rtf", "text/richtext"};
const QString kFormatMimePrefix = QStringLiteral("application/x-korvelo-format.");

// The data object of the drag this process runs through the host, for drops on itself.
const TDataObject* gHostDragData = nullptr;
// Set when that drag was dropped on a window of this process (its data was read there).
bool gHostDropLocal = false;

// The data of a drag as other programs fetch it; tells when a fetch is made.
class TFetchedMime : public QMimeData {
public:
    std::function<void()> onFetch;

protected:
    QVariant retrieveData(const QString& type, QMetaType t) const override
    {
        if (onFetch) onFetch();
        return QMimeData::retrieveData(type, t);
    }
};

// Data that came from another program, as the formats the targets read.
class TMimeDataObject : public TDataObject {
public:
    explicit TMimeDataObject(const QMimeData& mime)
    {
        // Text proper: a file list may come as its addresses in text as well.
        if ((mime.hasFormat(QStringLiteral("text/plain")) || mime.hasFormat(QStringLiteral("text/plain;charset=utf-8"))) &&
            !OnlyAddresses(mime)) {
            QString t = mime.text();
            t.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
            t.replace(QChar('\n'), QStringLiteral("\r\n"));
            std::string text(QStringToAnsi(t));
            text += '\0';
            Add(CF_TEXT, text);
            std::string wide;
            for (QChar c : t) {
                wide += char(c.unicode() & 0xFF);
                wide += char(c.unicode() >> 8);
            }
            wide.append(2, '\0');
            Add(CF_UNICODETEXT, wide);
        }
        for (const char* m : kRtfMime) {
            if (!mime.hasFormat(m)) continue;
            QByteArray rtf = mime.data(m);
            const qsizetype z = rtf.indexOf('\0');
            if (z >= 0) rtf.truncate(z);
            if (rtf.startsWith("{\\rtf")) {
                Add(CF_RTF(), std::string(rtf.constData(), std::size_t(rtf.size())) + '\0');
                break;
            }
        }
        if (mime.hasUrls()) {
            std::vector<std::string> files;
            for (const QUrl& u : mime.urls())
                if (u.isLocalFile()) files.push_back(QStringToAnsi(u.toLocalFile()));
            if (!files.empty()) Add(CF_HDROP, MakeFileDropBlock(files, true));
        }
        for (const QString& f : mime.formats()) {
            if (!f.startsWith(kFormatMimePrefix)) continue;
            const std::string name(QByteArray::fromPercentEncoding(f.mid(kFormatMimePrefix.size()).toLatin1()).toStdString());
            if (name.empty()) continue;
            const QByteArray d = mime.data(f);
            Add(RegisterClipboardFormat(name), std::string(d.constData(), std::size_t(d.size())));
        }
    }
    HRESULT QueryGetData(unsigned format) const override
    {
        for (const auto& e : blocks_)
            if (e.first == format) return S_OK;
        return DV_E_FORMATETC;
    }
    HRESULT GetData(unsigned format, std::string& block) const override
    {
        block.clear();
        for (const auto& e : blocks_)
            if (e.first == format) {
                block = e.second;
                return S_OK;
            }
        return DV_E_FORMATETC;
    }
    bool EnumFormats(std::vector<unsigned>& formats) const override
    {
        formats.clear();
        for (const auto& e : blocks_) formats.push_back(e.first);
        return true;
    }

private:
    static bool OnlyAddresses(const QMimeData& mime)
    {
        if (!mime.hasUrls()) return false;
        QStringList known;
        for (const QUrl& u : mime.urls()) known << u.toString() << QString::fromLatin1(u.toEncoded()) << u.toLocalFile();
        const QStringList lines = mime.text().split(QRegularExpression(QStringLiteral("[\\r\\n]+")), Qt::SkipEmptyParts);
        for (const QString& l : lines)
            if (!known.contains(l.trimmed())) return false;
        return true;
    }
    void Add(unsigned format, std::string block)
    {
        if (format && QueryGetData(format) != S_OK) blocks_.emplace_back(format, std::move(block));
    }
    std::vector<std::pair<unsigned, std::string>> blocks_;
};

// The end message of a drag to another program (XdndFinished): whether the receiver took
// the data, and whether it took it as a move.
class TDropFinishWatch : public QAbstractNativeEventFilter {
public:
    TDropFinishWatch()
    {
        auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
        conn_ = x11 ? x11->connection() : nullptr;
        finished_ = Atom("XdndFinished");
        move_ = Atom("XdndActionMove");
        if (finished_) qApp->installNativeEventFilter(this);
    }
    ~TDropFinishWatch() override
    {
        if (finished_) qApp->removeNativeEventFilter(this);
    }
    TDropFinishWatch(const TDropFinishWatch&) = delete;
    TDropFinishWatch& operator=(const TDropFinishWatch&) = delete;
    bool Watching() const { return finished_ != 0; }
    std::function<void(bool accepted, bool moved)> onFinish;
    bool nativeEventFilter(const QByteArray& type, void* message, qintptr*) override
    {
        if (type != "xcb_generic_event_t" || !message) return false;
        const auto* e = static_cast<const xcb_generic_event_t*>(message);
        if ((e->response_type & 0x7F) != XCB_CLIENT_MESSAGE) return false;
        const auto* c = static_cast<const xcb_client_message_event_t*>(message);
        if (c->type != finished_ || c->format != 32 || !onFinish) return false;
        onFinish((c->data.data32[1] & 1) != 0, c->data.data32[2] == move_);
        return false;  // the toolkit ends its side of the drag as well
    }

private:
    xcb_atom_t Atom(const char* name) const
    {
        if (!conn_) return 0;
        const xcb_intern_atom_cookie_t k = xcb_intern_atom(conn_, 0, uint16_t(std::strlen(name)), name);
        xcb_intern_atom_reply_t* r = xcb_intern_atom_reply(conn_, k, nullptr);
        const xcb_atom_t a = r ? r->atom : 0;
        std::free(r);
        return a;
    }
    xcb_connection_t* conn_ = nullptr;
    xcb_atom_t finished_ = 0, move_ = 0;
};

// Our data object as MIME data for other programs.
TFetchedMime* ToMime(const TDataObject& data)
{
    auto* mime = new TFetchedMime;
    std::vector<unsigned> formats;
    if (!data.EnumFormats(formats)) return mime;
    std::string block;
    auto have = [&](unsigned f) { return data.QueryGetData(f) == S_OK && data.GetData(f, block) == S_OK; };
    auto upToZero = [](const std::string& b) { return b.substr(0, b.find('\0')); };
    bool textSet = false;
    for (unsigned f : formats) {
        if (f == CF_UNICODETEXT && have(f)) {
            QString t;
            for (std::size_t i = 0; i + 1 < block.size(); i += 2) {
                const char16_t c = char16_t((unsigned char)block[i] | ((unsigned char)block[i + 1] << 8));
                if (!c) break;
                t.append(QChar(c));
            }
            t.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
            mime->setText(t);
            textSet = true;
        } else if (f == CF_TEXT && !textSet && have(f)) {
            QString t = AnsiToQString(upToZero(block));
            t.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
            mime->setText(t);
        } else if (f == CF_RTF() && have(f)) {
            const std::string rtf = upToZero(block);
            for (const char* m : kRtfMime) mime->setData(m, QByteArray(rtf.data(), qsizetype(rtf.size())));
        } else if (f == CF_HDROP && have(f)) {
            struct Files : TDataObject {
                const std::string& b;
                explicit Files(const std::string& block) : b(block) {}
                HRESULT QueryGetData(unsigned format) const override { return format == CF_HDROP ? S_OK : DV_E_FORMATETC; }
                HRESULT GetData(unsigned, std::string& out) const override
                {
                    out = b;
                    return S_OK;
                }
                bool EnumFormats(std::vector<unsigned>& fs) const override
                {
                    fs = {CF_HDROP};
                    return true;
                }
            } files(block);
            std::vector<std::string> names;
            TEnumFormats(files).SomeFiles(names);
            QList<QUrl> urls;
            for (const std::string& n : names) urls.append(QUrl::fromLocalFile(AnsiToQString(n)));
            mime->setUrls(urls);
        } else if (f >= 0xC000 && f != CF_RTF() && have(f)) {
            const std::string name = GetClipboardFormatName(f);
            if (name.empty()) continue;
            const QString type = kFormatMimePrefix + QString::fromLatin1(QByteArray(name.c_str()).toPercentEncoding());
            mime->setData(type, QByteArray(block.data(), qsizetype(block.size())));
        }
    }
    return mime;
}

int ToEffect(Qt::DropActions a)
{
    return (a & Qt::CopyAction ? DROPEFFECT_COPY : 0) | (a & Qt::MoveAction ? DROPEFFECT_MOVE : 0);
}

Qt::DropAction ToAction(int effect)
{
    return effect & DROPEFFECT_MOVE ? Qt::MoveAction : effect & DROPEFFECT_COPY ? Qt::CopyAction : Qt::IgnoreAction;
}

// Host drag events to the registered targets of the top-level window they came to.
class HostDropFilter : public QObject {
public:
    bool eventFilter(QObject* o, QEvent* e) override
    {
        switch (e->type()) {
        case QEvent::DragEnter:
        case QEvent::DragMove:
        case QEvent::Drop:
            if (auto* w = qobject_cast<QWidget*>(o)) {
                Handle(w, static_cast<QDropEvent*>(e));
                return true;
            }
            break;
        case QEvent::DragLeave:
            if (qobject_cast<QWidget*>(o)) {
                Leave();
                return true;
            }
            break;
        case QEvent::Show:
            if (auto* w = qobject_cast<QWidget*>(o); w && w->isWindow() && !w->acceptDrops()) {
                for (auto& [c, r] : gTargets)
                    if (TWinControl::FromHandle(r.handle) == c)
                        if (QWidget* h = HostWidget(c); h && h->window() == w) w->setAcceptDrops(true);
            }
            break;
        default: break;
        }
        return false;
    }

private:
    void Handle(QWidget* w, QDropEvent* e)
    {
        const QPoint g = w->mapToGlobal(e->position().toPoint());
        const TPoint screen{g.x(), g.y()};
        const unsigned keys = MouseKeys(e->buttons(), e->modifiers());
        const int allowed = ToEffect(e->possibleActions());
        // Our own drag hands its data object over as it is; other programs' data is read.
        if (e->type() == QEvent::DragEnter || !data_) {
            if (e->source() && gHostDragData) {
                data_ = gHostDragData;
                own_.reset();
            } else {
                own_ = std::make_unique<TMimeDataObject>(*e->mimeData());
                data_ = own_.get();
            }
        }
        auto [h, t] = TargetAt(screen, w->window());
        if (h != over_ || (over_ && !TWinControl::FromHandle(over_))) {
            if (target_ && TWinControl::FromHandle(over_)) target_->DragLeave();
            over_ = h;
            target_ = t;
            entered_ = false;
        }
        int effect = allowed;
        if (!target_) {
            effect = DROPEFFECT_NONE;
        } else if (!entered_) {
            entered_ = true;
            target_->DragEnter(*data_, keys, screen, effect);
        } else {
            target_->DragOver(keys, screen, effect);
        }
        effect &= allowed;
        // Files from another program are read, never taken: its file manager keeps them.
        if (own_ && effect == DROPEFFECT_MOVE && (allowed & DROPEFFECT_COPY) && FilesOnly()) effect = DROPEFFECT_COPY;
        if (e->type() == QEvent::Drop) {
            if (!own_) gHostDropLocal = true;
            if (target_ && effect != DROPEFFECT_NONE) {
                const bool filesOnly = own_ && FilesOnly();
                effect = allowed;
                target_->Drop(*data_, keys, screen, effect);
                effect &= allowed;
                if (filesOnly && effect == DROPEFFECT_MOVE && (allowed & DROPEFFECT_COPY)) effect = DROPEFFECT_COPY;
            } else if (target_) {
                target_->DragLeave();
            }
            Reset();
        }
        if (effect == DROPEFFECT_NONE) {
            e->setDropAction(Qt::IgnoreAction);
            if (e->type() == QEvent::DragEnter) e->accept();  // the window stays the host's target
            else e->ignore();
        } else {
            e->setDropAction(ToAction(effect));
            e->accept();
        }
    }
    bool FilesOnly() const
    {
        return own_->QueryGetData(CF_HDROP) == S_OK && own_->QueryGetData(CF_TEXT) != S_OK &&
               own_->QueryGetData(CF_RTF()) != S_OK;
    }
    void Leave()
    {
        if (target_ && TWinControl::FromHandle(over_)) target_->DragLeave();
        Reset();
    }
    void Reset()
    {
        over_ = nullptr;
        target_.reset();
        entered_ = false;
        data_ = nullptr;
        own_.reset();
    }
    HWND over_ = nullptr;
    std::shared_ptr<TDropTarget> target_;
    bool entered_ = false;
    const TDataObject* data_ = nullptr;
    std::unique_ptr<TMimeDataObject> own_;
};

void EnsureHostDrops(TWinControl* window)
{
    static HostDropFilter* filter = [] {
        auto* f = new HostDropFilter;
        qApp->installEventFilter(f);
        return f;
    }();
    (void)filter;
    if (QWidget* h = HostWidget(window)) h->window()->setAcceptDrops(true);
}

bool UseHostDrag()
{
    return QGuiApplication::platformName() == QLatin1String("xcb") &&
           (QGuiApplication::mouseButtons() & Qt::LeftButton);
}

// How long a move waits for the receiving program's answer after the drop.
constexpr int kFetchWaitMs = 10000;

HRESULT HostDoDragDrop(TWinControl* source, const TDataObject& data, TDropSource& dropSource, int allowed,
                       int& effect)
{
    QWidget* w = HostWidget(source);
    if (!w) return E_NOTIMPL;
    // The drag before this one gave up the desktop's drag selection now: its data goes.
    static QPointer<QDrag> previous;
    if (previous) delete previous.data();
    const HWND sourceHandle = source->Handle();
    auto* drag = new QDrag(w);
    previous = drag;
    TFetchedMime* mime = ToMime(data);
    drag->setMimeData(mime);
    int current = DROPEFFECT_NONE;
    QObject::connect(drag, &QDrag::actionChanged, [&](Qt::DropAction a) {
        current = ToEffect(a);
        dropSource.GiveFeedback(current);
    });
    // The source follows the mouse (its drag image) while the host runs the drag.
    QTimer follow;
    QObject::connect(&follow, &QTimer::timeout, [&] {
        const QPoint p = QCursor::pos();
        dropSource.QueryContinueDrag(false, MK_LBUTTON, TPoint{p.x(), p.y()});
    });
    follow.start(15);
    const Qt::DropActions supported = (allowed & DROPEFFECT_COPY ? Qt::CopyAction : Qt::IgnoreAction) |
                                      (allowed & DROPEFFECT_MOVE ? Qt::MoveAction : Qt::IgnoreAction);
    // The desktop's drag takes the pointer itself.
    source->SetMouseCapture(false);
    const TDataObject* before = gHostDragData;
    gHostDragData = &data;
    gHostDropLocal = false;
    Qt::DropAction done = Qt::IgnoreAction;
    {
        struct Restore {
            const TDataObject* before;
            ~Restore() { gHostDragData = before; }
        } restore{before};
        done = drag->exec(supported, allowed & DROPEFFECT_MOVE ? Qt::MoveAction : Qt::CopyAction);
    }
    follow.stop();
    // The drag object (and with it the data) stays: a program of another toolkit fetches
    // the data after the drop. The desktop's drag frees it once the receiver has finished;
    // the next drag frees it otherwise.
    const bool local = std::exchange(gHostDropLocal, false);
    HRESULT result = done == Qt::IgnoreAction ? DRAGDROP_S_CANCEL : DRAGDROP_S_DROP;
    effect = ToEffect(done) & allowed;
    if (effect == DROPEFFECT_MOVE && !local && drag == previous) {
        // A move takes the source's data away only once the receiver really holds it: wait
        // for its end message. A receiver that took nothing leaves the data here; one that
        // fetched it but says no (or an older receiver that never says yes) gets a copy, and
        // so does one that has not answered in time (it may still fetch the data).
        bool fetched = false, ended = false, accepted = false, moved = false;
        QEventLoop wait;
        mime->onFetch = [&] { fetched = true; };
        TDropFinishWatch finish;
        finish.onFinish = [&](bool a, bool m) {
            ended = true;
            accepted = a;
            moved = m;
            wait.quit();
        };
        QTimer::singleShot(kFetchWaitMs, &wait, [&] { wait.quit(); });
        if (finish.Watching()) wait.exec();
        if (previous == drag) mime->onFetch = nullptr;
        if (ended && accepted) {
            effect = moved ? DROPEFFECT_MOVE : allowed & DROPEFFECT_COPY;
        } else if (fetched || !ended) {
            effect = allowed & DROPEFFECT_COPY;
        } else {
            effect = DROPEFFECT_NONE;
            result = DRAGDROP_S_CANCEL;
        }
    }
    // The release ended the drag inside the host: the button is up now.
    NoteKeyEvent(VK_LBUTTON, false);
    if (TWinControl* c = TWinControl::FromHandle(sourceHandle)) c->SetMouseCapture(false);
    dropSource.GiveFeedback(effect);
    return result;
}

}  // namespace

HRESULT DoDragDrop(TWinControl* source, const TDataObject& data, TDropSource& dropSource, int allowed, int& effect)
{
    effect = DROPEFFECT_NONE;
    if (!source) return E_NOTIMPL;
    if (UseHostDrag()) return HostDoDragDrop(source, data, dropSource, allowed, effect);
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

// ---------------------------------------------------------------- files dropped from the desktop

struct TDropFiles {
    std::vector<std::string> files;
    TPoint point;
};

namespace {

std::set<HDROP> gLiveDrops;

class TFileDropTarget : public TDropTarget {
public:
    explicit TFileDropTarget(HWND window) : window_(window)
    {
        AcceptText = false;
        AcceptFiles = true;
    }
    void DropFiles(TPoint screen, const std::vector<std::string>& files) override
    {
        TWinControl* c = TWinControl::FromHandle(window_);
        if (!c) return;
        auto* drop = new TDropFiles{files, c->ScreenToClient(screen)};
        gLiveDrops.insert(drop);
        struct Free {
            HDROP d;
            ~Free() { DragFinish(d); }
        } free{drop};
        c->Perform(WM_DROPFILES, WPARAM(drop), 0);
    }

private:
    HWND window_;
};

}  // namespace

void DragAcceptFiles(TWinControl* window, bool accept)
{
    if (!window) return;
    if (accept) RegisterDragDrop(window, std::make_shared<TFileDropTarget>(window->Handle()));
    else RevokeDragDrop(window);
}

UINT DragQueryFile(HDROP drop, UINT index, char* buffer, UINT size)
{
    if (!drop || !gLiveDrops.count(drop)) return 0;
    if (index == 0xFFFFFFFFu) return UINT(drop->files.size());
    if (index >= drop->files.size()) return 0;
    const std::string& name = drop->files[index];
    if (!buffer) return UINT(name.size());
    if (size == 0) return 0;
    const std::size_t n = std::min<std::size_t>(name.size(), size - 1);
    std::memcpy(buffer, name.data(), n);
    buffer[n] = '\0';
    return UINT(n);
}

bool DragQueryPoint(HDROP drop, TPoint& point)
{
    if (!drop || !gLiveDrops.count(drop)) return false;
    point = drop->point;
    return true;
}

void DragFinish(HDROP drop)
{
    if (gLiveDrops.erase(drop)) delete drop;
}

}  // namespace platform
