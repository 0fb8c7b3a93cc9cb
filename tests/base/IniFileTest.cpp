#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <cmath>
#include <sys/stat.h>
#include <unistd.h>

#include "FileSizeLimit.h"
#include "base/FileUtils.h"
#include "base/IniFile.h"
#include "base/StrUtils.h"
#include "support/TestSupport.h"
#include "base/StringList.h"

using namespace base;

namespace {

class IniTest : public ::testing::Test {
protected:
    testsupport::TempDir scratch_{"korvelo-ini"};
    std::string Contents() const {
        std::string s;
        ReadFile(file_, s);
        return s;
    }
    std::string dir_ = scratch_.str(), file_ = scratch_.file("Korvelo.INI");
};

}  // namespace

TEST_F(IniTest, MissingFileReadsAsEmpty) {
    TIniFile ini(file_);
    EXPECT_EQ(ini.ReadString("General", "Key", "def"), "def");
    EXPECT_EQ(ini.ReadInteger("General", "Key", 7), 7);
    EXPECT_TRUE(ini.ReadBool("General", "Key", true));
    EXPECT_EQ(ini.ReadFloat("General", "Key", 1.5), 1.5);
    EXPECT_FALSE(ini.SectionExists("General"));
    EXPECT_FALSE(FileExists(file_));
}

TEST_F(IniTest, ReadsTypedValuesWithDefaults) {
    ASSERT_TRUE(WriteFileAtomic(file_,
                                "; settings\r\n"
                                "[General]\r\n"
                                "MainFormLeft = 120\r\n"
                                "Name=  Boat one  \r\n"
                                "Empty=\r\n"
                                "Flag=1\r\n"
                                "Off=0\r\n"
                                "Two=2\r\n"
                                "Hex=0x1F\r\n"
                                "Bad=12a\r\n"
                                "Density=1.025\r\n"
                                "Comma=1,025\r\n"
                                "\r\n"
                                "[3D]\n"
                                "Zoom=1e-3\n"));
    TIniFile ini(file_);
    struct StringCase {
        const char* section;
        const char* key;
        const char* value;
    } strings[] = {
        {"General", "MainFormLeft", "120"},
        {"general", "mainformleft", "120"},
        {"General", "Name", "Boat one"},
        {"General", "Empty", ""},  // present but empty: not the default
        {"3d", "ZOOM", "1e-3"},
        {"General", "Missing", "def"},
        {"Nowhere", "Name", "def"},
    };
    for (const auto& c : strings) EXPECT_EQ(ini.ReadString(c.section, c.key, "def"), c.value) << c.key;
    EXPECT_EQ(ini.ReadInteger("General", "MainFormLeft", 0), 120);
    EXPECT_EQ(ini.ReadInteger("General", "Hex", 0), 31);
    EXPECT_EQ(ini.ReadInteger("General", "Bad", -1), -1);
    EXPECT_EQ(ini.ReadInteger("General", "Empty", 5), 5);
    EXPECT_TRUE(ini.ReadBool("General", "Flag", false));
    EXPECT_FALSE(ini.ReadBool("General", "Off", true));
    EXPECT_TRUE(ini.ReadBool("General", "Two", false));  // any nonzero integer
    EXPECT_TRUE(ini.ReadBool("General", "Bad", true));   // not a number: the default
    EXPECT_EQ(ini.ReadFloat("General", "Density", 0), 1.025);
    EXPECT_EQ(ini.ReadFloat("3D", "Zoom", 0), 0.001);
    {
        // Floats in the file always use '.', whatever the user's separator.
        char old = DecimalSeparator();
        SetDecimalSeparator(',');
        EXPECT_EQ(ini.ReadFloat("General", "Density", 0), 1.025);
        EXPECT_EQ(ini.ReadFloat("General", "Comma", 9), 9);
        SetDecimalSeparator(old);
    }
    EXPECT_TRUE(ini.SectionExists("3D"));
    EXPECT_TRUE(ini.ValueExists("General", "empty"));
    EXPECT_FALSE(ini.ValueExists("General", "settings"));
}

