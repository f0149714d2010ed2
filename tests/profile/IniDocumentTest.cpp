#include "IniDocument.h"
#include "IniFile.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <string_view>
#include <vector>

namespace {

TEST(IniDocument, ReadsNamesWithoutRegardToCaseAndBlanks)
{
    IniDocument doc = IniDocument::Parse("[ Sec A ]\r\n  Key One = value with  inner \r\nx=1\n[B]\ny=2");
    EXPECT_EQ(doc.ReadString("sec a", "KEY ONE", "d"), "value with  inner");
    EXPECT_EQ(doc.ReadString(" SEC A ", " key one ", "d"), "value with  inner");
    EXPECT_EQ(doc.ReadInt("b", "Y", 7), 2);
    EXPECT_EQ(doc.ReadString("B", "x", "missing"), "missing"); // x belongs to the first section
    EXPECT_EQ(doc.ReadString("C", "y", "def"), "def");
}

TEST(IniDocument, FirstSectionAndFirstKeyOfANameWin)
{
    IniDocument doc = IniDocument::Parse("[S]\r\nk=first\r\nk=second\r\n[s]\r\nk=third\r\nz=only here\r\n");
    EXPECT_EQ(doc.ReadString("S", "k", ""), "first");
    // Only the first section of a name is searched, as the Windows calls do.
    EXPECT_EQ(doc.ReadString("S", "z", "none"), "none");
    doc.WriteString("S", "K", "new");
    EXPECT_EQ(doc.Serialize(), "[S]\r\nk=new\r\nk=second\r\n[s]\r\nk=third\r\nz=only here\r\n");
}

TEST(IniDocument, StripsOnePairOfMatchingQuotes)
{
    IniDocument doc = IniDocument::Parse("[Q]\na=' q '\nb=\"x\"\nc=\"x'\nd=\"\"\ne=''x''\nf=\"\n");
    EXPECT_EQ(doc.ReadString("Q", "a", ""), " q ");
    EXPECT_EQ(doc.ReadString("Q", "b", ""), "x");
    EXPECT_EQ(doc.ReadString("Q", "c", ""), "\"x'");
    EXPECT_EQ(doc.ReadString("Q", "d", "def"), "");
    EXPECT_EQ(doc.ReadString("Q", "e", ""), "'x'");
    EXPECT_EQ(doc.ReadString("Q", "f", ""), "\"");
}

TEST(IniDocument, ReadIntTakesOptionalMinusAndLeadingDigits)
{
    IniDocument doc = IniDocument::Parse(
        "[N]\na=-12abc\nb=\nc=abc\nd=2147483647\ne=-2147483648\nf=4294967297\ng='42'\nh=  17  \ni=-\nj=' +8'\nk=+-3\n");
    EXPECT_EQ(doc.ReadInt("N", "a", 7), -12);
    EXPECT_EQ(doc.ReadInt("N", "b", 7), 7) << "an empty value reads as the default";
    EXPECT_EQ(doc.ReadInt("N", "c", 7), 0);
    EXPECT_EQ(doc.ReadInt("N", "d", 7), 2147483647);
    EXPECT_EQ(doc.ReadInt("N", "e", 7), -2147483647 - 1);
    EXPECT_EQ(doc.ReadInt("N", "f", 7), 1) << "wraps at 32 bits";
    EXPECT_EQ(doc.ReadInt("N", "g", 7), 42);
    EXPECT_EQ(doc.ReadInt("N", "h", 7), 17);
    EXPECT_EQ(doc.ReadInt("N", "i", 7), 0);
    EXPECT_EQ(doc.ReadInt("N", "j", 7), 8);
    EXPECT_EQ(doc.ReadInt("N", "k", 7), 0);
    EXPECT_EQ(doc.ReadInt("N", "missing", -1), -1);
}

TEST(IniDocument, LongStringsAreCutTo2047Characters)
{
    std::string longValue(5000, 'x');
    IniDocument doc;
    doc.WriteString("S", "k", longValue);
    EXPECT_EQ(doc.ReadString("S", "k", "").size(), 2047u);
    EXPECT_EQ(doc.ReadString("S", "missing", longValue).size(), 2047u);
}

TEST(IniDocument, StructsRoundTripAndRejectDamage)
{
    unsigned char data[5] = {0x00, 0x01, 0x7F, 0x80, 0xFF};
    std::string text = IniDocument::EncodeStruct(data, 5);
    EXPECT_EQ(text, "00017F80FFFF"); // sum 0x1FF -> checksum FF

    IniDocument doc;
    doc.WriteStruct("S", "blob", data, 5);
    unsigned char back[5] = {};
    ASSERT_TRUE(doc.ReadStruct("S", "blob", back, 5));
    EXPECT_EQ(std::memcmp(back, data, 5), 0);

    unsigned char untouched[5] = {9, 9, 9, 9, 9};
    const unsigned char nines[5] = {9, 9, 9, 9, 9};
    auto rejects = [&](const std::string& stored, size_t size) {
        IniDocument d = IniDocument::Parse("[S]\r\nblob=" + stored + "\r\n");
        bool ok = d.ReadStruct("S", "blob", untouched, size);
        return !ok && std::memcmp(untouched, nines, 5) == 0;
    };
    EXPECT_TRUE(rejects("00017F80FFFE", 5)) << "bad checksum";
    EXPECT_TRUE(rejects("00017F80FF", 5)) << "too short";
    EXPECT_TRUE(rejects("00017F80FFFF00", 5)) << "too long";
    EXPECT_TRUE(rejects("00017F80FFFF", 4)) << "wrong size";
    EXPECT_TRUE(rejects("00017G80FFFF", 5)) << "not hexadecimal";
    EXPECT_TRUE(rejects("", 5));
    IniDocument lower = IniDocument::Parse("[S]\r\nblob=00017f80ffff\r\n");
    EXPECT_TRUE(lower.ReadStruct("S", "blob", back, 5)) << "lower-case digits are hexadecimal too";
}

TEST(IniDocument, UpdatesInPlaceAndKeepsEveryOtherLine)
{
    const std::string original = "; a comment\r\n[One]\r\n  a = 1 \r\nnoequals\r\n\r\n[Two]\r\nb=2\r\n";
    IniDocument doc = IniDocument::Parse(original);
    EXPECT_EQ(doc.Serialize(), original);

    doc.WriteString("one", "A", "10");  // replaced in place, the key keeps its spelling
    doc.WriteString("One", "c", "3");   // new key after the last non-blank line of its section
    doc.WriteString("Three", "d", "4"); // new section at the end
    EXPECT_EQ(doc.Serialize(),
              "; a comment\r\n[One]\r\na=10\r\nnoequals\r\nc=3\r\n\r\n[Two]\r\nb=2\r\n[Three]\r\nd=4\r\n");
}

TEST(IniDocument, WritesCrlfAndNeverSplitsALine)
{
    IniDocument doc = IniDocument::Parse("[S]\nk=1\n");
    doc.WriteString("S", "evil", "a\r\nb=c");
    doc.WriteString("S\r\n[Injected]", "k2", "v");
    EXPECT_EQ(doc.Serialize(), "[S]\r\nk=1\r\nevil=a\r\nk2=v\r\n");
    EXPECT_EQ(doc.ReadString("S", "b", "none"), "none");
    EXPECT_FALSE(doc.WriteString("S", "  ", "v")) << "an empty key cannot be written";
}

TEST(IniDocument, ValueBlanksAreKeptInTheFileAndTrimmedOnRead)
{
    IniDocument doc;
    doc.WriteString("FileName", "Profile1", "  spaced name  ");
    EXPECT_EQ(doc.Serialize(), "[FileName]\r\nProfile1=  spaced name  \r\n");
    EXPECT_EQ(doc.ReadString("FileName", "Profile1", ""), "spaced name");
    EXPECT_EQ(IniDocument::Parse(doc.Serialize()).ReadString("filename", "profile1", ""), "spaced name");
}

TEST(IniDocument, NamesFoldCaseInTheAnsiCodePage)
{
    IniDocument doc;
    doc.WriteString("\xC4pfel", "k", "1"); // "Äpfel"
    EXPECT_EQ(doc.ReadString("\xE4PFEL", "K", ""), "1");
}

TEST(IniDocument, OddLinesDoNotBreakTheParse)
{
    static const char kOdd[] = "\xEF\xBB\xBF[S]\n[broken\n=novalue\n[a]b]\nk=v\n\0x=1\n";
    IniDocument doc = IniDocument::Parse(std::string(kOdd, sizeof kOdd - 1));
    EXPECT_EQ(doc.ReadString("a]b", "k", ""), "v");
    EXPECT_EQ(doc.ReadString("S", "", "d"), "d");
    EXPECT_EQ(doc.Serialize().substr(0, 3), "\xEF\xBB\xBF") << "a byte-order mark is kept";
}

// A file saved with CR-only line ends, as some editors write it.
constexpr char kCrOnlyFile[] = "[section1]\rname1=val1\rname2=\"val2\"\rname3\rname4=a\r[section2]\r";

TEST(IniDocument, LinesEndingInALoneCrReadLikeAnyOther)
{
    IniDocument doc = IniDocument::Parse(kCrOnlyFile);
    EXPECT_EQ(doc.ReadString("section1", "name1", "default"), "val1");
    EXPECT_EQ(doc.ReadString("section1", "name2", "default"), "val2");
    EXPECT_EQ(doc.ReadString("section1", "name3", "default"), "default") << "a line without '=' is no key";
    EXPECT_EQ(doc.ReadString("section1", "name4", "default"), "a");
    EXPECT_EQ(doc.KeysOf("section1"), (std::vector<std::string_view>{"name1", "name2", "name4"}));

    // Ends of every kind in one file, and a CR inside what looks like one value.
    IniDocument mixed = IniDocument::Parse("[s]\rk=v\r\nk2=w\nk3=z\rk4=q\r\rk5=a\rb=c");
    EXPECT_EQ(mixed.ReadString("s", "k", ""), "v");
    EXPECT_EQ(mixed.ReadString("s", "k2", ""), "w");
    EXPECT_EQ(mixed.ReadString("s", "k3", ""), "z");
    EXPECT_EQ(mixed.ReadString("s", "k4", ""), "q");
    EXPECT_EQ(mixed.ReadString("s", "k5", ""), "a");
    EXPECT_EQ(mixed.ReadString("s", "b", ""), "c");
    EXPECT_EQ(mixed.Serialize(), "[s]\r\nk=v\r\nk2=w\r\nk3=z\r\nk4=q\r\n\r\nk5=a\r\nb=c\r\n");
}

TEST(IniFile, WritingToACrOnlyFileUpdatesItsSectionInsteadOfAddingAnother)
{
    TempFolder dir;
    WriteBytes(dir / "cr.ini", kCrOnlyFile);
    IniFile file(dir / "cr.ini");
    ASSERT_TRUE(file.WriteString("section1", "name1", "new"));
    ASSERT_TRUE(file.WriteString("SECTION1", "name5", "val5"));
    EXPECT_EQ(ReadBytes(dir / "cr.ini"),
              "[section1]\r\nname1=new\r\nname2=\"val2\"\r\nname3\r\nname4=a\r\nname5=val5\r\n[section2]\r\n");
    EXPECT_EQ(file.ReadString("section1", "name4", ""), "a");
}

TEST(IniDocument, DefaultComesBackWithoutItsTrailingSpaces)
{
    IniDocument doc = IniDocument::Parse("[section1]\r\nname1=val1  \r\n");
    EXPECT_EQ(doc.ReadString("section1", "missing", "default  "), "default");
    EXPECT_EQ(doc.ReadString("section1", "missing", "one two  "), "one two") << "inner blanks stay";
    EXPECT_EQ(doc.ReadString("section1", "missing", "one two"), "one two");
    EXPECT_EQ(doc.ReadString("section1", "", "default  "), "default") << "an empty key name is missing too";
    EXPECT_EQ(doc.ReadString("", "name1", "default  "), "default");
    EXPECT_EQ(doc.ReadString("section1", "missing", "  lead"), "  lead") << "leading blanks stay";
    EXPECT_EQ(doc.ReadString("section1", "missing", "tab\t"), "tab\t") << "only spaces are trailing blanks";
    EXPECT_EQ(doc.ReadString("section1", "missing", "   "), " ") << "a default of spaces keeps one";
    EXPECT_EQ(doc.ReadString("section1", "missing", ""), "");
    EXPECT_EQ(doc.ReadString("section1", "name1", "default  "), "val1") << "a stored value ignores the default";
    EXPECT_EQ(doc.ReadString("section1", "missing", std::string(2045, 'x') + "     "), std::string(2045, 'x'))
        << "trimmed before the cut to 2047 characters";
}

TEST(IniFile, MissingFileReadsEmptyAndWritesCreateIt)
{
    TempFolder dir;
    IniFile file(dir / "new.ini");
    EXPECT_EQ(file.ReadInt("S", "k", -1), -1);
    EXPECT_EQ(file.ReadString("S", "k", "def"), "def");
    unsigned char b[2];
    EXPECT_FALSE(file.ReadStruct("S", "k", b, 2));

    ASSERT_TRUE(file.WriteInt("S", "k", -5));
    ASSERT_TRUE(file.WriteString("T", "name", "x"));
    EXPECT_EQ(ReadBytes(dir / "new.ini"), "[S]\r\nk=-5\r\n[T]\r\nname=x\r\n");
    EXPECT_EQ(file.ReadInt("s", "K", 0), -5);
}

TEST(IniFile, WriteIntoAMissingFolderFailsAndLeavesNothing)
{
    TempFolder dir;
    IniFile file(dir / "no\\such\\folder.ini");
    EXPECT_FALSE(file.WriteInt("S", "k", 1));
    EXPECT_EQ(file.ReadInt("S", "k", -1), -1);
}

} // namespace
