// The private-profile engine against the recorded Windows behaviour: reads
// (also of LF-only and CR-only copies of each file), number reads, writes
// checked byte for byte, failed writes, damaged and huge files, and a writer
// killed at each moment of a rewrite.
#include "libs/profile/profile.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <random>
#include <regex>

#include "libs/profile/profile_storage.h"
#include "tests/profile/profile_fixture.h"

namespace profile {

namespace {

using namespace std::string_literals;
using std::nullopt;

const std::string kF1 =
    "[section1]\r\nname1=val1\r\nname2=\"val2\"\r\nname3\r\nname4=a\r\n[section2]\r\n";
const std::string kBom = "\xEF\xBB\xBF[S]\r\nk=v\r\n[S2]\r\nk2=v2\r\n";

struct ReadCase {
  const char* name;
  std::optional<std::string> file;  // nothing: no such file
  ProfileName section, key, fallback;
  uint32_t size;
  uint32_t returned;
  std::string buffer;  // what the buffer starts with; the rest must be untouched
};

const ReadCase kReads[] = {
    {"v1 value", kF1, "section1", "name1", "default", 260, 4, "val1\0"s},
    {"v1 key in any case", kF1, "section1", "NaMe1", "default", 260, 4, "val1\0"s},
    {"v1 section in any case", kF1, "SECTION1", "name1", "default", 260, 4, "val1\0"s},
    {"v2 quotes stripped", kF1, "section1", "name2", "default", 260, 4, "val2\0"s},
    {"v3 section list", kF1, nullopt, "name1", "default", 260, 18, "section1\0section2\0\0"s},
    {"v4 key list", kF1, "section1", nullopt, "default", 260, 18, "name1\0name2\0name4\0\0"s},
    {"v5 size 4", kF1, "section1", "name1", "default", 4, 3, "val\0"s},
    {"v5 size 5", kF1, "section1", "name1", "default", 5, 4, "val1\0"s},
    {"v5 size 1", kF1, "section1", "name1", "default", 1, 0, "\0"s},
    {"v5 size 0", kF1, "section1", "name1", "default", 0, 0, ""},
    {"v6 section list cut", kF1, nullopt, nullopt, "default", 16, 14, "section1\0secti\0\0"s},
    {"v6 key list cut", kF1, "section1", nullopt, "default", 16, 14, "name1\0name2\0na\0\0"s},
    {"list that just fits", kF1, nullopt, nullopt, "", 19, 18, "section1\0section2\0\0"s},
    {"list one short of fitting", kF1, nullopt, nullopt, "", 18, 16, "section1\0section\0\0"s},
    {"list cut at a NUL", kF1, nullopt, nullopt, "", 11, 9, "section1\0\0\0"s},
    {"list in a buffer of 1", kF1, nullopt, nullopt, "", 1, 0, "\0"s},
    {"keys of a missing section", kF1, "nosuch", nullopt, "default", 260, 0, "\0\0"s},
    {"v7 missing key", kF1, "section1", "notakey", "default", 260, 7, "default\0"s},
    {"v7 missing section", kF1, "", "name1", "default  ", 260, 7, "default\0"s},
    {"v7 inner spaces of a default", kF1, "", "name1", "one two  ", 260, 7, "one two\0"s},
    {"v7 missing file", nullopt, "section1", "name1", "default", 260, 7, "default\0"s},
    {"null default", kF1, "section1", "notakey", nullopt, 260, 0, "\0"s},
    {"default cut to the buffer", kF1, "section1", "notakey", "default", 4, 3, "def\0"s},
    {"line without '=' is no key", kF1, "section1", "name3", "default", 260, 7, "default\0"s},
    {"empty value", "[S]\r\nk=\r\n", "S", "k", "default", 260, 0, "\0"s},
    {"blank value", "[S]\r\nk= \t \r\n", "S", "k", "default", 260, 0, "\0"s},
    {"v9 LF file", "[Test]\nProfileInt=123\n", "Test", "ProfileInt", "", 260, 3, "123\0"s},
    {"v12 indented header", "   [S]\r\nk=v\r\n", "S", "k", "", 260, 1, "v\0"s},
    {"v12 blanks in brackets", "[\tS\t]\r\nk=v\r\n", "S", "k", "", 260, 1, "v\0"s},
    {"v12 no closing bracket", "[S   \r\nk=v\r\n", "S", "k", "", 260, 1, "v\0"s},
    {"v12 no opening bracket", "S]\r\nk=v\r\n", "S", "k", "d", 260, 1, "d\0"s},
    {"v12 key after header", "[S]k=v\r\n", "S", "k", "d", 260, 1, "d\0"s},
    {"text after the bracket", "[S] x=y\r\nk=v\r\n", "S", "k", "", 260, 1, "v\0"s},
    {"bracket inside the name", "[a[b]\r\nk=v\r\n", nullopt, nullopt, "", 260, 4, "a[b\0\0"s},
    {"v13 quoted blanks", "[S]\r\nk=  \"   v   \"  \r\n", "S", "k", "", 260, 7, "   v   \0"s},
    {"v13 single quotes", "[S]\r\nk='x'\r\n", "S", "k", "", 260, 1, "x\0"s},
    {"v13 one pair only", "[S]\r\nk=\"'x'\"\r\n", "S", "k", "", 260, 3, "'x'\0"s},
    {"v13 mismatched quotes", "[S]\r\nk=\"x'\r\n", "S", "k", "", 260, 3, "\"x'\0"s},
    {"lone quote", "[S]\r\nk=\"\r\n", "S", "k", "", 260, 1, "\"\0"s},
    {"v14 comment key", "[S]\r\n;k=v\r\nk2=v2\r\n", "S", ";k", "d", 260, 1, "d\0"s},
    {"v14 commented key", "[S]\r\n;k=v\r\nk2=v2\r\n", "S", "k", "d", 260, 1, "d\0"s},
    {"v14 comment not listed", "[S]\r\n;k=v\r\nk2=v2\r\n", "S", nullopt, "d", 260, 3, "k2\0\0"s},
    {"v14 indented comment", "[S]\r\n \t;k=v\r\n", "S", "k", "d", 260, 1, "d\0"s},
    {"v14 no inline comment", "[S]\r\nk=;x\r\n", "S", "k", "", 260, 2, ";x\0"s},
    {"v14 hash is a key", "[S]\r\n#k=v\r\n", "S", "#k", "", 260, 1, "v\0"s},
    {"v15 first key wins", "[S]\r\nk=v1\r\nk=v2", "S", "k", "", 260, 2, "v1\0"s},
    {"v15 first section wins", "[S]\r\n[S]\r\nk=v", "S", "k", "d", 260, 1, "d\0"s},
    {"v15 duplicates listed", "[A]\r\n[B]\r\n[A]\r\n", nullopt, nullopt, "", 260, 6,
     "A\0B\0A\0\0"s},
    {"v15 duplicate keys listed", "[S]\r\nk=1\r\nK=2\r\n", "S", nullopt, "", 260, 4, "k\0K\0\0"s},
    {"v16 empty section name", "k=v0\r\n[]\r\nk=v1\r\n", "", "k", "d", 260, 2, "v1\0"s},
    {"v16 nothing before a section", "k=v0\r\n[S]\r\n", "", "k", "d", 260, 1, "d\0"s},
    {"split at the first '='", "[S]\r\nk = a=b\r\n", "S", "k", "", 260, 3, "a=b\0"s},
    {"empty key name", "[S]\r\n=v\r\n", "S", "", "", 260, 1, "v\0"s},
    {"spaces around asked names", kF1, "  section1 ", " name1  ", "", 260, 4, "val1\0"s},
    {"tab in asked key", kF1, "section1", "name1\t", "d", 260, 1, "d\0"s},
    {"v25 header after a UTF-8 mark", kBom, "S", "k", "d", 260, 1, "d\0"s},
    {"v25 later sections", kBom, "S2", "k2", "d", 260, 2, "v2\0"s},
    {"v25 blanks of a default", kBom, "S", "k", "\tdef\t", 260, 5, "\tdef\t\0"s},
    {"v25 leading spaces of a default", kBom, "S", "k", "   def   ", 260, 6, "   def\0"s},
    {"UTF-16 value", Utf16File(u"[S]\r\nk=\u00E9\U0001F600\r\n"), "S", "k", "", 260, 6,
     "\xC3\xA9\xF0\x9F\x98\x80\0"s},
    {"UTF-16 section list", Utf16File(u"[A]\r\n[B]\r\n"), nullopt, nullopt, "", 260, 4,
     "A\0B\0\0"s},
    {"UTF-16 big-endian is bytes", "\xFE\xFF[S]\r\n[T]\r\n", nullopt, nullopt, "", 260, 2,
     "T\0\0"s},
};

// v11: every blank around keys and values, with the asked key bare, padded
// with spaces, or ending in a tab.
std::vector<ReadCase> BlankReads() {
  std::vector<ReadCase> rows;
  for (std::string blank : {" ", "\t", "\v"}) {
    for (const std::string& file :
         {"[S]\r\nk=" + blank + "v" + blank + "\r\n", "[S]\r\n" + blank + "k" + blank + "=v\r\n"}) {
      rows.push_back({"v11 bare key", file, "S", "k", "d", 260, 1, "v\0"s});
      rows.push_back({"v11 padded key", file, "S", " k ", "d", 260, 1, "v\0"s});
      rows.push_back({"v11 key with a tab", file, "S", "k\t", "d", 260, 1, "d\0"s});
    }
  }
  return rows;
}

// Bytes past the asked size are marked, to show they are left untouched.
TEST(ProfileRead, EveryCaseWithEachLineEnd) {
  std::vector<ReadCase> rows(std::begin(kReads), std::end(kReads));
  for (const ReadCase& row : BlankReads()) rows.push_back(row);
  for (const char* lineEnd : {"\r\n", "\n", "\r"}) {
    SCOPED_TRACE(testing::PrintToString(std::string(lineEnd)));
    for (const ReadCase& row : rows) {
      ProfileFolder folder;
      std::string file = folder.File("read.ini");
      if (row.file) PutBytes(file, std::regex_replace(*row.file, std::regex("\r\n"), lineEnd));
      std::string buffer(row.buffer.size() + 8, '@');
      EXPECT_EQ(GetPrivateProfileString(row.section, row.key, row.fallback, buffer.data(),
                                        row.size, file), row.returned) << row.name;
      EXPECT_EQ(buffer, row.buffer + std::string(8, '@')) << row.name;
    }
  }
  EXPECT_EQ(ReadProfileString("", "S", "k", "default", 15), "default") << "no file name";
}

struct IntCase {
  std::optional<std::string> value;  // nothing: no such key
  int32_t fallback;
  uint32_t returned;
};

const IntCase kInts[] = {
    {"123", 0, 123},          {"-1", 1, 4294967295U},          {"+1", 1, 1},
    {"4294967296", 1, 0},     {"4294967297", 1, 1},            {"-4294967297", 1, 4294967295U},
    {"42A94967297", 1, 42},   {"B4294967297", 1, 0},           {"-", 1, 0},
    {"0x10", 1, 0},           {" \t 17 ", 1, 17},              {"\"7\"", 1, 7},
    {"", 5, 5},               {nullopt, -1, 4294967295U},      {nullopt, 9, 9},
};

TEST(ProfileRead, NumbersWrapLikeWindows) {
  ProfileFolder folder;
  std::string file = folder.File("int.ini");
  for (const IntCase& row : kInts) {
    PutBytes(file, "[Test]\r\n" + (row.value ? "ProfileInt=" + *row.value : "other=1") + "\r\n");
    EXPECT_EQ(GetPrivateProfileInt("Test", "ProfileInt", row.fallback, file), row.returned)
        << row.value.value_or("<no key>");
  }
  EXPECT_EQ(GetPrivateProfileInt("Test", "ProfileInt", 3, folder.File("missing.ini")), 3U);
}

struct WriteCall {
  ProfileName section, key, value;
};

struct WriteCase {
  const char* name;
  std::optional<std::string> before;  // nothing: no such file
  std::vector<WriteCall> calls;
  std::optional<std::string> after;
};

const std::string kBuilt =
    "[App1]\r\nkey1=string1\r\nkey2=string2\r\nkey3=string3\r\n[App2]\r\nkey4=string4\r\n"
    "[App3]\r\nkey5=string5\r\n";
const std::string kNoKey2 =
    "[App1]\r\nkey1=string1\r\nkey3=string3\r\n[App2]\r\nkey4=string4\r\n[App3]\r\nkey5="
    "string5\r\n";
const std::string kData = "Data \0 before \0 first \0 section"s;

const WriteCase kWrites[] = {
    {"v17 new file", nullopt, {{"App", "key", "string"}}, "[App]\r\nkey=string\r\n"},
    {"v17 empty value", nullopt, {{"App", "key", ""}}, "[App]\r\nkey=\r\n"},
    {"v17 delete makes an empty file", nullopt, {{"App", nullopt, "x"}}, ""},
    {"v18 build-up", nullopt,
     {{"App1", "key1", "string1"}, {"App1", "key2", "string2"}, {"App1", "key3", "string3"},
      {"App2", "key4", "string4"}, {"App3", "key5", "string5"}},
     kBuilt},
    {"v18 delete a key twice", kBuilt, {{"App1", "key2", nullopt}, {"App1", "key2", nullopt}},
     kNoKey2},
    {"v18 delete a section", kNoKey2, {{"App1", nullopt, "string1"}},
     "[App2]\r\nkey4=string4\r\n[App3]\r\nkey5=string5\r\n"},
    {"v18 delete another", "[App2]\r\nkey4=string4\r\n[App3]\r\nkey5=string5\r\n",
     {{"App2", nullopt, nullopt}}, "[App3]\r\nkey5=string5\r\n"},
    {"v18 header stays", "[App3]\r\nkey5=string5\r\n", {{"App3", "key5", nullopt}}, "[App3]\r\n"},
    {"v19 spelling kept", "[SectionName]\r\nTestKey=TestValue",
     {{"SECTIONNAME", "TESTKEY", "TestValue2"}}, "[SectionName]\r\nTestKey=TestValue2\r\n"},
    {"v20 order of new keys", "[S]\r\nb=value\r\na=value\r\n",
     {{"S", "z", ""}, {"S", "b", ""}, {"S", "y", ""}, {"S", "a", ""}},
     "[S]\r\nb=\r\na=\r\nz=\r\ny=\r\n"},
    {"v21 new keys before comments",
     ";comment0\r\n[S]\r\n;comment1\r\nb=value\r\n;comment2\r\na=value\r\n",
     {{"S", "z", ""}, {"S", ";x", ""}, {"S", "y", ""}, {"S", "a", ""}, {"S", "b", ""}},
     ";comment0\r\n[S]\r\n;comment1\r\nb=\r\n;comment2\r\na=\r\nz=\r\ny=\r\n;x=\r\n"},
    {"v22 comments outlive sections", ";comment0\r\n[S]\r\n;comment1\r\n[S2]\r\n;comment2\r\n",
     {{"S", nullopt, ""}, {"S2", nullopt, ""}}, ";comment0\r\n;comment1\r\n;comment2\r\n"},
    {"v23 names trimmed, value exact", nullopt, {{"   sec   ", "  key  ", " value "}},
     "[sec]\r\nkey= value \r\n"},
    {"v23 tabs written", nullopt, {{"S", "\tkey\t", "v"}}, "[S]\r\n\tkey\t=v\r\n"},
    {"v24 junk before the first section", kData, {{"section1", "key1", "string1"}},
     kData + "\r\n[section1]\r\nkey1=string1\r\n"},
    {"other lines untouched", "[S]\na=1\nb=2\r[T]\nc=3", {{"S", "a", "9"}},
     "[S]\na=9\r\nb=2\r[T]\nc=3\r\n"},
    {"blanks before '=' kept", "[S]\r\n  Key = old\r\n", {{"s", "key", "new"}},
     "[S]\r\n  Key =new\r\n"},
    {"new key before blank lines", "[S]\r\na=1\r\n\r\n[T]\r\n", {{"S", "b", "2"}},
     "[S]\r\na=1\r\nb=2\r\n\r\n[T]\r\n"},
    {"new key after a line without '='", "[S]\r\nx\r\n;c\r\n", {{"S", "b", "2"}},
     "[S]\r\nx\r\nb=2\r\n;c\r\n"},
    {"only comments: after the header", "[S]\r\n;c\r\n[T]\r\n", {{"S", "k", "v"}},
     "[S]\r\nk=v\r\n;c\r\n[T]\r\n"},
    {"header without a line end", "[S]", {{"S", "k", "v"}}, "[S]\r\nk=v\r\n"},
    {"new section after a CR line", "[S]\rk=v", {{"T", "k", "v"}}, "[S]\rk=v\r\n[T]\r\nk=v\r\n"},
    {"first of duplicate sections", "[S]\r\nk=1\r\n[S]\r\nk=2\r\n", {{"S", "k", "3"}},
     "[S]\r\nk=3\r\n[S]\r\nk=2\r\n"},
    {"first of duplicate keys goes", "[S]\r\nk=1\r\nk=2\r\n", {{"S", "k", nullopt}},
     "[S]\r\nk=2\r\n"},
    {"delete ends the new last line", "[S]\r\na=1\r\nb=2", {{"S", "a", nullopt}}, "[S]\r\nb=2\r\n"},
    {"nothing to delete, file untouched", "[S]\r\na=1",
     {{"S", "b", nullopt}, {"T", nullopt, nullopt}}, "[S]\r\na=1"},
    {"section delete takes blank and bare lines",
     "[A]\r\nx\r\n;c\r\n\r\na=1\r\n[B]\r\nb=1\r\n", {{"A", nullopt, nullopt}},
     ";c\r\n[B]\r\nb=1\r\n"},
    {"UTF-8 mark kept", kBom, {{"S2", "k2", "w"}}, "\xEF\xBB\xBF[S]\r\nk=v\r\n[S2]\r\nk2=w\r\n"},
    {"UTF-16 stays UTF-16", Utf16File(u"[S]\r\n;\xD800\r\nk=v\r\n"), {{"S", "k2", "\xC3\xA9"}},
     Utf16File(u"[S]\r\n;\xD800\r\nk=v\r\nk2=\u00E9\r\n")},
};

TEST(ProfileWrite, FilesComeOutByteForByte) {
  for (const WriteCase& row : kWrites) {
    ProfileFolder folder;
    std::string file = folder.File("write.ini");
    PutBytes(file, row.before);
    for (const WriteCall& call : row.calls) {
      EXPECT_TRUE(WritePrivateProfileString(call.section, call.key, call.value, file)) << row.name;
    }
    EXPECT_EQ(Bytes(file), row.after) << row.name;
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()), {}),
              row.after ? 1 : 0)
        << row.name << ": only the file is left";
  }
}

