#pragma once
// The printer: a print job drawn page by page through a canvas. Its first target is
// a PDF file; the system's printers follow.
#include <memory>
#include <string>
#include <vector>

namespace platform {

class TCanvas;

enum TPrinterOrientation { poPortrait, poLandscape };

class TPrinter {
public:
    TPrinter();
    ~TPrinter();
    TPrinter(const TPrinter&) = delete;
    TPrinter& operator=(const TPrinter&) = delete;

    // Starts a job on the chosen printer; EPrinter when one is running or the target
    // cannot be opened.
    void BeginDoc();
    void EndDoc();
    void NewPage();
    // Ends the job; a PDF target is left as it was before the job.
    void Abort();
    bool Printing() const;
    bool Aborted() const { return aborted_; }

    // The page canvas; only usable while printing. Device pixels at PixelsPerInch.
    TCanvas* Canvas();
    int PageWidth() const;
    int PageHeight() const;
    int PixelsPerInch() const { return 96; }
    int PageNumber() const { return pageNumber_; }

    std::string Title;  // the job's name
    // "PDF" (index 0) then the system's printers; the index starts at the system's
    // default printer, or at the PDF target when there is none.
    const std::vector<std::string>& Printers() const { return printers_; }
    int PrinterIndex() const { return printerIndex_; }
    void SetPrinterIndex(int i);  // EPrinter when out of range
    // The file the PDF target writes; empty gives "print.pdf" in the working folder. The
    // pages go to a file beside it that EndDoc renames onto it: the file is whole or untouched.
    std::string FileName;
    int Copies = 1;
    TPrinterOrientation Orientation() const { return orientation_; }
    void SetOrientation(TPrinterOrientation o);  // EPrinter while printing

private:
    struct Job;
    std::unique_ptr<Job> job_;
    std::vector<std::string> printers_;
    int printerIndex_ = 0;
    int pageNumber_ = 0;
    bool aborted_ = false;
    TPrinterOrientation orientation_ = poPortrait;
};

// The program's one printer.
TPrinter* Printer();

}  // namespace platform
