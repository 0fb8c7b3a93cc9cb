// Foreign exports of one appendage: the CRD frame file, Wavefront OBJ and FreeShip text.
#include <algorithm>
#include <cstddef>
#include <string>
#include <string_view>

#include "base/FileUtils.h"
#include "base/StrUtils.h"
#include "core/Appendage.h"
#include "core/ErrorLog.h"
#include "core/ModelText.h"
#include "core/ProductInfo.h"

namespace core {

namespace {

std::string Num(double v) { return base::FormatG(v, 6); }

Result WriteExport(const std::string& path, const std::string& data, const char* kind, ErrorLog* log) {
    std::string error;
    if (base::WriteFileAtomic(path, data, &error)) return true;
    return LoggedFailure(log, "ERROR: Failure exporting " + std::string(kind) + " file to " + path + ". " +
                 (error.empty() ? std::string("Unable to obtain file handle") : error));
}

// A polygon needs three corners; a frame with fewer gets no face.
constexpr std::size_t kMinFaceVertices = 3;

}  // namespace

Result Appendage::ExportFrameToCrd(const std::string& path, unsigned j, ErrorLog* log) const {
    if (j >= frames.size()) {
        return LoggedFailure(log, "ERROR: Failure exporting CRD file to " + path + ". Frame [" + base::UIntToStr(j) +
                     "] of appendage " + name + " does not exist");
    }
    const Section& frame = frames[j];
    const std::size_t n = std::min(frame.X.size(), frame.Z.size());
    std::string out;
    AppendLine(out, base::UIntToStr(n));
    for (std::size_t k = 0; k < n; ++k) AppendLine(out, Num(frame.X[k]) + " " + Num(frame.Z[k]));
    return WriteExport(path, out, "CRD", log);
}

Result Appendage::ExportObj(const std::string& path, ErrorLog* log) const {
    const std::string body = OneLine(name);
    std::string out;
    AppendLine(out, "#" + body + " - generated in " + kProductName);
    AppendLine(out, std::string("#") + kProductWebAddress);
    AppendLine(out, "g " + body);
    for (const Section& frame : frames) {
        const std::string y = Num(frame.Y);
        const std::size_t n = std::min(frame.X.size(), frame.Z.size());
        for (std::size_t k = 0; k < n; ++k) AppendLine(out, "v " + Num(frame.X[k]) + " " + y + "  " + Num(frame.Z[k]));
        AppendLine(out, "");
        AppendLine(out, "");
    }
    std::size_t first = 1;  // vertices count from 1 across the file
    for (const Section& frame : frames) {
        const std::size_t n = std::min(frame.X.size(), frame.Z.size());
        AppendLine(out, "g " + body + " " + OneLine(frame.name));
        if (n >= kMinFaceVertices) {
            std::string face = "f ";
            for (std::size_t k = 0; k < n; ++k) face += base::UIntToStr(first + k) + " ";
            AppendLine(out, face);
        }
        first += n;
    }
    return WriteExport(path, out, "OBJ", log);
}

Result Appendage::ExportFreeShipText(const std::string& path, ErrorLog* log) const {
    std::string out;
    AppendLine(out, "0");
    for (const Section& frame : frames) {
        const std::string y = Num(frame.Y);
        const std::size_t n = std::min(frame.X.size(), frame.Z.size());
        for (std::size_t k = 0; k < n; ++k)
            if (frame.X[k] >= 0) AppendLine(out, y + "   " + Num(frame.X[k]) + "   " + Num(frame.Z[k]));
        AppendLine(out, "");
    }
    AppendLine(out, "EOF");
    return WriteExport(path, out, "FreeShip", log);
}

}  // namespace core