TEST_F(IniTest, IntegersOutOfRangeGiveTheDefaultInEitherBase) {
    ASSERT_TRUE(WriteFileAtomic(file_,
                                "[S]\n"
                                "MaxHex=0x7FFFFFFFFFFFFFFF\n"
                                "HexTop=0x8000000000000000\n"
                                "HexAll=0xFFFFFFFFFFFFFFFF\n"
                                "HexLong=0x10000000000000000\n"
                                "MaxDec=9223372036854775807\n"
                                "DecOver=9223372036854775808\n"));
    TIniFile ini(file_);
    const struct {
        const char* key;
        long long expected;
    } cases[] = {
        {"MaxHex", 9223372036854775807LL}, {"HexTop", -5}, {"HexAll", -5},
        {"HexLong", -5},                   {"MaxDec", 9223372036854775807LL}, {"DecOver", -5},
    };
    for (const auto& c : cases) EXPECT_EQ(ini.ReadInteger("S", c.key, -5), c.expected) << c.key;
}

TEST_F(IniTest, SectionListsInFileOrder) {
    ASSERT_TRUE(WriteFileAtomic(file_, "[B]\nx=1\ny=2\n[A]\n[C]\nz=3\n"));
    TIniFile ini(file_);
    TStringList l;
    l.Add("stale");
    ini.ReadSections(l);
    EXPECT_EQ(l.CommaText(), "B,A,C");
    ini.ReadSection("b", l);
    EXPECT_EQ(l.CommaText(), "x,y");
    ini.ReadSectionValues("B", l);
    EXPECT_EQ(l.CommaText(), "x=1,y=2");
    ini.ReadSection("none", l);
    EXPECT_EQ(l.Count(), 0);
}

TEST_F(IniTest, WritesSaveAtOnceAndKeepLayout) {
    ASSERT_TRUE(WriteFileAtomic(file_, "; comment\r\n[General]\r\nA=1\r\n\r\n[2D]\r\nB=2\r\n"));
    TIniFile ini(file_);
    EXPECT_TRUE(ini.WriteString("general", "a", "one"));
    EXPECT_TRUE(ini.WriteInteger("General", "C", -3));
    EXPECT_TRUE(ini.WriteBool("2D", "Grid", true));
    EXPECT_TRUE(ini.WriteBool("2D", "Axes", false));
    EXPECT_TRUE(ini.WriteFloat("Calculations", "Density", 1.025));
    EXPECT_EQ(Contents(),
              "; comment\r\n[General]\r\nA=one\r\nC=-3\r\n\r\n[2D]\r\nB=2\r\nGrid=1\r\nAxes=0\r\n"
              "[Calculations]\r\nDensity=1.025\r\n");
    // Another reader sees every write.
    TIniFile other(file_);
    EXPECT_EQ(other.ReadString("GENERAL", "A", ""), "one");
    EXPECT_EQ(other.ReadFloat("Calculations", "Density", 0), 1.025);
}

TEST_F(IniTest, FloatsRoundTripExactly) {
    TIniFile ini(file_);
    for (double v : {0.1 + 0.2, 1234567.0, 1e-7, -0.0, 1.7976931348623157e308, 4.9406564584124654e-324}) {
        ASSERT_TRUE(ini.WriteFloat("F", "v", v));
        TIniFile back(file_);
        double r = back.ReadFloat("F", "v", 99);
        EXPECT_EQ(FormatShortest(r), FormatShortest(v));
        EXPECT_EQ(std::signbit(r), std::signbit(v));
    }
    ASSERT_TRUE(ini.WriteFloat("F", "v", 1.025));
    EXPECT_EQ(Contents(), "[F]\r\nv=1.025\r\n");
}

TEST_F(IniTest, KeepsLineFeedFiles) {
    ASSERT_TRUE(WriteFileAtomic(file_, "[S]\nk=v\n"));
    TIniFile ini(file_);
    ASSERT_TRUE(ini.WriteString("S", "k2", "v2"));
    EXPECT_EQ(Contents(), "[S]\nk=v\nk2=v2\n");
}

TEST_F(IniTest, EraseAndDelete) {
    ASSERT_TRUE(WriteFileAtomic(file_, "[A]\nx=1\ny=2\n[B]\nz=3\n"));
    TIniFile ini(file_);
    EXPECT_TRUE(ini.DeleteKey("a", "X"));
    EXPECT_FALSE(ini.ValueExists("A", "x"));
    EXPECT_TRUE(ini.EraseSection("b"));
    EXPECT_FALSE(ini.SectionExists("B"));
    EXPECT_TRUE(ini.DeleteKey("none", "x"));  // nothing to delete is not a failure
    EXPECT_EQ(Contents(), "[A]\ny=2\n");
}

TEST_F(IniTest, LaterWritesKeepOtherWritersChanges) {
    TIniFile a(file_), b(file_);
    ASSERT_TRUE(a.WriteString("S", "fromA", "1"));
    ASSERT_TRUE(b.WriteString("S", "fromB", "2"));
    TIniFile c(file_);
    EXPECT_EQ(c.ReadString("S", "fromA", ""), "1");
    EXPECT_EQ(c.ReadString("S", "fromB", ""), "2");
}

