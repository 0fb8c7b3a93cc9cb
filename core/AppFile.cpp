// The version-1 appendage file: a banner, then one item per line.
#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>

#include "base/FileUtils.h"
#include "base/StrUtils.h"
#include "core/Appendage.h"
#include "core/ErrorLog.h"
#include "core/Hullform.h"
#include "core/ModelText.h"
#include "core/ProductInfo.h"

namespace core {

namespace {

constexpr std::size_t kBannerWidth = 63;
constexpr std::size_t kBannerInner = kBannerWidth - 4;
constexpr std::string_view kAddressIndent = "                 ";  // 17 blanks
constexpr std::string_view kTextIndent = "     ";                // 5 blanks

static_assert(sizeof(kProductWebAddress) - 1 + kAddressIndent.size() <= kBannerInner,
              "the web address must fit its banner line");
static_assert(sizeof(kProductAuthor) - 1 + kTextIndent.size() <= kBannerInner,
              "the author line must fit its banner line");

// "**", the content padded with blanks to 59 characters, "**".
std::string BannerLine(std::string_view content) {
    std::string line = "**";
    line.append(content.substr(0, kBannerInner));
    line.append(kBannerInner - std::min(content.size(), kBannerInner), ' ');
    line.append("**");
    return line;
}

std::string Indented(std::string_view indent, std::string_view text) {
    return std::string(indent) + std::string(text);
}

bool ExpectKeyword(ModelTextReader& in, std::string_view keyword, std::string& error) {
    std::string_view word;
    if (in.ReadWord(word) && word == keyword) return true;
    error = "Expected " + std::string(keyword) + " but found " +
            (word.empty() ? std::string("the end of the file") : QuoteForLog(word));
    return false;
}

bool ExpectNumber(ModelTextReader& in, std::string_view after, double& value, std::string& error) {
    if (in.ReadNumber(value)) return true;
    error = "Expected a number after " + std::string(after) + " but found " + in.DescribeNext();
    return false;
}

bool ExpectCount(ModelTextReader& in, std::string_view after, std::uint32_t& value, std::string& error) {
    if (in.ReadCount(value)) return true;
    error = "Expected a count after " + std::string(after) + " but found " + in.DescribeNext();
    return false;
}

// The line after the keyword's line.
bool ExpectNameLine(ModelTextReader& in, std::string_view after, std::string& name, std::string& error) {
    in.SkipRestOfLine();
    std::string_view line;
    if (!in.ReadLine(line)) {
        error = "File ends where the name after " + std::string(after) + " should be";
        return false;
    }
    // A carriage return inside the line is a blank, as the save writes it.
    name = OneLine(line);
    // A name the hull file could not hold back enters no model.
    error = NameProblem(name);
    return error.empty();
}

}  // namespace

Result Appendage::SaveAppFile(const std::string& path, ErrorLog* log) const {
    // A file must import again, and the reader takes no "nan" or "inf".
    const std::string bad = NonFiniteValue(*this, true);
    if (!bad.empty()) {
        return LoggedFailure(log, "ERROR: Failure saving Appendage file " + path + ". " + bad);
    }

    std::string out;
    const std::string stars(kBannerWidth, '*');
    AppendLine(out, stars);
    AppendLine(out, BannerLine(""));
    AppendLine(out, BannerLine(Indented(kTextIndent, "Spindrel")));
    AppendLine(out, BannerLine(Indented(kTextIndent, "Version 1.0.1")));
    AppendLine(out, BannerLine(Indented(kTextIndent, kProductAuthor)));
    AppendLine(out, BannerLine(Indented(kTextIndent, "Please visit the website for updates and new versions ")));
    AppendLine(out, BannerLine(""));
    AppendLine(out, BannerLine(Indented(kAddressIndent, kProductWebAddress)));
    AppendLine(out, BannerLine(""));
    AppendLine(out, stars);

    AppendLine(out, "APPENDAGE_NAME");
    AppendLine(out, OneLine(name));
    AppendLine(out, "AP");
    AppendLine(out, ModelNumber(ap));
    AppendLine(out, "FP");
    AppendLine(out, ModelNumber(fp));
    AppendLine(out, "DENSITY");
    AppendLine(out, ModelNumber(density));
    AppendLine(out, "NUMBER_OF_FRAMES");
    AppendLine(out, base::UIntToStr(frames.size()));
    AppendLine(out, "***START_OF_FRAME_INFORMATION***");
    for (std::size_t i = 0; i < frames.size(); ++i) {
        const Section& frame = frames[i];
        AppendLine(out, "FRAME_INDEX: " + base::UIntToStr(i));
        AppendLine(out, "FRAME_NAME");
        AppendLine(out, OneLine(frame.name));
        AppendLine(out, "FRAME_Y");
        AppendLine(out, ModelNumber(frame.Y));
        const std::size_t m = std::min(frame.X.size(), frame.Z.size());
        AppendLine(out, "NUMBER_OF_COORDINATES");
        AppendLine(out, base::UIntToStr(m));
        AppendLine(out, "***START_OF_ORDINATES***");
        for (std::size_t k = 0; k < m; ++k) {
            AppendLine(out, ModelNumber(frame.X[k]));
            AppendLine(out, ModelNumber(frame.Z[k]));
        }
        AppendLine(out, "***END_OF_ORDINATES***");
    }
    AppendLine(out, "***END_OF_FILE***");

    std::string error;
    if (!base::WriteFileAtomic(path, out, &error)) {
        return LoggedFailure(log, "ERROR: Failure saving Appendage file " + path + ". " +
                     (error.empty() ? std::string("Unable to obtain file handle") : error));
    }
    return true;
}

bool Appendage::LoadAppFile(const std::string& path, ReadReport* report) {
    ReadReport local;
    ReadReport& r = report ? *report : local;
    std::string text;
    if (!ReadModelFile(path, text, r.error)) return false;
    ModelTextReader in(text);
    std::string_view line;
    for (int i = 0; i < 8; ++i) {
        if (!in.ReadLine(line)) {
            r.error = "Not a version-1 appendage file: it ends within the banner";
            return false;
        }
    }
    if (line.find(kProductWebAddress) == std::string_view::npos) {
        r.error = "Not a version-1 appendage file: line 8 does not hold " + std::string(kProductWebAddress);
        return false;
    }

    // Read into a copy, so a file that fails part way changes nothing.
    Appendage a = BlankCopy();
    in.SkipRestOfLine();
    in.SkipRestOfLine();

    std::string& error = r.error;
    std::uint32_t frameCount = 0;
    if (!ExpectKeyword(in, "APPENDAGE_NAME", error) || !ExpectNameLine(in, "APPENDAGE_NAME", a.name, error) ||
        !ExpectKeyword(in, "AP", error) || !ExpectNumber(in, "AP", a.ap, error) ||
        !ExpectKeyword(in, "FP", error) || !ExpectNumber(in, "FP", a.fp, error) ||
        !ExpectKeyword(in, "DENSITY", error) || !ExpectNumber(in, "DENSITY", a.density, error) ||
        !ExpectKeyword(in, "NUMBER_OF_FRAMES", error) || !ExpectCount(in, "NUMBER_OF_FRAMES", frameCount, error))
        return false;
    in.SkipRestOfLine();
    in.SkipRestOfLine();

    // The count only bounds the loop: a file that holds fewer frames fails at its end.
    FramePlacer placer(a);
    for (std::uint32_t f = 0; f < frameCount; ++f) {
        Section frame;
        std::uint32_t m = 0;
        double y = 0;
        in.SkipRestOfLine();  // the frame-index line
        if (!ExpectKeyword(in, "FRAME_NAME", error) || !ExpectNameLine(in, "FRAME_NAME", frame.name, error) ||
            !ExpectKeyword(in, "FRAME_Y", error) || !ExpectNumber(in, "FRAME_Y", y, error) ||
            !ExpectKeyword(in, "NUMBER_OF_COORDINATES", error) ||
            !ExpectCount(in, "NUMBER_OF_COORDINATES", m, error)) {
            error += " in frame " + base::UIntToStr(f);
            return false;
        }
        frame.SetY(y);
        in.SkipRestOfLine();
        in.SkipRestOfLine();
        for (std::uint32_t k = 0; k < m; ++k) {
            double x = 0, z = 0;
            if (!in.ReadNumber(x) || !in.ReadNumber(z)) {
                error = "Expected offset " + base::UIntToStr(k + 1) + " of " + base::UIntToStr(m) +
                        " but found " + in.DescribeNext() + " in frame " + base::UIntToStr(f);
                return false;
            }
            frame.AddOffset(x, z);
        }
        // More offsets than the count would be lost unread.
        if (in.NumberFollows()) {
            error = "Expected ***END_OF_ORDINATES*** after " + base::UIntToStr(m) +
                    " offsets, as NUMBER_OF_COORDINATES says, but found " + in.DescribeNext() + " in frame " +
                    base::UIntToStr(f);
            return false;
        }
        if (m > 0) in.SkipRestOfLine();
        in.SkipRestOfLine();  // the end-of-ordinates line
        const std::string frameName = frame.name;
        if (!placer.Add(std::move(frame))) r.warnings.push_back(DroppedFrameWarning(frameName, y, a.name));
    }
    // The end marker tells a whole file from one cut short after its last number.
    if (!ExpectKeyword(in, "***END_OF_FILE***", error)) return false;

    placer.Finish();
    *this = std::move(a);
    return true;
}

Result Hullform::ImportAppFile(const std::string& path) {
    Appendage a;
    ReadReport report;
    if (!a.LoadAppFile(path, &report)) {
        return Fail("ERROR: Failed importing Appendage file " + path + ". " + report.error);
    }
    for (const std::string& warning : report.warnings) log.Log(warning);
    appendages.push_back(std::move(a));
    return true;
}

}  // namespace core
