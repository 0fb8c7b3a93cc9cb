#include "platform/system/Printer.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>
#include <QPageLayout>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>

#include <cstdio>
#include <filesystem>
#include <system_error>

#include "base/Exception.h"
#include "platform/Private.h"
#include "platform/graphics/Drawing.h"

namespace platform {

namespace {

class EPrinter : public base::Exception {
public:
    using base::Exception::Exception;
};

// Plays every drawing call of the page canvas onto the printer's painter, so text and
// lines stay text and lines in the output.
struct PagePlayer : DCRecorder {
    QPainter* p = nullptr;

    void Prepare(DeviceContext& dc)
    {
        p->resetTransform();
        if (dc.clip)
            p->setClipRegion(*dc.clip);
        else
            p->setClipping(false);
        p->translate(dc.Offset());
    }
    QPen Pen(const DeviceContext& dc) const
    {
        if (!draw::HasPen(dc)) return QPen(Qt::NoPen);
        return draw::WidePen(dc, ToQColor(dc.penColor));
    }
    QBrush Brush(const DeviceContext& dc) const
    {
        if (!draw::HasBrush(dc)) return Qt::NoBrush;
        return draw::MakeBrush(dc, ToQColor(dc.brushColor));
    }
    void Shape(DeviceContext& dc, bool fill)
    {
        Prepare(dc);
        p->setPen(Pen(dc));
        p->setBrush(fill ? Brush(dc) : QBrush(Qt::NoBrush));
    }

