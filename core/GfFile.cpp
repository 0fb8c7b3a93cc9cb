// The GF geometry file: one shape of half frames per appendage, lengths in feet.
#include <algorithm>
#include <cstdint>
#include <limits>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "base/FileUtils.h"
#include "base/StrUtils.h"
#include "core/Appendage.h"
#include "core/ErrorLog.h"
#include "core/ForeignText.h"
#include "core/Hullform.h"
#include "core/ImmersedSection.h"
#include "core/ModelText.h"
#include "core/ProductInfo.h"
#include "core/Section.h"

namespace core {

namespace {

constexpr double kFeetPerMetre = 3.280839895013123;
constexpr double kMetresPerFoot = 0.3048;
constexpr unsigned kMaxGfCount = 255;

std::string Num(double v) { return base::FormatG(v, 6); }

std::string PartName(std::size_t k) { return "APP" + base::UIntToStr(k); }

// The starboard half of a frame: every offset with X >= 0 (negative zero included), and
// the centreline point of every segment that crosses X = 0, in outline order.
void TakeHalfFrame(const Section& frame, std::vector<double>& xs, std::vector<double>& zs) {
    xs.clear();
    zs.clear();
    const std::size_t n = std::min(frame.X.size(), frame.Z.size());
    for (std::size_t k = 0; k < n; ++k) {
        const double x0 = frame.X[k], z0 = frame.Z[k];
        // The last offset belongs to the half frame only when the walk reaches it along
        // the starboard side; the closing offset of a whole mirrored outline does not.
        const bool last = k + 1 == n;
        if (x0 >= 0 && (!last || k == 0 || frame.X[k - 1] >= 0)) {
            xs.push_back(x0);
            zs.push_back(z0);
        }
        if (k + 1 == n) break;
        const double x1 = frame.X[k + 1], z1 = frame.Z[k + 1];
        if ((x0 > 0 && x1 < 0) || (x0 < 0 && x1 > 0)) {
            xs.push_back(0);
            zs.push_back(z0 + (0 - x0) * (z1 - z0) / (x1 - x0));
        }
    }
}

// Positions just after each "* name" pair, in file order, the first line skipped.
struct ShapeRef {
    std::string name;
    std::size_t dataPos;
};

std::vector<ShapeRef> FindShapes(std::string_view text) {
    std::vector<ShapeRef> shapes;
    ForeignTextReader in(text);
    std::string_view word;
    in.ReadLine(word);
    while (in.ReadWord(word)) {
        if (word != "*") continue;
        std::string_view name;
        if (!in.ReadWord(name)) break;
        shapes.push_back({std::string(name), in.Position()});
    }
    return shapes;
}

// "*", "**", "***": a shape starts, a shape ends, the trailer starts.
bool IsStars(std::string_view word) { return word.find_first_not_of('*') == std::string_view::npos; }

// A frame's header: its Y, a separator and a point count, with no third field after them.
bool FrameHeaderFollows(ForeignTextReader in) {
    double y = 0;
    long long m = 0;
    return in.ReadNumber(y) && in.ReadSeparator() &&
           in.ReadInteger(m, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()) &&
           !in.TakeIf(',');
}

// Skips a list of numbers joined by commas (a shell line "0.,0.,0."), or else one word.
void SkipRecord(ForeignTextReader& in) {
    double ignored = 0;
    if (!in.ReadNumber(ignored)) {
        std::string_view word;
        in.ReadWord(word);
        return;
    }
    while (in.TakeIf(',') && in.ReadNumber(ignored)) {
    }
}

// Reads the shape whose data starts at pos into a. False, with the reason, for a negative
// frame count, data that ends early or holds text where numbers belong, and a frame
// beyond the count.
bool ReadShapeData(std::string_view text, std::size_t pos, bool mirror, Appendage& a,
                   ReadReport& report) {
    ForeignTextReader in(text, pos);
    std::string& error = report.error;
    auto expected = [&](const std::string& what, long long frame) {
        error = "Expected " + what;
        if (frame >= 0) error += " in frame " + base::IntToStr(frame);
        error += " of shape " + QuoteForLog(a.name) + " but found " + in.DescribeNext();
        return false;
    };

    long long n = 0;
    if (!in.ReadInteger(n, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()))
        return expected("the frame count", -1);
    if (n < 0) {
        error = "The frame count of shape " + QuoteForLog(a.name) + " is negative: " + base::IntToStr(n);
        return false;
    }

    for (long long i = 0; i < n; ++i) {
        double yFeet = 0;
        long long m = 0;
        if (!in.ReadNumber(yFeet)) return expected("the frame position", i);
        if (!in.ReadSeparator()) return expected("a separator after the frame position", i);
        if (!in.ReadInteger(m, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()))
            return expected("the point count", i);

        const double y = yFeet * kMetresPerFoot;
        const std::string frameName = base::FormatFloat("0.000", y);
        const int placed = a.AddSection(frameName, y);
        if (placed < 0) report.warnings.push_back(DroppedFrameWarning(frameName, y, a.name));
        const unsigned f = placed < 0 ? 0 : static_cast<unsigned>(placed);
        if (placed >= 0) a.frames[f].DeleteOffset(0);

        double lastX = 0, lastZ = 0;
        for (long long k = 0; k < m; ++k) {
            double x = 0, z = 0;
            if (!in.ReadNumber(x)) return expected("the X of point " + base::IntToStr(k + 1), i);
            if (!in.ReadSeparator()) return expected("a separator after the X of point " + base::IntToStr(k + 1), i);
            if (!in.ReadNumber(z)) return expected("the Z of point " + base::IntToStr(k + 1), i);
            if (x < 0) x = 0;
            lastX = x * kMetresPerFoot;
            lastZ = z * kMetresPerFoot;
            if (placed >= 0) a.AddOffset(f, lastX, lastZ);
            // Up to three extra fields, each after a comma: a number, a number, a word.
            double ignored = 0;
            if (in.TakeIf(',')) {
                if (!in.ReadNumber(ignored)) return expected("a number after a point", i);
                if (in.TakeIf(',')) {
                    if (!in.ReadNumber(ignored)) return expected("a number after a point", i);
                    if (in.TakeIf(',')) {
                        std::string_view word;
                        if (!in.ReadWord(word)) return expected("a word after a point", i);
                    }
                }
            }
        }
        if (placed < 0) continue;
        for (long long k = m; k >= 0 && k < 3; ++k) a.AddOffset(f, lastX, lastZ);
        if (mirror) a.MirrorFrame(f);
    }
    // The shape's other records (its shell-thickness line and the like) are skipped up
    // to its end, "**"; only a frame beyond the count would be lost unread.
    for (;;) {
        ForeignTextReader next = in;
        std::string_view word;
        if (!next.ReadWord(word) || IsStars(word)) break;
        if (FrameHeaderFollows(in)) {
            error = "Expected the end of shape " + QuoteForLog(a.name) + " after " + base::IntToStr(n) +
                    " frames, as its count says, but found " + in.DescribeNext();
            return false;
        }
        SkipRecord(in);
    }
    return true;
}

}  // namespace

bool Appendage::WriteGfPart(std::string& out, const std::string& partName) const {
    const std::string part = OneLine(partName);
    AppendLine(out, "*");
    AppendLine(out, part);
    AppendLine(out, base::UIntToStr(frames.size()));
    std::vector<double> xs, zs;
    for (const Section& frame : frames) {
        TakeHalfFrame(frame, xs, zs);
        // Written anticlockwise: a clockwise half frame is written backwards.
        Section half;
        for (std::size_t k = 0; k < xs.size(); ++k) half.AddOffset(xs[k], zs[k]);
        ImmersedSection cut;
        std::vector<double> cutX, cutZ;
        half.ClipAtWaterline(half.GetMaxZ(), cut, cutX, cutZ);
        AppendLine(out, Num(frame.Y * kFeetPerMetre) + "," + base::UIntToStr(xs.size()));
        for (std::size_t i = 0; i < xs.size(); ++i) {
            const std::size_t k = cut.clockwise ? xs.size() - 1 - i : i;
            AppendLine(out, Num(xs[k] * kFeetPerMetre) + "," + Num(zs[k] * kFeetPerMetre));
        }
    }
    AppendLine(out, "**");
    AppendLine(out, part);
    AppendLine(out, "0");
    AppendLine(out, "1.00");
    AppendLine(out, "0.00, 0.00, 0.00");
    AppendLine(out, part);
    return true;
}

Result Hullform::ExportGfFile(const std::string& path) {
    const std::size_t count = appendages.size();
    if (count == 0) {
        return Fail("ERROR: Exporting Hull " + name + ", too few appendages for GF file format (1<Num Appendages<256)");
    }
    if (count > kMaxGfCount) {
        return Fail("ERROR: Exporting Hull " + name + ", too many frames for GF file format (1<Num Appendages<256)");
    }
    // Every appendage is checked before anything is written.
    for (const Appendage& a : appendages) {
        const std::size_t frameCount = a.frames.size();
        if (frameCount == 0 || frameCount > kMaxGfCount) {
            return Fail("ERROR: Exporting Appendage: " + a.name + ", frame count (" + base::UIntToStr(frameCount) +
                    ") not compatible with GF file (must be between 1 and 256)");
        }
    }

    std::string out;
    AppendLine(out, OneLine(name) + " exported from " + kProductName);
    AppendLine(out, "L:" + Num(GetMaxY() - GetMinY()));
    AppendLine(out, "W:" + Num(GetMaxX() - GetMinX()));
    AppendLine(out, "P:M");
    AppendLine(out, "OL:Y axis");
    AppendLine(out, "OT:X axis");
    AppendLine(out, "OV:Z axis");
    for (std::size_t k = 0; k < count; ++k) appendages[k].WriteGfPart(out, PartName(k));
    AppendLine(out, "***");
    AppendLine(out, "FULL-HULL/COMPLETE EXPORT");
    AppendLine(out, "SEA WATER");
    AppendLine(out, "1");
    AppendLine(out, Num(waterDensity));  // the specific gravity, as GF files hold it
    AppendLine(out, "0.00, 0.00, 0.00");
    AppendLine(out, base::UIntToStr(count));
    for (std::size_t k = 0; k < count; ++k) AppendLine(out, PartName(k));
    AppendLine(out, "****");

    if (!base::WriteFileAtomic(path, out)) {
        return Fail("ERROR: Failure exporting GF file to " + path + ". Unable to obtain file handle");
    }
    return true;
}

bool Appendage::ReadGfShape(const std::string& path, const std::string& shapeName, bool mirror,
                            ReadReport* report) {
    ReadReport local;
    ReadReport& r = report ? *report : local;
    if (shapeName.empty()) return false;
    std::string text;
    std::string reason;
    if (!ReadModelFile(path, text, reason)) return false;
    for (const ShapeRef& shape : FindShapes(text)) {
        if (shape.name != shapeName) continue;
        Appendage a = *this;
        a.name = shapeName;
        a.frames.clear();
        if (!ReadShapeData(text, shape.dataPos, mirror, a, r)) return false;
        *this = std::move(a);
        return true;
    }
    return false;
}

Result Hullform::ImportGfFile(const std::string& path, bool mirror) {
    std::string text;
    std::string reason;
    if (!ReadModelFile(path, text, reason)) {
        return Fail("ERROR: Failed opening GF file at " + path + " - file handle not returned.");
    }
    // Everything is read aside first: a refused file changes nothing.
    auto fail = [&](const std::string& why) {
        return Fail("ERROR: Failed reading GF file " + path + ". " + why);
    };
    ForeignTextReader first(text);
    std::string_view line;
    const std::string newName = first.ReadLine(line) ? std::string(line) : std::string();
    if (const std::string problem = NameProblem(newName); !problem.empty()) return fail(problem);

    const std::vector<ShapeRef> shapes = FindShapes(text);
    if (shapes.empty()) {
        return Fail("ERROR: No shapes found in GF file " + path);
    }
    // A name that comes twice is read from its first place, once for each time.
    std::unordered_map<std::string, std::size_t> firstPlace;
    for (const ShapeRef& shape : shapes) firstPlace.emplace(shape.name, shape.dataPos);

    std::vector<Appendage> read;
    std::vector<std::string> warnings;
    for (const ShapeRef& shape : shapes) {
        if (const std::string problem = NameProblem(shape.name); !problem.empty()) return fail(problem);
        Appendage a;
        a.name = shape.name;
        ReadReport report;
        if (!ReadShapeData(text, firstPlace[shape.name], mirror, a, report)) return fail(report.error);
        warnings.insert(warnings.end(), report.warnings.begin(), report.warnings.end());
        read.push_back(std::move(a));
    }
    for (const std::string& warning : warnings) log.Log(warning);
    name = newName;
    for (Appendage& a : read) appendages.push_back(std::move(a));
    return true;
}

}  // namespace core
