#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

#include <map>
#include <memory>

#include "platform/system/Clipboard.h"
#include "platform/Private.h"

namespace platform {

namespace {

std::map<std::string, UINT> gByName;
std::map<UINT, std::string> gById;
std::unique_ptr<QMimeData> gPending;

// MIME types for the formats other programs here know under another name.
QString MimeOf(UINT format)
{
    switch (format) {
    case CF_TEXT: case CF_UNICODETEXT: return QStringLiteral("text/plain");
    case CF_ENHMETAFILE: return QStringLiteral("image/x-emf");
    case CF_METAFILEPICT: return QStringLiteral("image/x-wmf");
    default: break;
    }
    auto it = gById.find(format);
    if (it == gById.end()) return {};
    if (it->second == "HTML Format") return QStringLiteral("text/html");
    if (it->second == "Rich Text Format") return QStringLiteral("text/rtf");
    QString name = QString::fromStdString(it->second);
    for (QChar& c : name)
        if (!c.isLetterOrNumber()) c = '-';
    return "application/x-korvelo-" + name.toLower();
}

QClipboard* Board() { return QGuiApplication::clipboard(); }

}  // namespace

UINT RegisterClipboardFormat(const std::string& name)
{
    if (name.empty()) return 0;
    auto it = gByName.find(name);
    if (it != gByName.end()) return it->second;
    UINT id = 0xC000 + UINT(gByName.size());
    gByName[name] = id;
    gById[id] = name;
    return id;
}

std::string GetClipboardFormatName(UINT format)
{
    auto it = gById.find(format);
    return it == gById.end() ? std::string() : it->second;
}

TClipboard* Clipboard()
{
    static TClipboard clipboard;
    return &clipboard;
}

void TClipboard::Open() { ++openCount_; }

void TClipboard::Close()
{
    if (openCount_ == 0) return;
    if (--openCount_ == 0 && gPending) Board()->setMimeData(gPending.release());
}

void TClipboard::Clear()
{
    gPending.reset();
    Board()->clear();
}

namespace {
QMimeData& Target()
{
    if (!gPending) gPending = std::make_unique<QMimeData>();
    return *gPending;
}
}  // namespace

void TClipboard::SetAsText(const std::string& text)
{
    Open();
    Target().setText(AnsiToQString(text));
    Close();
}

std::string TClipboard::AsText() const
{
    const QMimeData* m = Board()->mimeData();
    return m && m->hasText() ? QStringToAnsi(m->text()) : std::string();
}

void TClipboard::SetFormatData(UINT format, const std::string& bytes)
{
    if (format == CF_TEXT) {
        SetAsText(bytes);
        return;
    }
    QString mime = MimeOf(format);
    if (mime.isEmpty()) return;
    Open();
    Target().setData(mime, QByteArray(bytes.data(), qsizetype(bytes.size())));
    Close();
}

std::string TClipboard::GetFormatData(UINT format) const
{
    if (format == CF_TEXT) return AsText();
    QString mime = MimeOf(format);
    const QMimeData* m = Board()->mimeData();
    if (mime.isEmpty() || !m || !m->hasFormat(mime)) return {};
    QByteArray b = m->data(mime);
    return std::string(b.constData(), std::size_t(b.size()));
}

bool TClipboard::HasFormat(UINT format) const
{
    const QMimeData* m = Board()->mimeData();
    if (!m) return false;
    if (format == CF_TEXT || format == CF_UNICODETEXT) return m->hasText();
    if (format == CF_BITMAP || format == CF_DIB) return m->hasImage();
    QString mime = MimeOf(format);
    return !mime.isEmpty() && m->hasFormat(mime);
}

std::vector<UINT> TClipboard::Formats() const
{
    std::vector<UINT> out;
    for (UINT f : {UINT(CF_TEXT), UINT(CF_BITMAP), UINT(CF_ENHMETAFILE)})
        if (HasFormat(f)) out.push_back(f);
    for (const auto& [id, name] : gById)
        if (HasFormat(id)) out.push_back(id);
    return out;
}

void TClipboard::Assign(const TBitmap& bitmap)
{
    Open();
    Target().setImageData(BitmapImage(const_cast<TBitmap&>(bitmap)).copy());
    Close();
}

bool TClipboard::GetBitmap(TBitmap& bitmap) const
{
    const QMimeData* m = Board()->mimeData();
    if (!m || !m->hasImage()) return false;
    QImage img = qvariant_cast<QImage>(m->imageData());
    if (img.isNull()) return false;
    bitmap.SetSize(img.width(), img.height());
    QImage& dst = BitmapImage(bitmap);
    dst = img.convertToFormat(QImage::Format_RGB32);
    bitmap.Canvas()->Refresh();
    return true;
}

}  // namespace platform
