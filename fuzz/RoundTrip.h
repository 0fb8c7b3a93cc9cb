#pragma once
// The checks the model readers share: a refused input leaves the model as it was, and an
// accepted one saves and reads back to the same model.
#include <functional>
#include <string>
#include <vector>

#include "FuzzDriver.h"
#include "ModelDump.h"
#include "core/Hullform.h"
#include "core/ModelText.h"

namespace fuzz {

// Seed inputs: each example hull opened and written by `write` to `file`.
inline std::vector<std::string> ExampleSeeds(Scratch& dir, const std::string& file,
                                             const std::function<void(core::Hullform&, const std::string&)>& write)
{
    std::vector<std::string> seeds;
    core::Hullform h(dir.File("seed.log"));
    for (const char* example : {"/examples/box-barge.hll", "/examples/wigley.hll"}) {
        h.OpenHullFile(std::string(KORVELO_SOURCE_DIR) + example);
        write(h, dir.File(file));
        seeds.push_back(ReadBytes(dir.File(file)));
    }
    return seeds;
}

// An appendage reader: `read` loads into `a`; `out` is the scratch appendage file.
inline Result CheckAppendageRead(core::Appendage& a, const std::function<bool(core::ReadReport*)>& read,
                                 const std::string& out)
{
    Result r;
    const std::string before = Dump(a, true);
    core::ReadReport report;
    if (!read(&report)) {
        if (Dump(a, true) != before)
            r.fault = "refused but changed: " + FirstDifference(before, Dump(a, true));
        else if (report.error.empty())
            r.fault = "refused without a reason";
        return r;
    }
    r.outcome = Outcome::Accepted;
    if (!a.SaveAppFile(out)) {
        r.fault = "accepted but not saved";
        return r;
    }
    core::Appendage back;
    core::ReadReport again;
    if (!back.LoadAppFile(out, &again)) {
        r.fault = "saved but not loaded again: " + again.error;
        return r;
    }
    const std::string x = Dump(a, false), y = Dump(back, false);
    if (x != y) r.fault = "read back different: " + FirstDifference(x, y);
    return r;
}

// A hull reader: `read` loads into `h`; a refusal must leave an ERROR line in the log when
// `reasonInLog` is set. The hull is saved to `out` and opened again into a hull of its own.
inline Result CheckHullRead(core::Hullform& h, const std::function<bool()>& read, bool reasonInLog, Scratch& dir,
                            const std::string& out)
{
    Result r;
    const std::string before = Dump(h);
    const std::size_t lines = h.log.Lines().size();
    if (!read()) {
        if (Dump(h) != before)
            r.fault = "refused but changed: " + FirstDifference(before, Dump(h));
        else if (reasonInLog && (h.log.Lines().size() == lines || h.log.Lines().back().rfind("ERROR: ", 0) != 0))
            r.fault = "refused without a reason";
        return r;
    }
    r.outcome = Outcome::Accepted;
    if (!h.SaveHullFile(out)) {
        r.fault = "accepted but not saved: " + h.log.Lines().back();
        return r;
    }
    core::Hullform back(dir.File("back.log"));
    if (!back.OpenHullFile(out)) {
        r.fault = "saved but not opened again: " + back.log.Lines().back();
        return r;
    }
    const std::string x = Dump(h), y = Dump(back);
    if (x != y) r.fault = "read back different: " + FirstDifference(x, y);
    return r;
}

}  // namespace fuzz