TEST(ProfileWrite, FailuresLeaveEverythingAsItWas) {
  const struct {
    const char* name;
    std::string file;  // under the test folder
    ProfileName section;
  } rows[] = {{"no such folder", "/missing/job.ini", "S"},
              {"a folder, not a file", "/folder", "S"},
              {"null section", "/job.ini", nullopt}};
  for (const auto& row : rows) {
    ProfileFolder folder;
    std::filesystem::create_directory(folder.File("folder"));
    PutBytes(folder.File("job.ini"), "[S]\nk=v");
    EXPECT_FALSE(WritePrivateProfileString(row.section, "k", "w", folder.path() + row.file))
        << row.name;
    EXPECT_EQ(Bytes(folder.File("job.ini")), "[S]\nk=v") << row.name;
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()), {}), 2) << row.name;
  }
  EXPECT_FALSE(WritePrivateProfileString("S", "k", "v", ""));
}

TEST(ProfileWrite, ModesAreKeptAndLinksFollowed) {
  ProfileFolder folder;
  std::string file = folder.File("job.ini");
  PutBytes(file, "[S]\r\n");
  ::chmod(file.c_str(), 0640);
  std::filesystem::create_symlink(file, folder.File("link.ini"));
  ASSERT_TRUE(WritePrivateProfileString("S", "k", "v", folder.File("link.ini")));
  EXPECT_TRUE(std::filesystem::is_symlink(folder.File("link.ini")));
  EXPECT_EQ(Bytes(file), "[S]\r\nk=v\r\n");
  struct stat info {};
  ASSERT_EQ(::stat(file.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 07777, 0640U);

  mode_t mask = ::umask(027);
  ASSERT_TRUE(WritePrivateProfileString("S", "k", "v", folder.File("new.ini")));
  ::umask(mask);
  ASSERT_EQ(::stat(folder.File("new.ini").c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 07777, 0640U) << "as an ordinary new file";
}

// Bytes that are mostly the characters the parser cares about.
std::string Garbage(size_t size, unsigned seed) {
  const std::string alphabet = "[]=;\"' \t\v\r\n\0\xFF\xFEkKsS"s;
  std::mt19937 random(seed);
  std::string bytes;
  for (size_t i = 0; i < size; ++i) {
    bytes += random() % 4 == 0 ? static_cast<char>(random()) : alphabet[random() % alphabet.size()];
  }
  return bytes;
}

// The huge value comes last, to be read afterwards cut to the buffer and whole.
TEST(ProfileRobustness, DamagedAndHugeFilesLoad) {
  const std::string huge(1 << 20, 'x');
  const std::string files[] = {Garbage(65536, 1), "\xFF\xFE" + Garbage(65536, 2), huge,
                               "[S]\r\nk=" + huge + "\r\nk2=v2\r\n"};
  ProfileFolder folder;
  std::string file = folder.File("damaged.ini");
  for (const std::string& bytes : files) {
    PutBytes(file, bytes);
    EXPECT_LE(ReadProfileString(file, "s", "k", "default", 40).size(), 40U);
    EXPECT_EQ(ReadProfileString(file, "nosuch", "k", "default", 40), "default");
    EXPECT_EQ(GetPrivateProfileInt("nosuch", "k", 7, file), 7U);
    ProfileSectionNames(file);
    ProfileKeyNames(file, "S");
    ASSERT_TRUE(WritePrivateProfileString("Fz", "key", "v", file));
    EXPECT_EQ(ReadProfileString(file, "Fz", "key", "", 10), "v");
  }
  EXPECT_EQ(ReadProfileString(file, "S", "k", "", 100), std::string(100, 'x'));
  EXPECT_EQ(ReadProfileString(file, "S", "k2", "", 100), "v2");
  EXPECT_EQ(ReadProfileString(file, "S", "k", "", 2 << 20).size(), 1U << 20);
}

// Removes the temporary files a killed writer left beside `file`, and
// counts them; anything else in the folder counts as a hundred.
int RemoveLeftovers(const ProfileFolder& folder, const std::string& file) {
  int count = 0;
  for (const auto& entry : std::filesystem::directory_iterator(folder.path())) {
    if (entry.path() == file) continue;
    count += entry.path().string().starts_with(file + ".tmp-") ? 1 : 100;
    std::filesystem::remove(entry.path());
  }
  return count;
}

// A writer killed anywhere in a rewrite: in a child process the writer is
// stopped at a chosen byte or stage of replacing the file (the process exits
// there, as a kill would end it), and the file must then read as the old
// version or the new one, whole, with at most the temporary file left.
TEST(ProfileRobustness, AKilledWriterLeavesOneWholeVersion) {
  ProfileFolder folder;
  std::string file = folder.File("job.qxj");
  const std::string old = "[S]\r\nfirst=1\r\nk=" + std::string(200000, 'a') + "\r\n[T]\r\nlast=2\r\n";
  const std::string updated = "[S]\r\nfirst=1\r\nk=" + std::string(200000, 'b') + "\r\n";
  const struct {
    ReplaceStop::Stage stage;
    size_t atByte;
    bool replaced;  // the new version is in place
    int leftovers;  // temporary files left beside it
  } cases[] = {
      {ReplaceStop::kWriting, 0, false, 1},
      {ReplaceStop::kWriting, 1, false, 1},
      {ReplaceStop::kWriting, 4096, false, 1},
      {ReplaceStop::kWriting, updated.size() / 2, false, 1},
      {ReplaceStop::kWriting, updated.size() - 1, false, 1},
      {ReplaceStop::kBeforeSync, 0, false, 1},
      {ReplaceStop::kBeforeRename, 0, false, 1},
      {ReplaceStop::kAfterRename, 0, true, 0},
  };
  for (const auto& c : cases) {
    PutBytes(file, old);
    pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      ReplaceStop stop{c.stage, c.atByte, [] { ::_exit(3); }};
      ::_exit(ReplaceFile(file, updated, &stop) ? 0 : 1);
    }
    int status = -1;
    ::waitpid(child, &status, 0);
    std::string why = "stopped at stage " + std::to_string(c.stage) + ", byte " +
                      std::to_string(c.atByte);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 3) << why << ": not stopped there";
    EXPECT_EQ(Bytes(file), c.replaced ? updated : old) << why;
    EXPECT_EQ(RemoveLeftovers(folder, file), c.leftovers) << why;
  }
}

}  // namespace

}  // namespace profile
