// The hull file: tagged lines written in a fixed order, read back as words.
#include <algorithm>
#include <cstdint>
#include <limits>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "base/FileUtils.h"
#include "base/StrUtils.h"
#include "core/Appendage.h"
#include "core/Hullform.h"
#include "core/ModelText.h"
#include "core/Section.h"

namespace core {

namespace {

void AppendValue(std::string& out, std::string_view tag, std::string_view value) {
    // "<TAG> value </TAG>"
    std::string line;
    line.reserve(2 * tag.size() + value.size() + 7);
    line.append("<").append(tag).append("> ").append(value).append(" </").append(tag).append(">");
    AppendLine(out, line);
}

std::string Expected(ModelTextReader& in, std::string_view what, std::string_view tag) {
    return "Expected " + std::string(what) + " after " + std::string(tag) + " but found " +
           in.DescribeNext();
}

bool ReadNumberAfter(ModelTextReader& in, std::string_view tag, double& value, std::string& error) {
    if (in.ReadNumber(value)) return true;
    error = Expected(in, "a number", tag);
    return false;
}

// Words up to the closing tag, joined by single blanks.
bool ReadName(ModelTextReader& in, std::string_view openTag, std::string_view closeTag,
              std::string& name, std::string& error) {
    std::string result;
    std::string_view word;
    while (true) {
        if (!in.ReadWord(word)) {
            error = "File ends inside " + std::string(openTag);
            return false;
        }
        if (word == closeTag) break;
        if (!result.empty()) result.push_back(' ');
        result.append(word);
    }
    // A name the save would refuse (it holds another block's name end) enters no model.
    if (std::string problem = NameProblem(result); !problem.empty()) {
        error = std::move(problem);
        return false;
    }
    name = std::move(result);
    return true;
}

// The hull's values that a read may change, kept to put back when it fails.
// The model a hull file sets: read into a fresh one, which replaces the hull's only when
// the whole file has been read.
struct HullValues {
    std::string name = "Korvelo Hullform";  // as Hullform::Clear leaves them
    std::vector<Appendage> appendages;
    double waterDensity = 1.0, ap = 0, fp = 0;
    double fwdMarkY, midMarkY, aftMarkY;  // kept by Clear: those the file does not set stay

    explicit HullValues(const Hullform& h) : fwdMarkY(h.fwdMarkY), midMarkY(h.midMarkY), aftMarkY(h.aftMarkY) {}

