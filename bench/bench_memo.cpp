// Text editor: the log window's path. Log lines are added one by one, then the view is
// painted and scrolled to the end; the repaint of a full view at the end of a long log, the
// jump to the start and back to the end, and a page up and down there, beside the toolkit's
// plain text editor.
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QFont>
#include <QKeyEvent>
#include <QImage>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QStringList>
#include <QTextCursor>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "GuiBenchMain.h"
#include "RecordingReporter.h"
#include "platform/graphics/Graphics.h"
#include "platform/TestRig.h"
#include "widgets/memo/ExMemo.h"
#include "widgets/memo/MemoStrings.h"
#include "widgets/memo/MemoStyler.h"

namespace {

std::string LogLine(int i)
{
    switch (i % 5) {
    case 0: return "ERROR: Unable to obtain file handle for \"C:/hulls/boat" + std::to_string(i) + ".hul\"";
    case 1: return "NOTE: " + std::to_string(i % 97) + " frames, displacement 12.5 t at draught 0.8 m";
    case 2: return "Hull 'Boat " + std::to_string(i) + "' read, see http://www.example.org/hulls for the format";
    case 3:
        return "Hydrostatics at heel 0 deg: waterplane area 14.2 m2, LCF 4.61 m, KB 0.33 m, BMt 1.92 m, "
               "BMl 22.8 m, TPC 0.146 t/cm, MCT 0.051 t.m/cm";
    default: return "    run " + std::to_string(i) + " done";
    }
}

struct LogView {
    LogView()
    {
        owner = std::make_unique<platform::TComponent>(nullptr);
        styler = new memo::TExHTMLMemoStyler(owner.get());
        memo = new memo::TExMemo(owner.get());
        memo->SetBounds(0, 0, 670, 355);
        memo->HandleNeeded();
        memo::SetupLogMemo(*memo, *styler);
        canvas = std::make_unique<platform::TBitmap>(670, 355);
    }
    void Fill(int n)
    {
        memo->Lines()->Clear();
        for (int i = 0; i < n; ++i) memo->Lines()->Add(LogLine(i));
    }
    void Paint() { memo->PaintTo(canvas->Canvas()->Handle(), 0, 0); }
    std::unique_ptr<platform::TComponent> owner;
    memo::TExHTMLMemoStyler* styler;
    memo::TExMemo* memo;
    std::unique_ptr<platform::TBitmap> canvas;
};

// Adds n lines one by one, paints, goes to the end (Ctrl+End) and paints again.
void BM_FillLogAndScrollToEnd(benchmark::State& state)
{
    const int n = int(state.range(0));
    LogView view;
    for (auto _ : state) {
        view.Fill(n);
        view.Paint();
        view.memo->MovePage(1, platform::ssCtrl);
        view.Paint();
        benchmark::DoNotOptimize(view.memo->TopLine());
    }
    state.SetComplexityN(n);
    state.counters["lines"] = double(view.memo->Lines()->Count());
}
BENCHMARK(BM_FillLogAndScrollToEnd)
    ->Arg(12500)
    ->Arg(25000)
    ->Arg(50000)
    ->Arg(100000)
    ->Complexity(benchmark::oN)
    ->Unit(benchmark::kMillisecond);

// One repaint of the whole view at the end of a log of 100,000 lines.
void BM_RepaintAtEnd(benchmark::State& state)
{
    LogView view;
    view.Fill(100000);
    view.memo->MovePage(1, platform::ssCtrl);
    view.Paint();
    for (auto _ : state) {
        view.Paint();
        benchmark::ClobberMemory();
    }
    state.counters["topLine"] = view.memo->TopLine();
}
BENCHMARK(BM_RepaintAtEnd)->Unit(benchmark::kMillisecond);

// A character typed at the end of a log of 100,000 lines (word wrap on), with its repaint.
void BM_TypeAtEnd(benchmark::State& state)
{
    LogView view;
    view.Fill(100000);
    view.memo->MovePage(1, platform::ssCtrl);
    view.Paint();
    for (auto _ : state) {
        view.memo->InsertChar('x');
        view.Paint();
    }
}
BENCHMARK(BM_TypeAtEnd)->Unit(benchmark::kMillisecond);

// Ctrl+Home then Ctrl+End on a log of 100,000 lines, each move with its repaint.
void BM_JumpHomeEnd(benchmark::State& state)
{
    LogView view;
    view.Fill(100000);
    platform::SendKey(view.memo, platform::VK_END, platform::ssCtrl);
    view.Paint();
    for (auto _ : state) {
        platform::SendKey(view.memo, platform::VK_HOME, platform::ssCtrl);
        view.Paint();
        platform::SendKey(view.memo, platform::VK_END, platform::ssCtrl);
        view.Paint();
    }
    state.counters["topLine"] = view.memo->TopLine();
}
BENCHMARK(BM_JumpHomeEnd)->Unit(benchmark::kMillisecond);

// Page Up then Page Down at the end of a log of 100,000 lines, each with its repaint: the
// gutter numbers lines far from the start.
void BM_PageUpDownAtEnd(benchmark::State& state)
{
    LogView view;
    view.Fill(100000);
    platform::SendKey(view.memo, platform::VK_END, platform::ssCtrl);
    view.Paint();
    for (auto _ : state) {
        platform::SendKey(view.memo, platform::VK_PRIOR);
        view.Paint();
        platform::SendKey(view.memo, platform::VK_NEXT);
        view.Paint();
    }
    state.counters["topLine"] = view.memo->TopLine();
}
BENCHMARK(BM_PageUpDownAtEnd)->Unit(benchmark::kMillisecond);

// The peer: the toolkit's plain text editor with the same log, font and view size.
struct PeerView {
    PeerView()
    {
        edit.resize(670, 355);
        QFont f("Courier New");
        f.setPixelSize(13);
        edit.setFont(f);
        edit.setLineWrapMode(QPlainTextEdit::WidgetWidth);
        target.fill(Qt::white);
    }
    void Fill(int n)
    {
        QStringList lines;
        lines.reserve(n);
        for (int i = 0; i < n; ++i) lines << QString::fromStdString(LogLine(i));
        edit.setPlainText(lines.join(QChar('\n')));
    }
    void Move(QTextCursor::MoveOperation op)
    {
        edit.moveCursor(op);
        edit.ensureCursorVisible();
    }
    // A page up or down as the keys do it: the caret and the view move by a page.
    void Page(bool up)
    {
        QKeyEvent press(QEvent::KeyPress, up ? Qt::Key_PageUp : Qt::Key_PageDown, Qt::NoModifier);
        QCoreApplication::sendEvent(&edit, &press);
    }
    void Paint() { edit.render(&target); }
    QPlainTextEdit edit;
    QImage target{670, 355, QImage::Format_RGB32};
};

void BM_PeerRepaintAtEnd(benchmark::State& state)
{
    PeerView view;
    view.Fill(100000);
    view.Move(QTextCursor::End);
    view.Paint();
    for (auto _ : state) {
        view.Paint();
        benchmark::ClobberMemory();
    }
    state.counters["topLine"] = view.edit.verticalScrollBar()->value();
}
BENCHMARK(BM_PeerRepaintAtEnd)->Unit(benchmark::kMillisecond);

void BM_PeerJumpHomeEnd(benchmark::State& state)
{
    PeerView view;
    view.Fill(100000);
    view.Move(QTextCursor::End);
    view.Paint();
    for (auto _ : state) {
        view.Move(QTextCursor::Start);
        view.Paint();
        view.Move(QTextCursor::End);
        view.Paint();
    }
    state.counters["topLine"] = view.edit.verticalScrollBar()->value();
}
BENCHMARK(BM_PeerJumpHomeEnd)->Unit(benchmark::kMillisecond);

void BM_PeerPageUpDownAtEnd(benchmark::State& state)
{
    PeerView view;
    view.Fill(100000);
    view.Move(QTextCursor::End);
    view.Paint();
    for (auto _ : state) {
        view.Page(true);
        view.Paint();
        view.Page(false);
        view.Paint();
    }
    state.counters["topLine"] = view.edit.verticalScrollBar()->value();
}
BENCHMARK(BM_PeerPageUpDownAtEnd)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv)
{
    return RunGuiBenchmarks(argc, argv, [](const RecordingReporter& reporter) {
        const struct {
            const char *what, *ours, *peer;
            double goal;
        } pairs[] = {{"Ctrl+Home, Ctrl+End with repaints", "BM_JumpHomeEnd", "BM_PeerJumpHomeEnd", 2.0},
                     {"repaint at the end", "BM_RepaintAtEnd", "BM_PeerRepaintAtEnd", 1.5},
                     {"Page Up, Page Down at the end with repaints", "BM_PageUpDownAtEnd", "BM_PeerPageUpDownAtEnd",
                      2.0}};
        for (const auto& p : pairs) {
            const double ours = reporter.Time(p.ours), peer = reporter.Time(p.peer);
            if (ours > 0 && peer > 0)
                std::printf("%s on 100,000 log lines: %.2f ms, plain text editor %.2f ms (ratio %.2f, goal: %.1f or less)\n",
                            p.what, ours, peer, ours / peer, p.goal);
        }
    });
}