TEST_F(IniTest, FailedWriteLeavesFileAndValuesUntouched) {
    // Tests run as root, so an unwritable place is made with a folder where the file should be.
    const std::string blocked = dir_ + "/blocked.ini";
    ASSERT_EQ(mkdir(blocked.c_str(), 0755), 0);
    TIniFile ini(blocked);
    EXPECT_FALSE(ini.WriteString("S", "k", "v"));
    EXPECT_EQ(ini.ReadString("S", "k", "none"), "none");
    EXPECT_TRUE(DirectoryExists(blocked));

    // A file whose folder has gone: the write fails and the old values stay readable.
    const std::string sub = dir_ + "/sub";
    ASSERT_EQ(mkdir(sub.c_str(), 0755), 0);
    const std::string f = sub + "/x.ini";
    ASSERT_TRUE(WriteFileAtomic(f, "[S]\nk=old\n"));
    TIniFile gone(f);
    ASSERT_EQ(unlink(f.c_str()), 0);
    ASSERT_EQ(rmdir(sub.c_str()), 0);
    EXPECT_FALSE(gone.WriteString("S", "k", "new"));
    EXPECT_FALSE(gone.WriteInteger("S", "n", 1));
    EXPECT_EQ(gone.ReadString("S", "k", ""), "old");
    EXPECT_FALSE(gone.ValueExists("S", "n"));
    EXPECT_FALSE(FileExists(f));

    // A write that fails part-way leaves the old file and the values as they were.
    ASSERT_TRUE(WriteFileAtomic(file_, "[S]\r\nk=old\r\n"));
    TIniFile kept(file_);
    bool ok = false;
    {
        FileSizeLimit limit(64);
        ASSERT_TRUE(limit.Active());
        ok = kept.WriteString("S", "k", std::string(500, 'n'));
    }
    EXPECT_FALSE(ok);
    EXPECT_NE(kept.LastError().find("File too large"), std::string::npos) << kept.LastError();
    EXPECT_EQ(kept.ReadString("S", "k", ""), "old");
    EXPECT_EQ(Contents(), "[S]\r\nk=old\r\n");
    // A batch that cannot be saved says why too.
    ASSERT_EQ(chmod(file_.c_str(), 0444), 0);
    kept.BeginUpdate();
    kept.WriteString("S", "k", "new");
    EXPECT_FALSE(kept.EndUpdate());
    EXPECT_NE(kept.LastError().find("read-only"), std::string::npos) << kept.LastError();
    EXPECT_EQ(Contents(), "[S]\r\nk=old\r\n");
}

TEST_F(IniTest, UnreadableFileIsNotReplaced) {
    // A folder where the file should be cannot be read and must not be overwritten.
    ASSERT_EQ(mkdir(file_.c_str(), 0755), 0);
    TIniFile ini(file_);
    EXPECT_FALSE(ini.WriteString("S", "k", "v"));
    EXPECT_NE(ini.LastError().find("Cannot read"), std::string::npos) << ini.LastError();
    EXPECT_TRUE(DirectoryExists(file_));
}

TEST_F(IniTest, RefusesTextThatWouldNotReadBack) {
    TIniFile ini(file_);
    EXPECT_FALSE(ini.WriteString("S", "k", "two\nlines"));
    EXPECT_FALSE(ini.WriteString("S", "a=b", "v"));
    EXPECT_FALSE(ini.WriteString("S]x", "k", "v"));
    EXPECT_FALSE(ini.WriteString("S", "", "v"));
    EXPECT_FALSE(FileExists(file_));
    EXPECT_TRUE(ini.WriteString("S", "k", "a=b;c"));
    TIniFile back(file_);
    EXPECT_EQ(back.ReadString("S", "k", ""), "a=b;c");
}

TEST_F(IniTest, BatchedWritesSaveOnce) {
    TIniFile ini(file_);
    ini.BeginUpdate();
    EXPECT_TRUE(ini.WriteInteger("S", "a", 1));
    EXPECT_TRUE(ini.WriteInteger("S", "b", 2));
    EXPECT_FALSE(FileExists(file_));
    EXPECT_EQ(ini.ReadInteger("S", "a", 0), 1);
    EXPECT_TRUE(ini.EndUpdate());
    EXPECT_EQ(Contents(), "[S]\r\na=1\r\nb=2\r\n");
    EXPECT_TRUE(ini.UpdateFile());
}