    void MoveTo(Hullform& h) {
        h.Clear();
        h.name = std::move(name);
        h.appendages = std::move(appendages);
        h.waterDensity = waterDensity;
        h.ap = ap;
        h.fp = fp;
        h.fwdMarkY = fwdMarkY;
        h.midMarkY = midMarkY;
        h.aftMarkY = aftMarkY;
    }
};

bool HasHullTag(std::string_view text) {
    ModelTextReader scan(text);
    std::string_view word;
    while (scan.ReadWord(word))
        if (word == "<HULL>") return true;
    return false;
}

}  // namespace

bool Section::WriteHullFileBlock(std::string& out) const {
    AppendLine(out, "<SECTION>");
    AppendLine(out, "<SECTION_NAME>");
    AppendLine(out, name);
    AppendLine(out, "</SECTION_NAME>");
    AppendValue(out, "YCOORD", ModelNumber(Y));
    const std::size_t n = std::min(X.size(), Z.size());
    AppendValue(out, "OFFSET_COUNT", base::UIntToStr(n));
    AppendLine(out, "<OFFSETS>");
    for (std::size_t i = 0; i < n; ++i) AppendLine(out, ModelNumber(X[i]) + " " + ModelNumber(Z[i]));
    AppendLine(out, "</OFFSETS>");
    AppendLine(out, "</SECTION>");
    return true;
}

bool Section::ReadHullFileBlock(ModelTextReader& in, ReadReport& report) {
    std::uint32_t count = 0;
    bool counted = false;
    std::string error;
    std::string_view word;
    while (true) {
        if (!in.ReadWord(word)) {
            report.error = "File ends inside section " + QuoteForLog(name);
            return false;
        }
        if (word == "</SECTION>") return true;
        if (word == "<SECTION_NAME>") {
            if (!ReadName(in, word, "</SECTION_NAME>", name, error)) break;
        } else if (word == "<YCOORD>") {
            double y = 0;
            if (!ReadNumberAfter(in, word, y, error)) break;
            SetY(y);
        } else if (word == "<OFFSET_COUNT>") {
            if (!in.ReadCount(count)) {
                error = Expected(in, "a count", word);
                break;
            }
            counted = true;
        } else if (word == "<OFFSETS>") {
            // The count says how many pairs follow; nothing is reserved on its word.
            for (std::uint32_t k = 0; k < count && error.empty(); ++k) {
                double x = 0, z = 0;
                if (in.ReadNumber(x) && in.ReadNumber(z)) {
                    AddOffset(x, z);
                } else if (in.AtEnd()) {
                    report.error = "File ends inside section " + QuoteForLog(name);
                    return false;
                } else {
                    error = "Expected offset " + base::UIntToStr(k + 1) + " of " + base::UIntToStr(count) +
                            " after <OFFSETS> but found " + in.DescribeNext();
                }
            }
            if (!error.empty()) break;
            // More pairs than the count would be lost unread.
            if (in.NumberFollows()) {
                error = counted ? "Expected </OFFSETS> after " + base::UIntToStr(count) +
                                      " offsets, as <OFFSET_COUNT> says, but found " + in.DescribeNext()
                                : "Expected <OFFSET_COUNT> before the offsets, but <OFFSETS> is followed by " +
                                      in.DescribeNext();
                break;
            }
        }
    }
    report.error = error + " in section " + QuoteForLog(name);
    return false;
}

bool Appendage::WriteHullFileBlock(std::string& out) const {
    AppendLine(out, "<APPENDAGE>");
    AppendLine(out, "<APPENDAGE_NAME>");
    AppendLine(out, name);
    AppendLine(out, "</APPENDAGE_NAME>");
    AppendValue(out, "ACTIVE", active ? "1" : "0");
    AppendValue(out, "FREE_FLOODING", freeFlooding ? "1" : "0");
    // Signed, so system colours (top bit set) are written as negative numbers.
    AppendValue(out, "APPENDAGE_COLOUR", base::IntToStr(static_cast<std::int32_t>(colour)));
    AppendValue(out, "SECTION_COUNT", base::UIntToStr(frames.size()));
    for (const Section& frame : frames) frame.WriteHullFileBlock(out);
    AppendLine(out, "</APPENDAGE>");
    return true;
}

bool Appendage::ReadHullFileBlock(ModelTextReader& in, ReadReport& report) {
    FramePlacer placer(*this);
    std::string error;
    std::string_view word;
    while (true) {
        if (!in.ReadWord(word)) {
            report.error = "File ends inside appendage " + QuoteForLog(name);
            return false;
        }
        if (word == "</APPENDAGE>") return true;
        if (word == "<APPENDAGE_NAME>") {
            if (!ReadName(in, word, "</APPENDAGE_NAME>", name, error)) break;
        } else if (word == "<ACTIVE>" || word == "<FREE_FLOODING>") {
            long long flag = 0;
            if (!in.ReadInteger(flag, 0, 1)) {
                error = Expected(in, "0 or 1", word);
                break;
            }
            (word == "<ACTIVE>" ? active : freeFlooding) = flag == 1;
        } else if (word == "<APPENDAGE_COLOUR>") {
            // Either reading of the 32 bits, so negative system colours come back too.
            long long c = 0;
            if (!in.ReadInteger(c, std::numeric_limits<std::int32_t>::min(),
                                std::numeric_limits<std::uint32_t>::max())) {
                error = Expected(in, "a colour", word);
                break;
            }
            colour = static_cast<std::uint32_t>(c);
        } else if (word == "<SECTION_COUNT>") {
            std::uint32_t unused = 0;
            if (!in.ReadCount(unused)) {
                error = Expected(in, "a count", word);
                break;
            }
        } else if (word == "<SECTION>") {
            Section frame;
            if (!frame.ReadHullFileBlock(in, report)) {
                report.error += " of appendage " + QuoteForLog(name);
                return false;
            }
            const std::string frameName = frame.name;
            const double y = frame.Y;
            if (!placer.Add(std::move(frame)))
                report.warnings.push_back(DroppedFrameWarning(frameName, y, name));
        }
    }
    report.error = error + " in appendage " + QuoteForLog(name);
    return false;
}

Result Hullform::SaveHullFile(const std::string& path) {
    // A file must open again, and the reader takes no "nan" or "inf".
    std::string bad;
    const std::pair<double, const char*> values[] = {{waterDensity, "<DENSITY>"},       {ap, "<AP>"},
                                                     {fp, "<FP>"},                      {fwdMarkY, "<FWD_DRAUGHT_MARK>"},
                                                     {midMarkY, "<MID_DRAUGHT_MARK>"}, {aftMarkY, "<AFT_DRAUGHT_MARK>"}};
    for (const auto& [v, tag] : values)
        if (bad.empty()) bad = NonFiniteValue(v, tag);
    for (const Appendage& a : appendages)
        if (bad.empty()) bad = NonFiniteValue(a, false);
    if (bad.empty()) bad = NameProblem(name);
    for (const Appendage& a : appendages) {
        if (bad.empty()) bad = NameProblem(a.name);
        for (const Section& s : a.frames)
            if (bad.empty()) bad = NameProblem(s.name);
    }
    if (bad.empty() && !(waterDensity > 0))
        bad = "The density " + ModelNumber(waterDensity) + " is not above 0";
    if (!bad.empty()) {
        return Fail("ERROR: Failure saving Hullform to " + path + ". " + bad);
    }

    std::string out;
    AppendLine(out, " <?xml version=\"1.0\" encoding=\"UTF-8\" ?> ");
    AppendLine(out, "<HULL>");
    AppendLine(out, "<HULL_NAME>");
    AppendLine(out, name);
    AppendLine(out, "</HULL_NAME>");
    AppendValue(out, "DENSITY", ModelNumber(waterDensity));
    AppendValue(out, "AP", ModelNumber(ap));
    AppendValue(out, "FP", ModelNumber(fp));
    AppendValue(out, "FWD_DRAUGHT_MARK", ModelNumber(fwdMarkY));
    AppendValue(out, "MID_DRAUGHT_MARK", ModelNumber(midMarkY));
    AppendValue(out, "AFT_DRAUGHT_MARK", ModelNumber(aftMarkY));
    AppendValue(out, "APPENDAGE_COUNT", base::UIntToStr(appendages.size()));
    for (const Appendage& a : appendages) a.WriteHullFileBlock(out);
    AppendLine(out, "</HULL>");

    std::string error;
    bool created = false;
    if (!base::WriteFileAtomic(path, out, &error, &created)) {
        // A file that could not be made at all has the one fixed reason.
        return Fail("ERROR: Failure saving Hullform to " + path + ". " +
                (!created || error.empty() ? std::string("Unable to obtain file handle") : error));
    }
    return true;
}

Result Hullform::OpenHullFile(const std::string& path) {
    std::string text, reason;
    if (!ReadModelFile(path, text, reason)) {
        return Fail("ERROR: Failure opening Hullform at " + path + ". " + reason);
    }
    if (!HasHullTag(text)) {
        return Fail("ERROR: Failure opening Hullform at " + path + ". Not a hull file: no <HULL> tag");
    }

    HullValues read(*this);
    ModelTextReader in(text);
    ReadReport report;
    bool insideHull = false;
    std::string_view word;
    while (report.error.empty() && in.ReadWord(word)) {
        if (word == "<HULL>") {
            insideHull = true;
        } else if (word == "</HULL>") {
            insideHull = false;
        } else if (word == "<APPENDAGE>") {
            Appendage a;
            if (!a.ReadHullFileBlock(in, report)) break;
            read.appendages.push_back(std::move(a));
        } else if (word == "<HULL_NAME>") {
            ReadName(in, word, "</HULL_NAME>", read.name, report.error);
        } else if (word == "<DENSITY>") {
            if (ReadNumberAfter(in, word, read.waterDensity, report.error) && !(read.waterDensity > 0))
                report.error = "The density after <DENSITY> must be above 0 but is " + ModelNumber(read.waterDensity);
        } else if (word == "<AP>") {
            ReadNumberAfter(in, word, read.ap, report.error);
        } else if (word == "<FP>") {
            ReadNumberAfter(in, word, read.fp, report.error);
        } else if (word == "<FWD_DRAUGHT_MARK>") {
            ReadNumberAfter(in, word, read.fwdMarkY, report.error);
        } else if (word == "<MID_DRAUGHT_MARK>") {
            ReadNumberAfter(in, word, read.midMarkY, report.error);
        } else if (word == "<AFT_DRAUGHT_MARK>") {
            ReadNumberAfter(in, word, read.aftMarkY, report.error);
        }
    }
    // A missing end tag means the file was cut short, and whole appendages may be missing.
    if (report.error.empty() && insideHull) report.error = "File ends before </HULL>";
    if (!report.error.empty()) return Fail("ERROR: Failure opening Hullform at " + path + ". " + report.error);
    read.MoveTo(*this);

    for (const std::string& warning : report.warnings) log.Log(warning);
    log.Log("NOTE: Hullform opened at " + path);
    LogSummary();
    return true;
}

}  // namespace core
