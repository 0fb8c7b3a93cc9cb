// The program as a whole: start-up to its first window on screen, and the memory it holds
// then, beside a bare window of the toolkit; and the processor time it takes while idle with
// its 3D view showing.
// Each start is a fresh process (this program again, in a child mode) on an X server; with
// no display the program runs itself under xvfb-run.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QGuiApplication>
#include <QWidget>
#include <QWindow>

#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "RecordingReporter.h"
#include "app/AppForms.h"
#include "app/MainForm.h"
#include "app/Settings.h"
#include "platform/forms/Forms.h"
#include "platform/system/Thread.h"

extern char** environ;

namespace {

constexpr double kIdleSeconds = 3;
std::string gSelf;

bool AnyWindowExposed()
{
    for (QWindow* w : QGuiApplication::topLevelWindows())
        if (w->isVisible() && w->isExposed()) return true;
    return false;
}

void WaitForFirstWindow()
{
    while (!AnyWindowExposed()) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

void Tell(int fd, const std::string& s)
{
    if (write(fd, s.data(), s.size()) < 0) std::perror("write");
    close(fd);
}

// Resident memory of this process in kB, from the kernel's status of it.
long ResidentKB()
{
    FILE* f = std::fopen("/proc/self/status", "r");
    if (!f) return 0;
    char line[256];
    long kb = 0;
    while (std::fgets(line, sizeof line, f))
        if (std::sscanf(line, "VmRSS: %ld", &kb) == 1) break;
    std::fclose(f);
    return kb;
}

// A child's word when its first window shows: "shown" at once (the parent takes the time
// then), and its resident memory once the paints that the showing queued are done and
// `ready` holds (the program's 3D view has drawn; at most two seconds).
void TellShown(int fd, const std::function<bool()>& ready = {})
{
    if (write(fd, "shown", 5) < 0) std::perror("write");
    const auto t0 = std::chrono::steady_clock::now();
    for (int i = 0; i < 50 || (ready && !ready()); ++i) {
        QCoreApplication::processEvents();
        if (std::chrono::steady_clock::now() - t0 > std::chrono::seconds(2)) break;
    }
    Tell(fd, " " + std::to_string(ResidentKB()));
}

double ProcessSeconds()
{
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return double(u.ru_utime.tv_sec + u.ru_stime.tv_sec) + (u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

// ---- the child modes: each tells the parent through the descriptor it is given
int ChildBare(int argc, char** argv, int fd)
{
    QApplication a(argc, argv);
    QWidget w;
    w.setWindowTitle("Bare");
    w.resize(700, 500);
    w.show();
    WaitForFirstWindow();
    TellShown(fd);
    return 0;
}

int ChildKorvelo(int argc, char** argv, int fd, bool idle)
{
    // Settings and log in the run's scratch folder.
    if (const char* dir = std::getenv("KORVELO_BENCH_DIR")) {
        if (chdir(dir) != 0) std::perror("chdir");
        setenv("XDG_CONFIG_HOME", dir, 1);
        app::SetSettingsFileOverride(std::string(dir) + "/Korvelo.INI");
    }
    app::StartKorvelo(argc, argv);
    app::CreateKorvelo();
    platform::Application->MainForm()->Show();
    WaitForFirstWindow();
    if (!idle) {
        TellShown(fd, [] { return app::MainForm && app::MainForm->ContextTried3D(); });
        _exit(0);
    }
    // Settle, then leave the program alone for a while and count its processor time.
    auto runFor = [](double seconds) {
        bool over = false;
        platform::TTimer timer(nullptr);
        timer.SetInterval(unsigned(seconds * 1000));
        timer.SetOnTimer([&](platform::TObject*) { over = true; });
        while (!over) platform::Application->HandleMessage();
    };
    runFor(1);
    const double cpu0 = ProcessSeconds();
    const auto t0 = std::chrono::steady_clock::now();
    const int idle0 = platform::Application->IdleCount();
    runFor(kIdleSeconds);
    const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    const double cpu = ProcessSeconds() - cpu0;
    const int idles = platform::Application->IdleCount() - idle0;
    Tell(fd, std::to_string(cpu) + " " + std::to_string(wall) + " " + std::to_string(idles));
    _exit(0);
}

// ---- the parent: starts a child and waits for its word
struct ChildResult {
    double seconds = 0;  // from the spawn to the child's word
    std::string said;
};

ChildResult RunChild(const char* mode)
{
    int fds[2];
    if (pipe(fds) != 0) return {};
    const std::string fdText = std::to_string(fds[1]);
    std::vector<std::string> args = {gSelf, std::string("--child=") + mode, "--fd=" + fdText};
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    const auto t0 = std::chrono::steady_clock::now();
    pid_t pid = 0;
    if (posix_spawn(&pid, gSelf.c_str(), nullptr, nullptr, argv.data(), environ) != 0) return {};
    close(fds[1]);
    ChildResult r;
    char buf[256];
    ssize_t n;
    while ((n = read(fds[0], buf, sizeof buf)) > 0) {
        if (r.said.empty()) r.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
        r.said.append(buf, std::size_t(n));
    }
    close(fds[0]);
    int status = 0;
    waitpid(pid, &status, 0);
    return r;
}

// The resident memory a child reported with its first window, in MB; -1 without a word.
double ShownMB(const ChildResult& r)
{
    long kb = 0;
    if (std::sscanf(r.said.c_str(), "shown %ld", &kb) != 1) return -1;
    return kb / 1024.0;
}

double gOursMB = 0, gBareMB = 0;  // the largest of the runs

void BM_StartToFirstWindow(benchmark::State& state)
{
    for (auto _ : state) {
        const ChildResult r = RunChild("korvelo");
        const double mb = ShownMB(r);
        if (mb < 0) {
            state.SkipWithError("the program did not show its window");
            return;
        }
        gOursMB = std::max(gOursMB, mb);
        state.SetIterationTime(r.seconds);
    }
    state.counters["MB"] = gOursMB;
}
BENCHMARK(BM_StartToFirstWindow)->UseManualTime()->Iterations(5)->Unit(benchmark::kMillisecond);

void BM_PeerBareWindow(benchmark::State& state)
{
    for (auto _ : state) {
        const ChildResult r = RunChild("bare");
        const double mb = ShownMB(r);
        if (mb < 0) {
            state.SkipWithError("the bare window did not show");
            return;
        }
        gBareMB = std::max(gBareMB, mb);
        state.SetIterationTime(r.seconds);
    }
    state.counters["MB"] = gBareMB;
}
BENCHMARK(BM_PeerBareWindow)->UseManualTime()->Iterations(5)->Unit(benchmark::kMillisecond);

double gIdleShare = -1;  // of one core
int gIdlePasses = 0;

void BM_IdleWithTheViewShowing(benchmark::State& state)
{
    for (auto _ : state) {
        const ChildResult r = RunChild("idle");
        double cpu = 0, wall = 0;
        int idles = 0;
        if (std::sscanf(r.said.c_str(), "%lf %lf %d", &cpu, &wall, &idles) != 3 || wall <= 0) {
            state.SkipWithError("the idle program did not report");
            return;
        }
        gIdleShare = cpu / wall;
        gIdlePasses = idles;
        state.SetIterationTime(wall);
        state.counters["cpu%"] = 100 * gIdleShare;
        state.counters["idle/s"] = idles / wall;
    }
}
BENCHMARK(BM_IdleWithTheViewShowing)->UseManualTime()->Iterations(1)->Unit(benchmark::kMillisecond);

std::string Option(int argc, char** argv, const char* name)
{
    const std::size_t n = std::strlen(name);
    for (int i = 1; i < argc; ++i)
        if (std::strncmp(argv[i], name, n) == 0) return argv[i] + n;
    return {};
}

}  // namespace

int main(int argc, char** argv)
{
    char self[4096];
    const ssize_t len = readlink("/proc/self/exe", self, sizeof self - 1);
    gSelf = len > 0 ? std::string(self, std::size_t(len)) : std::string(argv[0]);
    const std::string child = Option(argc, argv, "--child=");
    if (!child.empty()) {
        const int fd = std::atoi(Option(argc, argv, "--fd=").c_str());
        int one = 1;
        static char name[] = "korvelo";
        static char* args[] = {name, nullptr};
        if (child == "bare") return ChildBare(one, args, fd);
        return ChildKorvelo(one, args, fd, child == "idle");
    }
    // The windows need an X server (the 3D view draws with OpenGL): without one, run under
    // a virtual one.
    const char* display = std::getenv("DISPLAY");
    if ((!display || !*display) && !std::getenv("KORVELO_BENCH_XVFB")) {
        setenv("KORVELO_BENCH_XVFB", "1", 1);
        std::vector<char*> args = {const_cast<char*>("xvfb-run"), const_cast<char*>("-a"), const_cast<char*>("-s"),
                                   const_cast<char*>("-screen 0 1280x1024x24"), gSelf.data()};
        for (int i = 1; i < argc; ++i) args.push_back(argv[i]);
        args.push_back(nullptr);
        execvp("xvfb-run", args.data());
        std::perror("xvfb-run");
        return 1;
    }
    setenv("QT_QPA_PLATFORM", "xcb", 1);
    setenv("LIBGL_ALWAYS_SOFTWARE", "1", 0);
    char scratch[] = "/tmp/korvelo-bench-XXXXXX";
    if (!mkdtemp(scratch)) {
        std::perror("mkdtemp");
        return 1;
    }
    setenv("KORVELO_BENCH_DIR", scratch, 1);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    RecordingReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    std::error_code ec;
    std::filesystem::remove_all(scratch, ec);
    const double ours = reporter.RealTime("BM_StartToFirstWindow/iterations:5/manual_time");
    const double bare = reporter.RealTime("BM_PeerBareWindow/iterations:5/manual_time");
    if (ours > 0 && bare > 0)
        std::printf("start-up to the first window: %.0f ms, bare window of the toolkit %.0f ms (ratio %.2f, goal: under "
                    "1.5)\n",
                    ours, bare, ours / bare);
    if (gOursMB > 0 && gBareMB > 0)
        std::printf("memory at the first window: %.1f MB, bare window of the toolkit %.1f MB (ratio %.2f, goal: 3 or "
                    "less)\n",
                    gOursMB, gBareMB, gOursMB / gBareMB);
    if (gIdleShare >= 0)
        std::printf("idle with the 3D view showing: %.2f %% of one core over %.0f s, %d idle passes (goal: under 1 %%)\n",
                    100 * gIdleShare, kIdleSeconds, gIdlePasses);
    benchmark::Shutdown();
    return 0;
}
