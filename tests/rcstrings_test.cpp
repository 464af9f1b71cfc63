// The .rc string-table compiler: what text each literal gives, how entries
// fall into blocks and languages, the preprocessor, skipping the other
// resource statements, and "file:line: error:" for malformed scripts.
#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "rc_compiler.hpp"

using namespace std::string_literals;

namespace {

using Files = std::map<std::string, std::string>;

rcstrings::Result compile(const Files& files, std::vector<std::string> defines = {}) {
  rcstrings::Options options;
  options.include_dirs = {"inc"};
  options.defines = std::move(defines);
  options.read_file = [&files](const std::string& path) -> std::optional<std::string> {
    auto it = files.find(path);
    if (it == files.end()) return std::nullopt;
    return it->second;
  };
  return rcstrings::compile({"t.rc"}, options);
}

rcstrings::Result compile(const std::string& script) { return compile(Files{{"t.rc", script}}); }

std::string error_of(const Files& files) {
  try {
    compile(files);
  } catch (const rcstrings::Error& e) {
    return e.what();
  }
  return "no error";
}

// Entry `id` of the first block that holds it (in `language`, if given);
// nullopt when there is no such block.
std::optional<std::u16string> entry(const rcstrings::Result& r, unsigned id, int language = -1) {
  for (const rcstrings::Block& b : r.blocks) {
    if (b.number != id / 16 + 1 || (language >= 0 && b.language != language)) continue;
    std::size_t at = 0;
    for (unsigned i = 0; i < id % 16; ++i) at += 1 + b.units.at(at);
    return std::u16string(b.units.begin() + static_cast<long>(at) + 1,
                          b.units.begin() + static_cast<long>(at) + 1 + b.units.at(at));
  }
  return std::nullopt;
}

}  // namespace

// What entry 1 holds: literals decoded to UTF-16 under each code page, and
// the preprocessor choosing the text.
TEST(RcStrings, LiteralsAndPreprocessorGiveTheText) {
  auto table = [](const std::string& literals) { return "STRINGTABLE { 1, " + literals + " }"; };
  const std::string utf8 = "#pragma code_page(65001)\n", ids = "STRINGTABLE { ID TEXT }\n";
  struct Case {
    std::string script;
    std::u16string expected;
  } cases[] = {
      {table(R"("t\tn\nr\ra\ab\bf\fv\v")"), u"t\tn\nr\ra\ab\bf\fv\v"},
      {table(R"("q""q \"x\" \\ \' \?")"), u"q\"q \"x\" \\ ' ?"},
      {table(R"("\x41\x4a2\101\0end\7")"), u"AJ2A\0end\7"s},
      {table(R"("unknown \q stays")"), u"unknown \\q stays"},
      {table(R"("a" "b" L"c")"), u"abc"},
      {table(R"(L"\x4e2d\x41\101 \xffff")"), u"\u4e2dAA \uffff"},
      {table("\"\x80\xe9\\x80\\351\""), u"\u20ac\u00e9\u20ac\u00e9"},  // 1252 by default
      {"#pragma code_page(DEFAULT)\n" + table("\"\x9c\""), u"\u0153"},
      {utf8 + table("\"caf\xc3\xa9 \xe2\x82\xac \xf0\x9f\x98\x80\""),
       u"caf\u00e9 \u20ac \U0001F600"},
      {utf8 + table("L\"\xc3\xa9\\x20ac\""), u"\u00e9\u20ac"},
      {utf8 + table("\"\xff|\xc3|\xe0\x80\x80|\xed\xa0\x80\""),
       u"\ufffd|\ufffd|\ufffd\ufffd\ufffd|"
       u"\ufffd\ufffd\ufffd"},
      {"\xEF\xBB\xBF" + table("\"\xc3\xa9\""), u"\u00e9"},  // a byte-order mark means UTF-8
      {utf8 + "#pragma code_page(1252)\n" + table("\"\xc3\xa9\""), u"\u00c3\u00a9"},
      {"#define ID (0x10 - 3 * 5)\n#define TEXT \"ex\" \"pr\"\n" + ids, u"expr"},
      {"#define ID 1\n#define TEXT \"con\" \\\n  \"tinued\"\n" + ids, u"continued"},
      {"#include \"ids.h\"\n#include <text.h>\n" + ids, u"included"},
      {"#include <windows.h>\n#include \"winres.h\"\nSTRINGTABLE { 1 \"sdk\" }", u"sdk"},
      {"#define F(x) x\nSTRINGTABLE { 1 \"f\" }", u"f"},
      {"#if 0\n#if 1\n#error no\n#endif\nSTRINGTABLE{1 \"a\"}\n#elif 2 > 1 && !defined X\n"
       "STRINGTABLE{1 \"b\"}\n#else\nSTRINGTABLE{1 \"c\"}\n#endif",
       u"b"},
      {"#define X\n#undef X\n#ifdef X\nSTRINGTABLE{1 \"a\"}\n#else\nSTRINGTABLE{1 \"b\"}\n#endif",
       u"b"},
      {"#if defined(RC_INVOKED) && defined QUARNEL_RCSTRINGS && !defined(_WIN32)\n"
       "STRINGTABLE{1 \"ours\"}\n#endif",
       u"ours"},
      {"/* STRINGTABLE { 1 \"no\" }\n still a comment */ STRINGTABLE { // 1 \"no\"\n"
       "1 \"a // b /* c\" }",
       u"a // b /* c"},
      {"#ifndef NOT_DEFINED\n#define ID 1\n#endif\n#define TEXT ID_TEXT\n#define ID_TEXT "
       "\"late\"\n" +
           ids,
       u"late"},
  };
  Files files = {{"ids.h", "#define ID 1\n"}, {"inc/text.h", "#define TEXT \"included\"\n"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.script);
    files["t.rc"] = c.script;
    EXPECT_EQ(entry(compile(files), 1), c.expected);
  }
  files["t.rc"] = "#if WHICH == 2\nSTRINGTABLE { 1 \"two\" }\n#endif";
  EXPECT_EQ(entry(compile(files, {"WHICH=2"}), 1), u"two");
  EXPECT_EQ(entry(compile(files, {"WHICH"}), 1), std::nullopt);
}

