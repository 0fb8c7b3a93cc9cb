// A character typed into a one-line edit that holds a long text, with the repaint it
// causes, beside the toolkit's own line edit doing the same.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QKeyEvent>
#include <QLineEdit>

#include <cstdio>
#include <string>

#include "GuiBenchMain.h"
#include "platform/controls/Edit.h"
#include "platform/forms/Forms.h"
#include "platform/TestRig.h"

namespace {

constexpr int kLength = 10000;

// Our edit on a shown form, the caret at the end of kLength characters.
struct OurEdit {
    OurEdit()
    {
        form = platform::Construct<platform::TForm>(platform::Application);
        form->SetBounds(0, 0, 320, 80);
        form->Show();
        edit = new platform::TEdit(form);
        edit->SetParent(form);
        edit->SetBounds(10, 10, 300, 21);
        edit->SetText(Text());
        edit->SetFocus();
        platform::SendKey(edit, platform::VK_END);
    }
    ~OurEdit() { form->Free(); }
    static std::string Text()
    {
        std::string s;
        for (int i = 0; i < kLength; ++i) s.push_back(char('a' + (i * 7) % 26));
        return s;
    }
    platform::TForm* form = nullptr;
    platform::TEdit* edit = nullptr;
};

void BM_TypeInLongEdit(benchmark::State& state)
{
    OurEdit e;
    const long long measured = platform::EditCharactersMeasured();
    for (auto _ : state) {
        platform::SendChar(e.edit, 'x');
        auto b = platform::PaintToBitmap(e.edit);
        benchmark::DoNotOptimize(b.get());
        state.PauseTiming();
        platform::SendChar(e.edit, '\b');  // the length stays kLength
        state.ResumeTiming();
    }
    state.counters["length"] = double(e.edit->Text().size());
    // Characters laid out per typed character (and the backspace after it).
    state.counters["laidOut"] = double(platform::EditCharactersMeasured() - measured) / double(state.iterations());
}
BENCHMARK(BM_TypeInLongEdit)->Unit(benchmark::kMillisecond);

// The peer: the toolkit's line edit with the same text, typed into through a key event
// and rendered at the same size.
void BM_PeerTypeInLongEdit(benchmark::State& state)
{
    QLineEdit edit;
    edit.resize(300, 21);
    edit.setText(QString::fromStdString(OurEdit::Text()));
    edit.end(false);
    QImage target(300, 21, QImage::Format_RGB32);
    for (auto _ : state) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_X, Qt::NoModifier, QStringLiteral("x"));
        QApplication::sendEvent(&edit, &press);
        edit.render(&target);
        benchmark::ClobberMemory();
        state.PauseTiming();
        edit.backspace();
        state.ResumeTiming();
    }
    state.counters["length"] = double(edit.text().size());
}
BENCHMARK(BM_PeerTypeInLongEdit)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv)
{
    return RunGuiBenchmarks(argc, argv, [](const RecordingReporter& reporter) {
        const double ours = reporter.Time("BM_TypeInLongEdit"), peer = reporter.Time("BM_PeerTypeInLongEdit");
        if (ours > 0 && peer > 0)
            std::printf("a typed character at %d characters: %.3f ms, the toolkit's line edit %.3f ms "
                        "(ratio %.2f, goal: 2.0 or less)\n",
                        kLength, ours, peer, ours / peer);
    });
}