    void LineTo(DeviceContext& dc, TPoint from, TPoint to) override
    {
        Shape(dc, false);
        p->drawLine(from.X, from.Y, to.X, to.Y);
    }
    void Rectangle(DeviceContext& dc, const TRect& r) override
    {
        Shape(dc, true);
        p->drawRect(QRectF(r.Left + 0.5, r.Top + 0.5, r.Right - r.Left - 1, r.Bottom - r.Top - 1));
    }
    void RoundRect(DeviceContext& dc, const TRect& r, int w, int h) override
    {
        Shape(dc, true);
        p->drawRoundedRect(ToQRect(r).adjusted(0, 0, -1, -1), w / 2.0, h / 2.0);
    }
    void Ellipse(DeviceContext& dc, const TRect& r) override
    {
        Shape(dc, true);
        p->drawEllipse(ToQRect(r).adjusted(0, 0, -1, -1));
    }
    void ArcShape(DeviceContext& dc, int kind, const TRect& box, TPoint start, TPoint end) override
    {
        QRect shape;
        int angle = 0, span = 0;
        if (!draw::ArcGeometry(box, start, end, shape, angle, span)) return;
        Shape(dc, kind != 0);
        if (kind == 0) p->drawArc(shape, angle, span);
        else if (kind == 1) p->drawPie(shape, angle, span);
        else p->drawChord(shape, angle, span);
    }
    void Polygon(DeviceContext& dc, const TPoint* pts, int n) override
    {
        Shape(dc, true);
        QPolygon poly;
        for (int i = 0; i < n; ++i) poly << QPoint(pts[i].X, pts[i].Y);
        p->drawPolygon(poly);
    }
    void Polyline(DeviceContext& dc, const TPoint* pts, int n) override
    {
        Shape(dc, false);
        QPolygon poly;
        for (int i = 0; i < n; ++i) poly << QPoint(pts[i].X, pts[i].Y);
        p->drawPolyline(poly);
    }
    void FillRect(DeviceContext& dc, const TRect& r, COLORREF color, bool withBrush) override
    {
        Prepare(dc);
        p->fillRect(ToQRect(r), withBrush ? Brush(dc) : QBrush(ToQColor(color)));
    }
    void Pixel(DeviceContext& dc, TPoint pt, COLORREF c) override
    {
        Prepare(dc);
        p->fillRect(QRect(pt.X, pt.Y, 1, 1), ToQColor(c));
    }
    void Text(DeviceContext& dc, TPoint at, UINT options, const TRect* clip, const std::string& text,
              const int* dx) override
    {
        Draw(dc, at, options, clip, AnsiToQString(text), dx);
    }
    void TextW(DeviceContext& dc, TPoint at, UINT options, const TRect* clip, const std::u16string& text,
               const int* dx) override
    {
        Draw(dc, at, options, clip, QString::fromStdU16String(text), dx);
    }
    void Draw(DeviceContext& dc, TPoint at, UINT options, const TRect* clip, const QString& s, const int* dx)
    {
        Prepare(dc);
        if (clip && (options & ETO_OPAQUE)) p->fillRect(ToQRect(*clip), ToQColor(dc.bkColor));
        if (clip && (options & ETO_CLIPPED)) p->setClipRect(ToQRect(*clip), Qt::IntersectClip);
        QFont f = dc.font;
        if (dc.charExtra) f.setLetterSpacing(QFont::AbsoluteSpacing, dc.charExtra);
        const QFontMetrics fm(f);
        if (dc.bkMode == OPAQUE) {
            int w = fm.horizontalAdvance(s);
            if (dx) {
                w = 0;
                for (int i = 0; i < s.size(); ++i) w += dx[i];
            }
            p->fillRect(QRect(at.X, at.Y, w, fm.height()), ToQColor(dc.bkColor));
        }
        p->setFont(f);
        p->setPen(ToQColor(dc.textColor));
        if (dc.escapement) {
            p->translate(at.X, at.Y);
            p->rotate(-dc.escapement / 10.0);
            p->drawText(0, fm.ascent(), s);
            return;
        }
        if (!dx) {
            p->drawText(at.X, at.Y + fm.ascent(), s);
            return;
        }
        int x = at.X;
        for (int i = 0; i < s.size(); ++i) {
            p->drawText(x, at.Y + fm.ascent(), QString(s.at(i)));
            x += dx[i];
        }
    }
    void Blt(DeviceContext& dc, const TRect& target, const QImage& source, DWORD rop) override
    {
        Prepare(dc);
        if (source.isNull()) {
            if (rop == BLACKNESS) p->fillRect(ToQRect(target), Qt::black);
            if (rop == WHITENESS) p->fillRect(ToQRect(target), Qt::white);
            return;
        }
        p->drawImage(ToQRect(target), source);
    }
};

class PrinterCanvas : public TCanvas {
public:
    PrinterCanvas(QPainter* painter, const QRect& page)
    {
        player_.p = painter;
        dc_.recorder = &player_;
        dc_.recordBounds = page;
        AttachDC(&dc_);
    }
    ~PrinterCanvas() override { AttachDC(nullptr); }

private:
    PagePlayer player_;
    DeviceContext dc_;
};

std::vector<std::string> PrinterNames()
{
    std::vector<std::string> names{"PDF"};
    EnsurePlatform();
    for (const QString& n : QPrinterInfo::availablePrinterNames()) names.push_back(n.toStdString());
    return names;
}

}  // namespace

struct TPrinter::Job {
    QPrinter printer{QPrinter::HighResolution};
    QPainter painter;
    std::unique_ptr<PrinterCanvas> canvas;
    QString pdfFile;  // the target
    QString tempFile; // written while printing, renamed onto the target at the end
};

TPrinter::TPrinter() : printers_(PrinterNames())
{
    const QString def = QPrinterInfo::defaultPrinterName();
    for (std::size_t i = 1; i < printers_.size(); ++i)
        if (!def.isEmpty() && printers_[i] == def.toStdString()) printerIndex_ = int(i);
}

TPrinter::~TPrinter()
{
    if (Printing()) Abort();
}

bool TPrinter::Printing() const { return job_ != nullptr; }

void TPrinter::SetPrinterIndex(int i)
{
    if (i < 0 || i >= int(printers_.size())) throw EPrinter("Printer index out of range");
    printerIndex_ = i;
}

void TPrinter::SetOrientation(TPrinterOrientation o)
{
    if (Printing()) throw EPrinter("Printing in progress");
    orientation_ = o;
}

void TPrinter::BeginDoc()
{
    if (Printing()) throw EPrinter("Printing in progress");
    EnsurePlatform();
    auto job = std::make_unique<Job>();
    QPrinter& pr = job->printer;
    pr.setResolution(PixelsPerInch());
    pr.setFullPage(true);
    pr.setDocName(AnsiToQString(Title));
    pr.setCopyCount(std::max(1, Copies));
    pr.setPageOrientation(orientation_ == poLandscape ? QPageLayout::Landscape : QPageLayout::Portrait);
    if (printerIndex_ == 0) {
        job->pdfFile = QString::fromStdString(FileName.empty() ? std::string("print.pdf") : FileName);
        // A file beside the target takes the pages, so the target is whole or untouched.
        QTemporaryFile temp(QFileInfo(job->pdfFile).absoluteFilePath() + ".XXXXXX");
        temp.setAutoRemove(false);
        if (!temp.open()) throw EPrinter("Cannot create " + FileName);
        job->tempFile = temp.fileName();
        temp.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup |
                            QFileDevice::ReadOther);
        temp.close();
        pr.setOutputFormat(QPrinter::PdfFormat);
        pr.setOutputFileName(job->tempFile);
    } else {
        pr.setPrinterName(QString::fromStdString(printers_[std::size_t(printerIndex_)]));
    }
    if (!job->painter.begin(&pr)) {
        if (!job->tempFile.isEmpty()) QFile::remove(job->tempFile);
        throw EPrinter("Printer is not available: " + printers_[std::size_t(printerIndex_)]);
    }
    job->canvas = std::make_unique<PrinterCanvas>(&job->painter, QRect(0, 0, pr.width(), pr.height()));
    job_ = std::move(job);
    aborted_ = false;
    pageNumber_ = 1;
}

