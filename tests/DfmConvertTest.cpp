#include "tools/DfmFile.h"

#include "forms/ObjectReader.h"
#include "tests/FormBytes.h"
#include "tests/support/TreeDump.h"
#include "tools/FormFormatError.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

using namespace pembrill;

namespace {

std::string Convert(const std::string& form) {
    std::ostringstream text;
    ConvertForm(form, text);
    return text.str();
}

// The lines of a text form, each ended by CR LF.
std::string Lines(std::initializer_list<std::string> lines) {
    std::string text;
    for (const std::string& line : lines)
        text.append(line).append("\r\n");
    return text;
}

std::string Repeated(std::string_view text, int count) {
    std::string result;
    for (int i = 0; i < count; ++i)
        result += text;
    return result;
}

// A form whose one property P holds `value`.
FormBytes OneProperty(const FormBytes& value) {
    return FormBytes().Signature().Object("TF", "F").Property("P").Raw(value.Bytes()).End().End();
}

// The text of P's value, the lines around it cut off.
std::string ValueText(const FormBytes& value) {
    const std::string text = Convert(OneProperty(value).Bytes());
    const std::string head = "object F: TF\r\n  P = ";
    const std::string tail = "\r\nend\r\n";
    EXPECT_EQ(text.substr(0, head.size()), head);
    return text.substr(head.size(), text.size() - head.size() - tail.size());
}

std::string ErrorOf(const std::string& form) {
    try {
        Convert(form);
    } catch (const FormFormatError& error) {
        return error.what();
    }
    return "no error";
}

// One form that holds every kind of value.
std::string EveryValueType() {
    FormBytes form;
    form.Signature().Object("TForm1", "Form1");
    form.Property("A").Int8(-1);
    form.Property("B").Int16(300);
    form.Property("C").Int32(1 << 20);
    form.Property("D").Int64(1LL << 40);
    form.Property("E").Extended(2.5);
    form.Property("F").Single(1.5f);
    form.Property("G").Currency(15000);
    form.Property("H").Date(2.25);
    form.Property("I").Double(0.5);
    form.Property("J").String("It's");
    form.Property("K").LString(std::string(70, 'x'));
    form.Property("L").WString(u"\u20AC");
    form.Property("M").Utf8String("caf\xC3\xA9");
    form.Property("N").Ident("clRed");
    form.Property("O").True();
    form.Property("Q").False();
    form.Property("R").Nil();
    form.Property("S").Set({"a", "b"});
    form.Property("T").Binary("\x01\x02");
    form.Property("U").List().Int8(1).List().End().End();
    form.Property("V").Collection().Int8(3).List().Property("W").Int8(0).End().End();
    form.End();
    form.Prefix(2).Int8(0).Object("TLabel", "Label1").End().End();
    return form.End().Bytes();
}

class TemporaryDirectory {
public:
    TemporaryDirectory() {
        path_ = std::filesystem::temp_directory_path() /
                ("DfmConvertTest-" + std::to_string(std::random_device()()));
        std::filesystem::create_directories(path_);
    }
    ~TemporaryDirectory() { std::filesystem::remove_all(path_); }
    std::string operator/(const std::string& name) const { return (path_ / name).string(); }
    std::size_t EntryCount() const {
        return std::distance(std::filesystem::directory_iterator(path_), {});
    }
    const std::filesystem::path& Path() const { return path_; }

private:
    std::filesystem::path path_;
};

void WriteFile(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

} // namespace

TEST(DfmConvertTest, BinaryFormGivesTheTextFormOfTheSameForm) {
    const std::string text = Lines({"object Form1: TForm1",
                                    "  A = -1",
                                    "  B = 300",
                                    "  C = 1048576",
                                    "  D = 1099511627776",
                                    "  E = 2.5",
                                    "  F = 1.5s",
                                    "  G = 15000c",
                                    "  H = 2.25d",
                                    "  I = 0.5",
                                    "  J = 'It'#39's'",
                                    "  K = ",
                                    "    '" + std::string(64, 'x') + "' +",
                                    "    'xxxxxx'",
                                    "  L = #8364",
                                    "  M = 'caf'#233",
                                    "  N = clRed",
                                    "  O = True",
                                    "  Q = False",
                                    "  R = nil",
                                    "  S = [a, b]",
                                    "  T = {0102}",
                                    "  U = (",
                                    "    1",
                                    "    ())",
                                    "  V = <",
                                    "    item [3]",
                                    "      W = 0",
                                    "    end>",
                                    "  object Label1: TLabel [0]",
                                    "  end",
                                    "end"});
    EXPECT_EQ(Convert(EveryValueType()), text);
    EXPECT_EQ(Convert(text), text);
}

TEST(DfmConvertTest, ObjectLinesShowNamesFlagsAndChildPositions) {
    FormBytes form;
    form.Signature().Object("TForm1", "Form1").Property("Left").Int8(46).End();
    form.Prefix(2).Int8(0).Object("TLabel", "Label1").End().End();
    form.Prefix(1).Object("TPanel", "Panel1").End();
    form.Prefix(4 | 2).Int16(300).Object("TFrame1", "Frame1").End();
    form.Object("TMenuItem", "").End().End();
    form.End().End().End();
    EXPECT_EQ(Convert(form.Bytes()),
              Lines({"object Form1: TForm1", "  Left = 46", "  object Label1: TLabel [0]", "  end",
                     "  inherited Panel1: TPanel", "    inline Frame1: TFrame1 [300]",
                     "      object TMenuItem", "      end", "    end", "  end", "end"}));
}

TEST(DfmConvertTest, ScalarValues) {
    EXPECT_EQ(ValueText(FormBytes().Int8(-128)), "-128");
    EXPECT_EQ(ValueText(FormBytes().Int16(-32768)), "-32768");
    EXPECT_EQ(ValueText(FormBytes().Int32(2147483647)), "2147483647");
    EXPECT_EQ(ValueText(FormBytes().Int64(-9223372036854775807LL - 1)), "-9223372036854775808");
    EXPECT_EQ(ValueText(FormBytes().Ident("clBtnFace")), "clBtnFace");
    EXPECT_EQ(ValueText(FormBytes().True()), "True");
    EXPECT_EQ(ValueText(FormBytes().False()), "False");
    EXPECT_EQ(ValueText(FormBytes().Nil()), "nil");
    EXPECT_EQ(ValueText(FormBytes().End()), "Null");
    EXPECT_EQ(ValueText(FormBytes().Set({})), "[]");
    EXPECT_EQ(ValueText(FormBytes().Set({"fsBold", "fsItalic"})), "[fsBold, fsItalic]");
}

TEST(DfmConvertTest, FloatsAsFloatToStrWritesThem) {
    const std::pair<double, const char*> extended[] = {
        {1.5, "1.5"},
        {0.0, "0"},
        {-0.0, "0"},
        {100, "100"},
        {0.1, "0.1"},
        {1.0 / 3, "0.333333333333333"},
        {-2.0 / 3, "-0.666666666666667"},
        {999999999999999, "999999999999999"},
        {1e15, "1E15"},
        {123456789012345678901.0, "1.23456789012346E20"},
        {0.0001, "0.0001"},
        {0.00001, "0.00001"},
        {0.0000125, "0.0000125"},
        {9.9999e-6, "9.9999E-6"},
        {1.5e-7, "1.5E-7"},
        {-2.5e300, "-2.5E300"},
        {1000000000000005, "1.00000000000001E15"}, // the 15th digit rounds half up
    };
    for (const auto& [value, text] : extended)
        EXPECT_EQ(ValueText(FormBytes().Extended(value)), text) << value;

    // Beyond a double's range, and digits rounded to 18 before 15:
    // 1236397916105104998 -> 123639791610510500 -> 1.23639791610511E18.
    EXPECT_EQ(ValueText(FormBytes().Extended(0xFFFFFFFFFFFFFFFF, 0x7FFE)), "1.18973149535723E4932");
    EXPECT_EQ(ValueText(FormBytes().Extended(1, 0)), "3.64519953188247E-4951");
    EXPECT_EQ(ValueText(FormBytes().Extended(9891183328840839984u, 16383 + 60)),
              "1.23639791610511E18");
    EXPECT_EQ(ValueText(FormBytes().Extended(1ULL << 63, 0x7FFF)), "INF");
    EXPECT_EQ(ValueText(FormBytes().Extended(1ULL << 63, 0xFFFF)), "-INF");
    EXPECT_EQ(ValueText(FormBytes().Extended(3ULL << 62, 0x7FFF)), "NAN");

    EXPECT_EQ(ValueText(FormBytes().Single(0.1f)), "0.100000001490116s");
    EXPECT_EQ(ValueText(FormBytes().Single(-1.5f)), "-1.5s");
    EXPECT_EQ(ValueText(FormBytes().Double(0.1)), "0.1");
    EXPECT_EQ(ValueText(FormBytes().Date(45000.5)), "45000.5d");
    // A currency's text is its count of ten-thousandths.
    EXPECT_EQ(ValueText(FormBytes().Currency(15000)), "15000c");
    EXPECT_EQ(ValueText(FormBytes().Currency(-123456789012345678)), "-1.23456789012346E17c");
}

TEST(DfmConvertTest, StringsQuotePrintableRunsAndCodeTheRest) {
    EXPECT_EQ(ValueText(FormBytes().String("")), "''");
    EXPECT_EQ(ValueText(FormBytes().String("It's\r\ncaf\xE9\x7F\t")),
              "'It'#39's'#13#10'caf'#233#127#9");
    EXPECT_EQ(ValueText(FormBytes().LString("'quoted'")), "#39'quoted'#39");
    EXPECT_EQ(ValueText(FormBytes().WString(u"\u20ACuro \U0001F600")), "#8364'uro '#55357#56832");
    EXPECT_EQ(ValueText(FormBytes().Utf8String("\xE2\x82\xAC 5")), "#8364' 5'");
    EXPECT_EQ(ValueText(FormBytes().Utf8String("")), "''");
}

TEST(DfmConvertTest, LongStringsGoBelowInChunksOf64Characters) {
    const std::string sixtyFour(64, 'a');
    EXPECT_EQ(ValueText(FormBytes().String(sixtyFour)), "'" + sixtyFour + "'");
    EXPECT_EQ(ValueText(FormBytes().String(sixtyFour + "b")),
              "\r\n    '" + sixtyFour + "' +\r\n    'b'");
    // Coded characters count as one; a chunk may start or end with one.
    const std::string value = std::string(63, 'a') + "\r" + std::string(64, 'c') + "\n";
    EXPECT_EQ(ValueText(FormBytes().LString(value)), "\r\n    '" + std::string(63, 'a') +
                                                         "'#13 +\r\n    '" + std::string(64, 'c') +
                                                         "' +\r\n    #10");
    EXPECT_EQ(ValueText(FormBytes().WString(std::u16string(65, u'\u00E9'))),
              "\r\n    " + Repeated("#233", 64) + " +\r\n    #233");
}

TEST(DfmConvertTest, ListsAndCollections) {
    EXPECT_EQ(ValueText(FormBytes().List().String("One").String("Two").End()),
              "(\r\n    'One'\r\n    'Two')");
    EXPECT_EQ(ValueText(FormBytes().List().End()), "()");
    EXPECT_EQ(ValueText(FormBytes().List().List().Int8(1).End().List().End().End()),
              "(\r\n    (\r\n      1)\r\n    ())");
    // A long string in a list starts on a line of its own below its item's.
    EXPECT_EQ(ValueText(FormBytes().List().String(std::string(65, 'x')).End()),
              "(\r\n    \r\n      '" + std::string(64, 'x') + "' +\r\n      'x')");

    EXPECT_EQ(ValueText(FormBytes().Collection().End()), "<>");
    FormBytes items;
    items.Collection();
    items.List().Property("Width").Int8(64).Property("Title").String("A").End();
    items.Int8(2).List().End();
    items.Int16(300).List().Property("Sub").Collection().List().End().End().End();
    EXPECT_EQ(ValueText(items.End()), "<\r\n"
                                      "    item\r\n"
                                      "      Width = 64\r\n"
                                      "      Title = 'A'\r\n"
                                      "    end\r\n"
                                      "    item [2]\r\n"
                                      "    end\r\n"
                                      "    item [300]\r\n"
                                      "      Sub = <\r\n"
                                      "        item\r\n"
                                      "        end>\r\n"
                                      "    end>");
}

// The converter's text of collections, frames and lists reads back whole:
// one tree item per object, each property line with its own object.
TEST(DfmConvertTest, TextOfCollectionsFramesAndListsReadsBackWhole) {
    FormBytes form;
    form.Signature().Object("TForm1", "Form1").Property("Caption").String("end").End();
    form.Object("TStatusBar", "StatusBar1").Property("Panels").Collection();
    form.List().Property("Width").Int8(60).End();
    form.List().Property("Text").String("end").Property("Width").Int8(50).End().End();
    form.Property("SimplePanel").False().End().End();
    form.Object("TListView", "ListView1").Property("Columns").Collection().Int8(0).List();
    form.Property("Caption").String("object").Property("Sub").Collection().List();
    form.Property("Items").Collection().End().End().End().End().End();
    form.Property("Tag").Int8(1).End().End();
    form.Prefix(4).Object("TFrame1", "Frame11").Property("Left").Int8(8).End();
    form.Prefix(1).Object("TLabel", "Label1").Property("Caption").String("Name").End().End();
    form.Object("TListBox", "ListBox1").Property("Items.Strings").List();
    form.String("One").String("end").String(std::string(70, 'x')).End().End().End();
    form.End();
    form.Object("TButton", "Button1").End().End();
    form.End();

    const TemporaryDirectory dir;
    WriteFile(dir / "Unit1.txt", Convert(form.Bytes()));
    ObjectTree tree;
    ReadTextFormFile(dir / "Unit1.txt", tree);

    EXPECT_EQ(test::TreeDump(tree), "1 1 Form1:  TForm1\n"
                                    "\tCaption = 'end'\n"
                                    "2 2 StatusBar1:  TStatusBar\n"
                                    "\tPanels = <\n"
                                    "\titem\n"
                                    "\tWidth = 60\n"
                                    "\tend\n"
                                    "\titem\n"
                                    "\tText = 'end'\n"
                                    "\tWidth = 50\n"
                                    "\tend >\n"
                                    "\tSimplePanel = False\n"
                                    "3 2 ListView1:  TListView\n"
                                    "\tColumns = <\n"
                                    "\titem [0]\n"
                                    "\tCaption = 'object'\n"
                                    "\tSub = <\n"
                                    "\titem\n"
                                    "\tItems = <>\n"
                                    "\tend >\n"
                                    "\tend >\n"
                                    "\tTag = 1\n"
                                    "4 2 Frame11:  TFrame1\n"
                                    "\tLeft = 8\n"
                                    "5 3 Label1:  TLabel\n"
                                    "\tCaption = 'Name'\n"
                                    "6 3 ListBox1:  TListBox\n"
                                    "\tItems .Strings = (\n"
                                    "\tOne\n"
                                    "\tend\n"
                                    "\t" +
                                        std::string(64, 'x') +
                                        " +\n"
                                        "\txxxxxx )\n"
                                        "7 2 Button1:  TButton\n");
}

TEST(DfmConvertTest, BinaryDataUpTo32BytesStaysOnItsLine) {
    EXPECT_EQ(ValueText(FormBytes().Binary("")), "{}");
    EXPECT_EQ(ValueText(FormBytes().Binary(std::string("\x00\xFF\x1A", 3))), "{00FF1A}");
    EXPECT_EQ(ValueText(FormBytes().Binary(std::string(32, '\xAB'))),
              "{" + Repeated("AB", 32) + "}");
    EXPECT_EQ(ValueText(FormBytes().Binary(std::string(65, '\x0C'))),
              "{\r\n    " + Repeated("0C", 32) + "\r\n    " + Repeated("0C", 32) + "\r\n    0C}");
}

TEST(DfmConvertTest, ResourceHeaderInFrontOfTheStreamIsSkipped) {
    const std::string stream = OneProperty(FormBytes().Int8(1)).Bytes();
    const std::string size = FormBytes().Little(stream.size(), 4).Bytes();
    FormBytes named;
    named.Byte(0xFF).Little(10, 2).Raw(std::string("TF\0", 3)).Little(0x1030, 2);
    named.Raw(size).Raw(stream);
    FormBytes ordinal;
    ordinal.Byte(0xFF).Little(10, 2).Byte(0xFF).Little(7, 2).Little(0x1030, 2);
    ordinal.Raw(size).Raw(stream);
    EXPECT_EQ(Convert(named.Bytes()), Convert(stream));
    EXPECT_EQ(Convert(ordinal.Bytes()), Convert(stream));

    FormBytes bitmap;
    bitmap.Byte(0xFF).Little(2, 2).Raw(named.Bytes().substr(3));
    EXPECT_EQ(ErrorOf(bitmap.Bytes()), "resource type 2 is not form data at offset 1");
}

TEST(DfmConvertTest, TextFormsAreCopiedWithoutTheirByteOrderMark) {
    const std::string text = "object Form1: TForm1\n  Caption = 'caf\xC3\xA9'\nend";
    EXPECT_EQ(Convert(text), text);
    EXPECT_EQ(Convert("\xEF\xBB\xBF" + text), text);
    EXPECT_EQ(Convert("\r\n  INHERITED Form2: TForm2\r\nend\r\n"),
              "\r\n  INHERITED Form2: TForm2\r\nend\r\n");
    EXPECT_EQ(ErrorOf(""), "the file is empty");
    EXPECT_EQ(ErrorOf("objection"), "not a form file (neither a binary nor a text form)");
    EXPECT_EQ(ErrorOf("\xEF\xBB\xBFTPF0"), "not a form file (neither a binary nor a text form)");
}

TEST(DfmConvertTest, EveryTruncationOfAFormIsAnError) {
    const std::string form = EveryValueType();
    ASSERT_NO_THROW(Convert(form));
    for (std::size_t size = 0; size < form.size(); ++size)
        EXPECT_THROW(Convert(form.substr(0, size)), FormFormatError) << size;
}

TEST(DfmConvertTest, DamagedAndRandomBytesGiveAnErrorOrText) {
    std::mt19937 random(20240601);
    const std::string form = EveryValueType();
    for (int round = 0; round < 3000; ++round) {
        std::string damaged = form;
        for (int flips = 1 + round % 4; flips > 0; --flips)
            damaged[4 + random() % (damaged.size() - 4)] = static_cast<char>(random());
        std::string noise = "TPF0";
        for (int i = random() % 200; i > 0; --i)
            noise += static_cast<char>(random() % (round % 2 ? 256 : 24));
        for (const std::string& bytes : {damaged, noise}) {
            try {
                Convert(bytes);
            } catch (const FormFormatError&) {
            }
        }
    }
}

TEST(DfmConvertTest, HostileLengthsAndNestingAreRefused) {
    const std::string huge = "\xFF\xFF\xFF\xFF";
    for (std::uint8_t type : {10, 12, 18, 20})
        EXPECT_EQ(ErrorOf(OneProperty(FormBytes().Byte(type).Raw(huge)).Bytes()).substr(0, 12),
                  "a length of ");
    EXPECT_EQ(ErrorOf(OneProperty(FormBytes().Byte(18).Little(0x80000000, 4)).Bytes()),
              "a length of 4294967296 bytes runs past the end of the file at offset 16");
    EXPECT_EQ(ErrorOf(OneProperty(FormBytes().Byte(22)).Bytes()),
              "unknown value type 22 at offset 11");
    EXPECT_EQ(ErrorOf(OneProperty(FormBytes().Utf8String("\xC0\xAF")).Bytes()),
              "a UTF-8 string that is not valid UTF-8 at offset 12");
    EXPECT_EQ(ErrorOf(OneProperty(FormBytes().Collection().String("x")).Bytes()),
              "a collection item without a property list at offset 12");

    FormBytes lists;
    FormBytes objects;
    objects.Signature();
    for (int i = 0; i < 100000; ++i) {
        lists.List();
        objects.Object("T", "").End();
    }
    EXPECT_EQ(ErrorOf(OneProperty(lists).Bytes()).substr(0, 31), "nesting deeper than 256 levels ");
    EXPECT_EQ(ErrorOf(objects.Bytes()).substr(0, 31), "nesting deeper than 256 levels ");
}

TEST(DfmConvertTest, TextFileNameIsTheBaseNameWithTxt) {
    EXPECT_EQ(TextFileNameFor("Unit1.dfm"), "Unit1.txt");
    EXPECT_EQ(TextFileNameFor("forms/Main.Form.dfm"), "Main.Form.txt");
    EXPECT_EQ(TextFileNameFor("Unit1"), "Unit1.txt");
}

TEST(DfmConvertTest, FailedConversionLeavesTheOldTextFile) {
    TemporaryDirectory directory;
    const std::string form = directory / "Unit1.dfm";
    const std::string text = directory / "Unit1.txt";
    WriteFile(text, "old text");
    WriteFile(form, EveryValueType().substr(0, 100));
    EXPECT_THROW(ConvertDfmFile(form, text), FormFormatError);
    EXPECT_THROW(ConvertDfmFile(directory / "Missing.dfm", text), std::runtime_error);
    EXPECT_EQ(ReadFile(text), "old text");
    EXPECT_EQ(directory.EntryCount(), 2u);

    WriteFile(form, EveryValueType());
    ConvertDfmFile(form, text);
    EXPECT_EQ(ReadFile(text), Convert(EveryValueType()));
    EXPECT_EQ(directory.EntryCount(), 2u);
}

TEST(DfmConvertTest, ProgramWritesTheTextFormIntoTheWorkingDirectory) {
    TemporaryDirectory directory;
    std::filesystem::create_directory(directory.Path() / "forms");
    const std::string form = OneProperty(FormBytes().String("x")).Bytes();
    WriteFile(directory / "forms/Unit1.dfm", form);
    WriteFile(directory / "forms/Bad.dfm", form.substr(0, 9));
    WriteFile(directory / "Bad.txt", "kept");
#ifdef _WIN32
    const std::string run =
        "cd /d \"" + directory.Path().string() + "\" && \"" +
        std::filesystem::absolute(DFMCONVERT_PROGRAM).make_preferred().string() + "\" ";
    const std::string lineEnd = "\r\n"; // standard error is a text stream there
#else
    const std::string run = "cd '" + directory.Path().string() + "' && '" DFMCONVERT_PROGRAM "' ";
    const std::string lineEnd = "\n";
#endif

    EXPECT_EQ(std::system((run + "forms/Unit1.dfm").c_str()), 0);
    EXPECT_EQ(ReadFile(directory / "Unit1.txt"), "object F: TF\r\n  P = 'x'\r\nend\r\n");

    EXPECT_NE(std::system((run + "forms/Bad.dfm 2>error.log").c_str()), 0);
    EXPECT_EQ(ReadFile(directory / "Bad.txt"), "kept");
    EXPECT_EQ(ReadFile(directory / "error.log"),
              "dfmconvert: forms/Bad.dfm: the file ends unexpectedly at offset 9" + lineEnd);
}
