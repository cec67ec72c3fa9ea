// SPDX-License-Identifier: MIT
// Tests of the key/value text store: file layouts, lookups, conversions, loading and safe saving.
#include "config/init_file.h"

#include "support/temp_folder.h"

#include <gtest/gtest.h>

#include <sys/resource.h>

#include <csignal>
#include <string>
#include <vector>

namespace config {
namespace {

using support::readBytes;
using support::TempFolder;

constexpr std::string_view kDeclarationLine = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n";

CInitFile loaded(Dialect dialect, std::string_view text)
{
    CInitFile store(dialect);
    EXPECT_TRUE(store.loadFromBytes(text)) << text;
    return store;
}

// ---- file layouts -----------------------------------------------------------------------------

TEST(InitFileLayout, FreshXmlStoreWithOneBoolIsExactlyFourLines)
{
    TempFolder folder;
    CInitFile store(Dialect::Xml);
    store.WriteBool("AddSpaces", true);
    ASSERT_TRUE(store.Save(folder.file("Tervalon.ini")));
    EXPECT_EQ(readBytes(folder.file("Tervalon.ini")), "<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n"
                                                      "<InitFile>\r\n"
                                                      "  <AddSpaces>1</AddSpaces>\r\n"
                                                      "</InitFile>\r\n");
}

TEST(InitFileLayout, WrittenBytesPerDialect)
{
    struct Row {
        const char* name;
        Dialect dialect;
        void (*write)(CInitFile&);
        std::string expected;
    };
    const std::vector<Row> rows = {
        {"empty xml store: declaration, root tag, closing tag", Dialect::Xml, [](CInitFile&) {},
         std::string(kDeclarationLine) + "<InitFile>\r\n</InitFile>\r\n"},
        {"empty plain store: nothing at all", Dialect::Plain, [](CInitFile&) {}, ""},
        {"plain entries have no indent", Dialect::Plain,
         [](CInitFile& s) {
             s.WriteString("LanguageName", "Deutsch");
             s.WriteInt("Count", -42);
             s.WriteBool("On", false);
         },
         "LanguageName=\"Deutsch\"\r\nCount=\"-42\"\r\nOn=\"0\"\r\n"},
        {"a key written twice gives two lines", Dialect::Xml,
         [](CInitFile& s) {
             s.WriteString("Recent", "a");
             s.WriteString("Recent", "b");
         },
         std::string(kDeclarationLine) +
             "<InitFile>\r\n  <Recent>a</Recent>\r\n  <Recent>b</Recent>\r\n</InitFile>\r\n"},
        {"empty value and extreme integers", Dialect::Xml,
         [](CInitFile& s) {
             s.WriteString("WinPos", "");
             s.WriteInt("Low", -2147483647 - 1);
             s.WriteInt("High", 2147483647);
         },
         std::string(kDeclarationLine) +
             "<InitFile>\r\n  <WinPos></WinPos>\r\n  <Low>-2147483648</Low>\r\n  <High>2147483647</High>\r\n"
             "</InitFile>\r\n"},
    };
    for (const Row& row : rows) {
        CInitFile store(row.dialect);
        row.write(store);
        EXPECT_EQ(store.contents(), row.expected) << row.name;
    }
}

TEST(InitFileLayout, ClearKeepsRootNameAndEmptiesBody)
{
    CInitFile store = loaded(Dialect::Xml, "<?xml?><Config>\r\n  <A>1</A>\r\n</Config>");
    store.Clear();
    EXPECT_EQ(store.ReadString("A", "none"), "none");
    EXPECT_EQ(store.readPosition(), 0u);
    EXPECT_EQ(store.contents(), std::string(kDeclarationLine) + "<Config>\r\n</Config>\r\n");
}

// ---- parsing ----------------------------------------------------------------------------------

TEST(InitFileParse, XmlDialect)
{
    struct Row {
        const char* name;
        std::string text;
        bool loads;
        std::string rootName;
        std::string body; // the body after the load (it starts as "  <Old>1</Old>\r\n")
    };
    const std::string old = "  <Old>1</Old>\r\n";
    const std::vector<Row> rows = {
        {"usual file", std::string(kDeclarationLine) + "<InitFile>\r\n  <A>1</A>\r\n</InitFile>\r\n", true,
         "InitFile", "  <A>1</A>\r\n"},
        {"only LF after the root tag", "<?xml?>\n<InitFile>\n<A>1</A>\n</InitFile>", true, "InitFile",
         "<A>1</A>\n"},
        {"only one CR is skipped", "<?xml?><InitFile>\r\r\n<A>1</A></InitFile>", true, "InitFile",
         "\r\n<A>1</A>"},
        {"text before the declaration end and after the closing tag is ignored",
         "\xEF\xBB\xBFjunk <x> ?>  <InitFile><A>1</A></InitFile> trailing <B>2</B>", true, "InitFile",
         "<A>1</A>"},
        {"another root name", "<?xml?>\r\n<Config>\r\n<A>1</A>\r\n</Config>\r\n", true, "Config",
         "<A>1</A>\r\n"},
        {"empty root name", "?><><A>1</A></>", true, "", "<A>1</A>"},
        {"no declaration end: root name reset", "<InitFile><A>1</A></InitFile>", false, "InitFile", old},
        {"no tag after the declaration", "<?xml?> plain text", false, "InitFile", old},
        {"tag never closed with >", "<?xml?> <InitFile", false, "InitFile", old},
        {"no closing root tag: root name kept as read", "<?xml?><Config><A>1</A></InitFile>", false, "Config",
         old},
    };
    for (const Row& row : rows) {
        CInitFile store(Dialect::Xml);
        store.WriteString("Old", "1");
        EXPECT_EQ(store.loadFromBytes(row.text), row.loads) << row.name;
        EXPECT_EQ(store.rootName(), row.rootName) << row.name;
        EXPECT_EQ(store.body(), row.body) << row.name;
        // Header and footer always follow the root name.
        EXPECT_EQ(store.contents(), std::string(kDeclarationLine) + "<" + row.rootName + ">\r\n" + row.body +
                                        "</" + row.rootName + ">\r\n")
            << row.name;
    }
}

TEST(InitFileParse, PlainDialectTakesTheWholeTextUpToTheFirstNul)
{
    CInitFile store(Dialect::Plain);
    ASSERT_TRUE(store.loadFromBytes(std::string_view("A=\"1\"\r\nB=\"2\"\0C=\"3\"", 19)));
    EXPECT_EQ(store.body(), "A=\"1\"\r\nB=\"2\"");
    EXPECT_EQ(store.ReadString("C", "none"), "none");
    EXPECT_FALSE(store.loadFromBytes(""));
    EXPECT_EQ(store.body(), "A=\"1\"\r\nB=\"2\"") << "an empty text changes nothing";
}

TEST(InitFileParse, RootElementNamedConfigIsKeptOnSave)
{
    TempFolder folder;
    const std::string original =
        std::string(kDeclarationLine) + "<Config>\r\n  <AddSpaces>0</AddSpaces>\r\n</Config>\r\n";
    const auto path = folder.write("Tervalon.ini", original);
    CInitFile store(Dialect::Xml);
    ASSERT_TRUE(store.Load(path));
    EXPECT_EQ(store.rootName(), "Config");
    EXPECT_FALSE(store.ReadBool("AddSpaces", true));
    ASSERT_TRUE(store.Save(folder.file("again.ini")));
    EXPECT_EQ(readBytes(folder.file("again.ini")), original);
}

// ---- lookups ----------------------------------------------------------------------------------

TEST(InitFileLookup, RepeatedKeysWalkWithReadNext)
{
    CInitFile store = loaded(Dialect::Plain, "Recent=\"1\"\r\nOther=\"x\"\r\nRecent=\"2\"\r\n");
    EXPECT_EQ(store.ReadString("Recent", "none"), "1");
    EXPECT_EQ(store.ReadNext("Recent"), "2");
    EXPECT_EQ(store.ReadNext("Recent"), "");
    EXPECT_EQ(store.ReadNext("Recent"), "") << "stays at the end";
    EXPECT_EQ(store.ReadString("Recent", "none"), "1") << "ReadString searches from the start again";
}

TEST(InitFileLookup, EmptyValueCountsAsMissingAndEndsAWalk)
{
    CInitFile store = loaded(Dialect::Xml, "<?xml?><InitFile><A>1</A><A></A><A>3</A><B></B></InitFile>");
    std::vector<std::string> walked;
    for (std::string value = store.ReadString("A", ""); !value.empty(); value = store.ReadNext("A"))
        walked.push_back(value);
    EXPECT_EQ(walked, std::vector<std::string>{"1"});
    EXPECT_EQ(store.ReadString("B", "dflt"), "dflt");
    EXPECT_EQ(store.ReadInt("B", 17), 17);
    EXPECT_TRUE(store.ReadBool("B", true));
    EXPECT_FALSE(store.ReadBool("B", false));
}

TEST(InitFileLookup, ReadPositionMovesOnlyWhenAnEntryIsFound)
{
    CInitFile store = loaded(Dialect::Plain, "A=\"1\"B=\"2\"A=\"3\"C=\"open");
    EXPECT_EQ(store.ReadString("B", ""), "2");
    EXPECT_EQ(store.readPosition(), 10u);
    EXPECT_EQ(store.ReadString("C", "none"), "none") << "no closing quote";
    EXPECT_EQ(store.ReadString("Z", "none"), "none");
    EXPECT_EQ(store.readPosition(), 10u);
    EXPECT_EQ(store.ReadNext("A"), "3") << "ReadNext continues after the last entry found, whatever its key";
}

TEST(InitFileLookup, ByteExactSubstringSearch)
{
    struct Row {
        const char* name;
        Dialect dialect;
        std::string text;
        std::string key;
        std::string expected; // the default is "<default>"
    };
    const std::vector<Row> rows = {
        {"plain key matches the tail of a longer key", Dialect::Plain,
         "LanguageName=\"Deutsch\"\r\nName=\"x\"\r\n", "Name", "Deutsch"},
        {"xml key does not", Dialect::Xml, "?><R><LanguageName>Deutsch</LanguageName><Name>x</Name></R>",
         "Name", "x"},
        {"blanks around = make no entry", Dialect::Plain, "Key = \"1\"\r\n", "Key", "<default>"},
        {"keys are case-sensitive", Dialect::Plain, "key=\"1\"\r\n", "Key", "<default>"},
        {"lines mean nothing: entries may share a line", Dialect::Plain, "A=\"1\" Key=\"2\"", "Key", "2"},
        {"line breaks inside a value stay", Dialect::Plain, "Text=\"a\r\nb\"\r\n", "Text", "a\r\nb"},
        {"tab inside a value stays", Dialect::Plain, "Menu=\"Exit\tCtrl+Q\"", "Menu", "Exit\tCtrl+Q"},
        {"value cut at its closing text", Dialect::Xml, "?><R><A>x</A>y</A></R>", "A", "x"},
        {"plain value cut at the first quote", Dialect::Plain, "A=\"say \"hi\"\"", "A", "say "},
        {"comments and sections are skipped", Dialect::Plain, "; note\r\n[Section]\r\nA=\"1\"", "A", "1"},
        {"utf-8 bytes pass unchanged", Dialect::Plain, "A=\"\xC3\xA4\xE2\x82\xAC\"", "A",
         "\xC3\xA4\xE2\x82\xAC"},
    };
    for (const Row& row : rows) {
        CInitFile store = loaded(row.dialect, row.text);
        EXPECT_EQ(store.ReadString(row.key, "<default>"), row.expected) << row.name;
    }
}

TEST(InitFileLookup, ReadIntConvertsLikeStrtol)
{
    struct Row {
        const char* value;
        std::int32_t expected; // default 99
    };
    const std::vector<Row> rows = {
        {"42", 42},
        {"-7", -7},
        {"+5", 5},
        {"  12", 12},
        {"\t\r\n\v\f3", 3},
        {"12abc", 12},
        {"abc", 0},
        {"- 5", 0},
        {"0x10", 0},
        {"007", 7},
        {"1.9", 1},
        {"", 99},
        {"2147483647", 2147483647},
        {"2147483648", 2147483647},
        {"99999999999999999999", 2147483647},
        {"-2147483648", -2147483647 - 1},
        {"-99999999999", -2147483647 - 1},
    };
    for (const Row& row : rows) {
        CInitFile store = loaded(Dialect::Xml, std::string("?><R><N>") + row.value + "</N></R>");
        EXPECT_EQ(store.ReadInt("N", 99), row.expected) << '"' << row.value << '"';
    }
}

TEST(InitFileLookup, ReadBoolIsTrueOnlyForOne)
{
    struct Row {
        const char* value;
        bool whenDefaultFalse;
        bool whenDefaultTrue;
    };
    const std::vector<Row> rows = {
        {"1", true, true},          {" 1", true, true},    {"01", true, true},           {"+1", true, true},
        {"1 and more", true, true}, {"2", false, false},   {"0", false, false},          {"-1", false, false},
        {"true", false, false},     {"yes", false, false}, {"4294967297", false, false}, {"", false, true},
    };
    for (const Row& row : rows) {
        CInitFile store = loaded(Dialect::Plain, std::string("B=\"") + row.value + "\"");
        EXPECT_EQ(store.ReadBool("B", false), row.whenDefaultFalse) << '"' << row.value << '"';
        EXPECT_EQ(store.ReadBool("B", true), row.whenDefaultTrue) << '"' << row.value << '"';
    }
}

// ---- values that would not read back ----------------------------------------------------------

TEST(InitFileWrite, ValuesAreCutBeforeBytesThatWouldChangeTheirMeaning)
{
    struct Row {
        const char* name;
        Dialect dialect;
        std::string value;
        std::string stored;
    };
    const std::vector<Row> rows = {
        {"ordinary text", Dialect::Xml, "<=> ", "<=> "},
        {"markup of other keys is not the store's business", Dialect::Xml, "a<b>c</b>", "a<b>c</b>"},
        {"own closing tag", Dialect::Xml, "a</Value>b", "a"},
        {"root closing tag", Dialect::Xml, "a</InitFile>b", "a"},
        {"CR LF", Dialect::Xml, "line 1\r\nline 2", "line 1"},
        {"lone LF", Dialect::Plain, "a\nb", "a"},
        {"NUL", Dialect::Plain, std::string("a\0b", 3), "a"},
        {"plain closing quote", Dialect::Plain, "say \"hi\"", "say "},
        {"a quote is fine in xml", Dialect::Xml, "say \"hi\"", "say \"hi\""},
        {"closing tag fine in plain", Dialect::Plain, "a</Value>b", "a</Value>b"},
        // Found by fuzz_config: `FrmNext=` and the closing quote made an entry of the key Next.
        {"plain value ending in = would open an entry", Dialect::Plain, "FrmNext=", "FrmNext"},
        {"plain value cut before a quote that follows =", Dialect::Plain, "a==\"b", "a"},
        {"= inside a plain value is fine", Dialect::Plain, "a=b", "a=b"},
        {"= at the end is fine in xml", Dialect::Xml, "x=", "x="},
    };
    for (const Row& row : rows) {
        CInitFile store(row.dialect);
        EXPECT_EQ(store.writableValue("Value", row.value), row.stored) << row.name;
        store.WriteString("Value", row.value);
        store.WriteString("Next", "after");
        // The value reads back as stored, and the entry after it is untouched.
        CInitFile reread(row.dialect);
        reread.loadFromBytes(store.contents());
        EXPECT_EQ(reread.ReadString("Value", ""), row.stored) << row.name;
        EXPECT_EQ(reread.ReadString("Next", ""), "after") << row.name;
    }
}

// ---- loading files ----------------------------------------------------------------------------

TEST(InitFileLoad, FailuresLeaveTheStoreAsItWas)
{
    TempFolder folder;
    folder.write("empty.ini", "");
    std::filesystem::create_directory(folder.file("folder.ini"));
    folder.write("good.ini", "Key=\"before\"");
    struct Row {
        const char* name;
        std::filesystem::path path;
    };
    const std::vector<Row> rows = {
        {"missing file", folder.file("missing.ini")},
        {"empty file", folder.file("empty.ini")},
        {"a folder", folder.file("folder.ini")},
        {"empty path", {}},
    };
    for (const Row& row : rows) {
        CInitFile store(Dialect::Plain);
        ASSERT_TRUE(store.Load(folder.file("good.ini")));
        EXPECT_FALSE(store.Load(row.path)) << row.name;
        EXPECT_EQ(store.ReadString("Key", ""), "before") << row.name;
    }
}

TEST(InitFileLoad, Utf16FileYieldsDefaults)
{
    TempFolder folder;
    // "<?xml ...?>" and an entry in UTF-16LE with a byte-order mark: the text ends at the first NUL.
    const std::string utf8 =
        std::string(kDeclarationLine) + "<InitFile>\r\n  <AddSpaces>0</AddSpaces>\r\n</InitFile>\r\n";
    std::string utf16 = "\xFF\xFE";
    for (const char c : utf8) {
        utf16 += c;
        utf16 += '\0';
    }
    const auto path = folder.write("utf16.ini", utf16);
    CInitFile xml(Dialect::Xml);
    EXPECT_FALSE(xml.Load(path));
    EXPECT_TRUE(xml.ReadBool("AddSpaces", true));
    CInitFile plain(Dialect::Plain);
    EXPECT_TRUE(plain.Load(path));
    EXPECT_EQ(plain.body(), "\xFF\xFE<");
    EXPECT_EQ(plain.ReadString("AddSpaces", "default"), "default");
}

// ---- saving files -----------------------------------------------------------------------------

CInitFile storeWith(std::string_view value)
{
    CInitFile store(Dialect::Xml);
    store.WriteString("Value", value);
    return store;
}

TEST(InitFileSave, ReplacesAnExistingFileCompletely)
{
    TempFolder folder;
    const auto path = folder.write("Tervalon.ini", std::string(4000, 'x'));
    ASSERT_TRUE(storeWith("new").Save(path));
    EXPECT_EQ(readBytes(path),
              std::string(kDeclarationLine) + "<InitFile>\r\n  <Value>new</Value>\r\n</InitFile>\r\n");
    EXPECT_EQ(folder.entries(), std::vector<std::string>{"Tervalon.ini"}) << "no temporary file is left";
}

TEST(InitFileSave, TargetThatIsAFolderFailsAndLeavesEverythingAsItWas)
{
    TempFolder folder;
    const auto inside = folder.write("Tervalon.ini/old.txt", "old contents");
    EXPECT_FALSE(storeWith("new").Save(folder.file("Tervalon.ini")));
    EXPECT_EQ(readBytes(inside), "old contents");
    EXPECT_EQ(folder.entries(), std::vector<std::string>{"Tervalon.ini"}) << "no temporary file is left";
}

TEST(InitFileSave, MissingFolderFailsAndCreatesNothing)
{
    TempFolder folder;
    EXPECT_FALSE(storeWith("new").Save(folder.file("no such folder") / "Tervalon.ini"));
    EXPECT_TRUE(folder.entries().empty());
}

/// Limits the size of files this process may write, as a full disk would; restored on destruction.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        getrlimit(RLIMIT_FSIZE, &m_previous);
        m_previousHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = m_previous;
        limit.rlim_cur = bytes;
        m_active = setrlimit(RLIMIT_FSIZE, &limit) == 0;
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &m_previous);
        std::signal(SIGXFSZ, m_previousHandler);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;
    [[nodiscard]] bool isActive() const { return m_active; }

private:
    rlimit m_previous{};
    void (*m_previousHandler)(int) = nullptr;
    bool m_active = false;
};

TEST(InitFileSave, WriteFailingHalfWayKeepsTheOldFile)
{
    TempFolder folder;
    const std::string old =
        std::string(kDeclarationLine) + "<InitFile>\r\n  <Value>old</Value>\r\n</InitFile>\r\n";
    const auto path = folder.write("Tervalon.ini", old);
    const CInitFile store = storeWith(std::string(64 * 1024, 'n'));
    bool saved = true;
    {
        FileSizeLimit limit(1024);
        ASSERT_TRUE(limit.isActive());
        saved = store.Save(path);
    }
    EXPECT_FALSE(saved);
    EXPECT_EQ(readBytes(path), old);
    EXPECT_EQ(folder.entries(), std::vector<std::string>{"Tervalon.ini"}) << "the partial file is removed";
}

} // namespace
} // namespace config
