// The pixel-checksum helper's renew mode: it rewrites the kept literal and nothing else.
#include "support/PixelHash.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include <unistd.h>

namespace {

namespace fs = std::filesystem;

struct RenewDir {
    fs::path root = fs::temp_directory_path() / ("renew-" + std::to_string(::getpid()));
    RenewDir() { fs::create_directories(root / "widgets"); }
    ~RenewDir() { fs::remove_all(root); }
    void Write(const std::string& text) { std::ofstream(root / "widgets" / "case_pixels.cpp") << text; }
    std::string Read() const
    {
        std::ifstream in(root / "widgets" / "case_pixels.cpp");
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }
};

TEST(PixelHash, RenewReplacesTheKeptChecksumInTheNamedSource)
{
    RenewDir d;
    d.Write("{\"a\", 0x00000000000000aaull},\n{\"b\", 0x00000000000000bbull},\n");
    EXPECT_EQ(testsupport::RenewChecksum(d.root, "../../tests/widgets/case_pixels.cpp", 0xbb, 0x1234), "");
    EXPECT_EQ(d.Read(), "{\"a\", 0x00000000000000aaull},\n{\"b\", 0x0000000000001234ull},\n");
}

TEST(PixelHash, RenewRefusesWhatItCannotPlaceAndLeavesTheSource)
{
    RenewDir d;
    const std::string text = "{\"a\", 0x00000000000000aaull},\n{\"c\", 0x00000000000000aaull},\n";
    d.Write(text);
    const struct {
        const char* file;
        std::uint64_t expected;
        const char* says;
    } cases[] = {
        {"case_pixels.cpp", 0xaa, "stands twice"},
        {"case_pixels.cpp", 0xcc, "is not written"},
        {"other_pixels.cpp", 0xaa, "no file"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.says);
        EXPECT_NE(testsupport::RenewChecksum(d.root, c.file, c.expected, 0x1).find(c.says), std::string::npos);
        EXPECT_EQ(d.Read(), text);
    }
}

TEST(PixelHash, AMismatchFailsNamingBothNumbersUnlessRenewing)
{
    ::unsetenv("KORVELO_PIXEL_RENEW");
    const auto r = testsupport::PixelsMatch("nowhere.cpp", 0x2, 0x1, "case");
    EXPECT_FALSE(r);
    EXPECT_NE(std::string(r.message()).find("0x0000000000000002"), std::string::npos);
    EXPECT_TRUE(testsupport::PixelsMatch("nowhere.cpp", 0x1, 0x1, "case"));
}

}  // namespace
