// A chart series' stream properties: the first line of an input names its data sources
// (none when empty), the rest is its "Data" payload. A refused payload (ChartException)
// changes nothing; an accepted series writes and reads again to the same properties. Each
// input runs in a child process of its own, so that one that crashes is counted and the
// run goes on.
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <cstring>

#include "FuzzDriver.h"
#include "platform/TestRig.h"
#include "platform/forms/Forms.h"
#include "widgets/chart/Chart.h"
#include "widgets/chart/ChartConst.h"
#include "widgets/chart/ChartLineSeries.h"
#include "widgets/chart/ChartSeriesStream.h"
#include "Offscreen.h"

namespace {

using chart::TSeriesStreamProperties;

std::string Describe(const TSeriesStreamProperties& p)
{
    std::string s;
    if (p.DataSources)
        for (const std::string& n : *p.DataSources) s += n + ",";
    s += "|";
    if (p.Data) s.append(p.Data->begin(), p.Data->end());
    return s;
}

// Four named series on a chart, all owned by a form; A holds points of its own. B reads
// the input, an unnamed series what B writes.
struct Scene {
    platform::TForm* form;
    chart::TChart* c;
    chart::TLineSeries* series[4];
    Scene()
    {
        form = platform::Construct<platform::TForm>(platform::Application);
        c = new chart::TChart(form);
        c->SetParent(form);
        const char* names[] = {"A", "B", "C", "D"};
        for (int k = 0; k < 4; ++k) {
            series[k] = new chart::TLineSeries(form);
            series[k]->SetName(names[k]);
            c->AddSeries(series[k]);
        }
        for (int i = 0; i < 6; ++i) series[0]->AddXY(i, i * i, i % 2 ? "odd" : "", platform::clRed);
        series[0]->OwnData = true;
    }
    ~Scene() { form->Free(); }
};

fuzz::Result Check(const std::string& input)
{
    fuzz::Result r;
    const std::size_t nl = input.find('\n');
    const std::string line = input.substr(0, nl);
    TSeriesStreamProperties p;
    if (!line.empty()) {
        p.DataSources.emplace();
        std::size_t at = 0;
        for (;;) {
            const std::size_t e = line.find(',', at);
            p.DataSources->push_back(line.substr(at, e == std::string::npos ? std::string::npos : e - at));
            if (e == std::string::npos) break;
            at = e + 1;
        }
    }
    if (nl != std::string::npos && nl + 1 < input.size()) p.Data.emplace(input.begin() + long(nl) + 1, input.end());
    Scene s;
    chart::TLineSeries* t = s.series[1];
    try {
        chart::ReadSeriesProperties(*t, p);
    } catch (const chart::ChartException& e) {
        if (t->Count() != 0 || t->PendingSourceNames) r.fault = std::string("refused but changed: ") + e.what();
        return r;
    }
    try {
        t->Loaded();  // refuses sources that feed the series itself
    } catch (const chart::ChartException& e) {
        if (!t->DataSources().empty()) r.fault = std::string("refused but changed: ") + e.what();
        return r;
    }
    r.outcome = fuzz::Outcome::Accepted;
    const TSeriesStreamProperties once = chart::WriteSeriesProperties(*t);
    // An unnamed series reads it back: a named one may be among the sources B names.
    auto* u = new chart::TLineSeries(s.form);
    s.c->AddSeries(u);
    chart::ReadSeriesProperties(*u, once);
    u->Loaded();
    TSeriesStreamProperties twice = chart::WriteSeriesProperties(*u);
    if (Describe(once) != Describe(twice)) r.fault = "read back different";
    return r;
}

// Runs Check in a child; a child that dies is a fault of its own.
fuzz::Result Isolated(const std::string& input)
{
    int fds[2];
    if (::pipe(fds) != 0) return Check(input);
    std::fflush(nullptr);
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::close(fds[0]);
        fuzz::Result r;
        try {
            r = Check(input);
        } catch (const std::exception& e) {
            r.fault = std::string("exception: ") + e.what();
        }
        const std::string out = std::string(1, r.outcome == fuzz::Outcome::Accepted ? 'A' : 'R') + r.fault;
        (void)!::write(fds[1], out.data(), out.size());
        ::_exit(0);
    }
    ::close(fds[1]);
    std::string out;
    char buf[4096];
    for (ssize_t n; (n = ::read(fds[0], buf, sizeof buf)) > 0;) out.append(buf, std::size_t(n));
    ::close(fds[0]);
    int status = 0;
    ::waitpid(pid, &status, 0);
    fuzz::Result r;
    if (WIFSIGNALED(status) || out.empty()) {
        r.fault = "crash: signal " + std::to_string(WIFSIGNALED(status) ? WTERMSIG(status) : 0) + " (" +
                  (WIFSIGNALED(status) ? ::strsignal(WTERMSIG(status)) : "no answer") + ")";
        return r;
    }
    r.outcome = out[0] == 'A' ? fuzz::Outcome::Accepted : fuzz::Outcome::Refused;
    r.fault = out.substr(1);
    return r;
}

}  // namespace

int main(int argc, char** argv)
{
    const fuzz::Options opts = fuzz::StartOffscreen(argc, argv);
    std::vector<std::string> seeds;
    {
        Scene s;
        const TSeriesStreamProperties p = chart::WriteSeriesProperties(*s.series[0]);
        const std::string data = p.Data ? std::string(p.Data->begin(), p.Data->end()) : std::string();
        seeds = {"\n" + data, "A\n", "A,C\n", "A,nobody\n" + data};
    }
    return fuzz::Run("series", opts, seeds, {"A", "B", "C", "D", ",", "\n"}, Isolated);
}
