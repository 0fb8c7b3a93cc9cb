// The DFH file: half frames in millimetres, read into one appendage.
#include <cstdint>
#include <limits>
#include <string>
#include <string_view>
#include <utility>

#include "base/StrUtils.h"
#include "core/Appendage.h"
#include "core/ErrorLog.h"
#include "core/ForeignText.h"
#include "core/Hullform.h"
#include "core/ModelText.h"

namespace core {

namespace {

constexpr double kMetresPerMillimetre = 0.001;

bool ReadCount(ForeignTextReader& in, std::uint32_t& value, bool separatorFollows) {
    long long v = 0;
    if (!in.ReadWholeInteger(v, 0, std::numeric_limits<std::uint32_t>::max(), separatorFollows)) return false;
    value = static_cast<std::uint32_t>(v);
    return true;
}

}  // namespace

bool Appendage::ReadDfhData(const std::string& path, ReadReport* report) {
    ReadReport local;
    ReadReport& r = report ? *report : local;
    std::string text;
    std::string reason;
    // A file that cannot be opened leaves report.error empty.
    if (!ReadModelFile(path, text, reason)) return false;
    ForeignTextReader in(text);
    std::string_view line;
    in.ReadLine(line);

    // Read into a copy, so a file that fails part way changes nothing.
    Appendage a = BlankCopy();

    std::string& error = r.error;
    auto expected = [&](const std::string& what, long long frame) {
        error = "Expected " + what;
        if (frame >= 0) error += " in frame " + base::IntToStr(frame);
        error += " on line " + base::UIntToStr(in.NextLine()) + " but found " + in.DescribeNext();
        return false;
    };

    std::uint32_t n = 0, ignored = 0;
    // Every number is a field of its own: "2.5x" is refused, not read as 2.5.
    if (!ReadCount(in, n, true)) return expected("the frame count", -1);
    if (!in.ReadSeparator()) return expected("a separator after the frame count", -1);
    if (!ReadCount(in, ignored, false)) return expected("a second count", -1);

    // The count only bounds the loop: a file that holds fewer frames fails at its end.
    for (std::uint32_t i = 0; i < n; ++i) {
        double y = 0;
        std::uint32_t m = 0;
        if (!in.ReadWholeNumber(y, true)) return expected("the frame position", i);
        if (!in.ReadSeparator()) return expected("a separator after the frame position", i);
        if (!ReadCount(in, m, false)) return expected("the point count", i);
        y *= kMetresPerMillimetre;

        const std::string frameName = base::FloatToStr(y);
        const int placed = a.AddSection(frameName, y);
        if (placed < 0) r.warnings.push_back(DroppedFrameWarning(frameName, y, a.name));
        const unsigned f = placed < 0 ? 0 : static_cast<unsigned>(placed);
        if (placed >= 0) a.frames[f].ClearOffsets();

        double lastX = 0, lastZ = 0;
        for (std::uint32_t k = 0; k < m; ++k) {
            double x = 0, z = 0;
            if (!in.ReadWholeNumber(x, true)) return expected("the x of point " + base::UIntToStr(k + 1), i);
            if (!in.ReadSeparator()) return expected("a separator after the x of point " + base::UIntToStr(k + 1), i);
            if (!in.ReadWholeNumber(z, false)) return expected("the z of point " + base::UIntToStr(k + 1), i);
            if (x < 0) x = 0;
            lastX = x * kMetresPerMillimetre;
            lastZ = z * kMetresPerMillimetre;
            if (placed >= 0) a.AddOffset(f, lastX, lastZ);
        }
        if (placed < 0) continue;
        // The mirror image of the last point follows it, so the outline crosses the
        // centreline between a point and its own image.
        a.MirrorFrame(f);
        a.frames[f].InsertOffset(m, -lastX, lastZ);
    }
    // Frames beyond the count would be lost unread.
    if (in.NumberFollows()) {
        error = "Expected the end of the file after " + base::UIntToStr(n) + " frames, as the frame count says, on line " +
                base::UIntToStr(in.NextLine()) + " but found " + in.DescribeNext();
        return false;
    }

    *this = std::move(a);
    return true;
}

Result Hullform::ImportDfhFile(const std::string& path) {
    Appendage a;
    ReadReport report;
    if (!a.ReadDfhData(path, &report)) {
        // A file that could not be opened gets the bare line; a bad one says what is wrong.
        return Fail("ERROR: Failed importing DFH file " + path + (report.error.empty() ? "" : ". " + report.error));
    }
    for (const std::string& warning : report.warnings) log.Log(warning);
    appendages.push_back(std::move(a));
    return true;
}

}  // namespace core