void TPrinter::EndDoc()
{
    if (!Printing()) throw EPrinter("Printer is not printing");
    job_->canvas.reset();
    const bool ended = job_->painter.end();
    const std::unique_ptr<Job> job = std::move(job_);
    pageNumber_ = 0;
    if (job->tempFile.isEmpty()) {
        if (!ended) throw EPrinter("The print job failed");
        return;
    }
    const std::string target = job->pdfFile.toStdString();
    if (!ended) {
        QFile::remove(job->tempFile);
        throw EPrinter("Cannot write " + target);
    }
    std::error_code ec;
    std::filesystem::rename(job->tempFile.toStdString(), target, ec);
    if (ec) {
        QFile::remove(job->tempFile);
        throw EPrinter("Cannot write " + target + ": " + ec.message());
    }
}

void TPrinter::NewPage()
{
    if (!Printing()) throw EPrinter("Printer is not printing");
    job_->printer.newPage();
    job_->canvas->Refresh();
    ++pageNumber_;
}

void TPrinter::Abort()
{
    if (!Printing()) throw EPrinter("Printer is not printing");
    job_->canvas.reset();
    job_->printer.abort();
    job_->painter.end();
    if (!job_->tempFile.isEmpty()) QFile::remove(job_->tempFile);
    job_.reset();
    aborted_ = true;
    pageNumber_ = 0;
}

TCanvas* TPrinter::Canvas()
{
    if (!Printing()) throw EPrinter("Printer is not printing");
    return job_->canvas.get();
}

namespace {

QSize IdlePageSize(int dpi, TPrinterOrientation o)
{
    QPrinter pr(QPrinter::HighResolution);
    pr.setResolution(dpi);
    pr.setFullPage(true);
    pr.setPageOrientation(o == poLandscape ? QPageLayout::Landscape : QPageLayout::Portrait);
    return {pr.width(), pr.height()};
}

}  // namespace

int TPrinter::PageWidth() const
{
    return job_ ? job_->printer.width() : IdlePageSize(PixelsPerInch(), orientation_).width();
}

int TPrinter::PageHeight() const
{
    return job_ ? job_->printer.height() : IdlePageSize(PixelsPerInch(), orientation_).height();
}

TPrinter* Printer()
{
    static TPrinter printer;
    return &printer;
}

}  // namespace platform