// Entries fall into blocks of sixteen identifiers, numbered from 1, each
// language with blocks of its own; blocks come in number order, then in
// the order their languages first appear.
TEST(RcStrings, EntriesFillBlocksPerLanguage) {
  rcstrings::Result r = compile(
      "STRINGTABLE BEGIN 16 \"cd\" 0 \"a\" 65535 \"z\" 15 \"b\" END\n"
      "LANGUAGE LANG_GERMAN, SUBLANG_GERMAN\n"
      "STRINGTABLE { 1 \"de\" }\n"
      "STRINGTABLE DISCARDABLE LANGUAGE 0, 0 { 1 \"neutral\" }\n"
      "STRINGTABLE { 2 \"de2\" }\n"
      "LANGUAGE 0x0C, 3\n"
      "STRINGTABLE { 40 \"fr-ca\" }\n");
  std::vector<std::pair<int, int>> blocks;
  for (const rcstrings::Block& b : r.blocks) blocks.emplace_back(b.number, b.language);
  std::vector<std::pair<int, int>> expected = {{1, 0x0409}, {1, 0x0407}, {1, 0x0000},
                                               {2, 0x0409}, {3, 0x0C0C}, {4096, 0x0409}};
  ASSERT_EQ(blocks, expected);
  std::vector<std::uint16_t> first = {1, 'a', 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 'b'};
  std::vector<std::uint16_t> second = {2, 'c', 'd', 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
  EXPECT_EQ(r.blocks[0].units, first);
  EXPECT_EQ(r.blocks[3].units, second);
  EXPECT_EQ(r.blocks[5].units.size(), 17u);
  EXPECT_EQ(entry(r, 2, 0x0407), u"de2");  // the inline LANGUAGE held for one table only
  EXPECT_TRUE(compile("STRINGTABLE { }").blocks.empty());
  // The generated source of a script with no strings still defines the table.
  EXPECT_NE(rcstrings::to_c_source({}).find("quarnel_string_table = {1, 0, "), std::string::npos);
}

TEST(RcStrings, OtherResourceStatementsAreSkipped) {
  Files files = {{"resource.h", "#define IDS_APP_TITLE 103\n#define IDM_EXIT 105\n"},
                 {"t.rc", R"(#include "resource.h"
LANGUAGE LANG_ENGLISH, SUBLANG_ENGLISH_US
IDI_APP ICON "app.ico"
IDI_SMALL ICON DISCARDABLE res\small.ico
IDC_APP MENU
BEGIN
    POPUP "&File"
    BEGIN
        MENUITEM "E&xit", IDM_EXIT
    END
END
IDD_ABOUT DIALOGEX 0, 0, 170, 62
STYLE DS_SETFONT | DS_MODALFRAME | WS_POPUP | WS_CAPTION
CAPTION "About"
{ LTEXT "Version 1.0", IDC_STATIC, 42, 14, 114, 8, SS_NOPREFIX }
VS_VERSION_INFO VERSIONINFO
 FILEVERSION 1,0,0,1
BEGIN
    BLOCK "StringFileInfo" { VALUE "FileDescription", "App" }
END
STRINGTABLE
BEGIN
   IDS_APP_TITLE "App"
END
)"}};
  rcstrings::Result r = compile(files);
  ASSERT_EQ(r.blocks.size(), 1u);
  EXPECT_EQ(r.blocks[0].language, 0x0409);
  EXPECT_EQ(entry(r, 103), u"App");
  EXPECT_EQ(r.files, (std::vector<std::string>{"t.rc", "resource.h"}));
}

TEST(RcStrings, MalformedScriptsNameFileAndLine) {
  struct Case {
    std::string script;
    std::string message;
  } cases[] = {
      {"STRINGTABLE\nBEGIN\n  1 \"open\nEND\n", "t.rc:3: error: unterminated string literal"},
      {"STRINGTABLE\nBEGIN\n  1 \"a\"\n", "t.rc:1: error: STRINGTABLE has no END"},
      {"STRINGTABLE {\n 1 \"a\"\n 1 \"b\"\n}",
       "t.rc:3: error: string identifier 1 is already defined at t.rc:2"},
      {"STRINGTABLE {\n 70000 \"a\" }",
       "t.rc:2: error: string identifier 70000 is out of range 0-65535"},
      {"STRINGTABLE {\n -1 \"a\" }", "t.rc:2: error: string identifier -1 is out of range 0-65535"},
      {"STRINGTABLE {\n 1\n}", "t.rc:3: error: expected a string after identifier 1 but found '}'"},
      {"STRINGTABLE {\n \"x\" }",
       "t.rc:2: error: expected a string identifier before string \"x\""},
      {"STRINGTABLE { 1/0 \"x\" }", "t.rc:1: error: division by zero"},
      {"STRINGTABLE\n1 \"a\"",
       "t.rc:2: error: expected BEGIN or '{' after STRINGTABLE but found '1'"},
      {"STRINGTABLE { 1 \"\\x\" }", "t.rc:1: error: \\x used with no following hex digits"},
      {"STRINGTABLE { 0x1g \"x\" }", "t.rc:1: error: malformed number '0x1g'"},
      {"#pragma code_page(932)",
       "t.rc:1: error: code page 932 is not supported: use 65001 (UTF-8) or 1252"},
      {"\n#include \"missing.h\"", "t.rc:2: error: cannot find include file 'missing.h'"},
      {"#include \"bad.h\"", "bad.h:3: error: #error stop here"},
      {"#endif", "t.rc:1: error: #endif without #if"},
      {"#if 1\n#else\n#else\n#endif", "t.rc:3: error: #else after #else"},
      {"\n#if 1\n", "t.rc:2: error: #if without #endif"},
      {"#if 1 +\n#endif", "t.rc:1: error: expected a number but found end of line"},
      {"#define\n", "t.rc:1: error: #define needs a macro name"},
      {"#frobnicate", "t.rc:1: error: unknown directive #frobnicate"},
      {"x /* open\n\n", "t.rc:1: error: unterminated comment"},
      {"}", "t.rc:1: error: unexpected '}'"},
      {"LANGUAGE 9 1", "t.rc:1: error: expected ',' in LANGUAGE but found '1'"},
      {"LANGUAGE 9, 64", "t.rc:1: error: LANGUAGE 9, 64 is out of range"},
      {"1 DIALOG 0, 0, 10, 10\n", "t.rc:1: error: DIALOG has no BEGIN"},
      {"IDR_X RCDATA\n{ 1, 2", "t.rc:2: error: BEGIN without END"},
      {"IDI_X ICON\n", "t.rc:1: error: expected a file name or BEGIN after resource type 'ICON'"},
      {"\xFF\xFE"
       "S",
       "t.rc:1: error: UTF-16 scripts are not supported; save it as UTF-8 and "
       "add #pragma code_page(65001)"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.script);
    EXPECT_EQ(error_of({{"t.rc", c.script}, {"bad.h", "\n\n#error stop here"}}), c.message);
  }
}
