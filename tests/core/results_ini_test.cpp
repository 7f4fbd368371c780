// The settings file: reading and changing INI text, the file-backed store,
// where the file lives, and the stored name and address.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstddef>
#include <filesystem>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include "results/identity.h"
#include "profile/ini_document.h"
#include "profile/ini_file_store.h"
#include "profile/profile_location.h"
#include "support/file_bytes.h"

namespace quorvel {
namespace {

using test_support::ReadFileBytes;
using test_support::WriteFileBytes;

// The bytes of a literal, NULs included, without its terminator.
template <std::size_t N>
std::string Bytes(const char (&literal)[N]) {
  return std::string(literal, N - 1);
}

// --- IniDocument -------------------------------------------------------------

TEST(IniDocument, ReadsSectionsAndKeysInAnyCaseAndAnyLineEnd) {
  const char* texts[] = {
      "[QUORVEL]\r\nNAME=Ann\r\n",
      "[quorvel]\nname=Ann\n",
      "[Quorvel]\rName=Ann",
      "\xEF\xBB\xBF[QUORVEL]\r\nNAME=Ann\r\n",
      "  [ Quorvel ]  \r\n\t NaMe \t=  Ann \t\r\n",
      "[QUORVEL]\r\nNAME=\"Ann\"\r\n",
      "[QUORVEL]\r\nNAME='Ann'\r\n",
      "[Other]\r\nNAME=Bob\r\n[QUORVEL]\r\n; NAME=Cat\r\nNAMES=Dan\r\nNAME=Ann\r\nNAME=Eve\r\n",
  };
  for (const char* text : texts) {
    EXPECT_EQ(IniDocument(text).Read("Quorvel", "Name", "-"), "Ann") << text;
  }
}

TEST(IniDocument, MissingOrDamagedGivesTheDefault) {
  const std::string texts[] = {
      "",
      "[Other]\r\nNAME=Bob\r\n",
      "NAME=Bob\r\n",                                 // before any section
      "[QUORVEL]\r\nNAME Bob\r\n",                    // no '='
      "[QUORVEL\r\nNAME=Bob\r\n",                     // header without ']'
      "[QUORVEL]\r\n[QUORVEL\r\nNAME=Bob\r\n",        // the broken header ends the section
      Bytes("\x00\xFF\x01[\x00=]\xFE\r\n=\n["),
      std::string(3000, '\0'),
  };
  for (const std::string& text : texts) {
    EXPECT_EQ(IniDocument(text).Read("Quorvel", "Name", "-"), "-") << text;
  }
  // NUL bytes elsewhere do not hide a good line.
  const std::string withNul = Bytes("[X]\r\nA=\0\0\r\n") + "[QUORVEL]\r\nNAME=Ann\r\n";
  EXPECT_EQ(IniDocument(withNul).Read("Quorvel", "Name", "-"), "Ann");
}

TEST(IniDocument, ValuesAreCutTo254Characters) {
  IniDocument doc;
  doc.Write("QUORVEL", "NAME", std::string(300, 'x'));
  EXPECT_EQ(doc.Read("Quorvel", "Name", ""), std::string(254, 'x'));
  doc.Write("QUORVEL", "NAME", std::string(254, 'y'));
  EXPECT_EQ(doc.Read("Quorvel", "Name", ""), std::string(254, 'y'));
  EXPECT_EQ(doc.Read("Quorvel", "Name", "").size(), kMaxIniValueLength);
}

TEST(IniDocument, AFileWrittenFromScratchHasExactlyTheseBytes) {
  IniDocument doc;
  doc.Write("QUORVEL", "NAME", "Ann Smith");
  doc.Write("QUORVEL", "MAIL", "ann@example.org");
  EXPECT_EQ(doc.Text(), "[QUORVEL]\r\nNAME=Ann Smith\r\nMAIL=ann@example.org\r\n");
}

TEST(IniDocument, WritingChangesOnlyTheValueOrAddsOneLine) {
  // Comments, blank lines, other sections, odd spacing and LF line ends.
  const std::string before =
      "; settings\n"
      "\n"
      "[Window]\n"
      "x = 10\n"
      "\n"
      "[quorvel]\n"
      "  name = Old Name  \n"
      "; keep me\n"
      "\n"
      "[Zeta]\n"
      "k=v";
  struct Row {
    const char* section;
    const char* key;
    const char* value;
    std::string after;
  };
  const Row rows[] = {
      // An existing key: the key and '=' stay as written, the value is replaced.
      {"QUORVEL", "NAME", "New",
       "; settings\n\n[Window]\nx = 10\n\n[quorvel]\n  name =New\n; keep me\n\n[Zeta]\nk=v"},
      // A missing key goes after the section's last non-blank line, with the
      // document's own line end.
      {"QUORVEL", "MAIL", "a@b",
       "; settings\n\n[Window]\nx = 10\n\n[quorvel]\n  name = Old Name  \n; keep me\nMAIL=a@b\n\n"
       "[Zeta]\nk=v"},
      // The last section's last line has no line end: one is added before the key.
      {"ZETA", "new", "1", before + "\nnew=1\n"},
      // A missing section goes at the end.
      {"QUORVEL2", "NAME", "x", before + "\n[QUORVEL2]\nNAME=x\n"},
  };
  for (const Row& r : rows) {
    IniDocument doc(before);
    doc.Write(r.section, r.key, r.value);
    EXPECT_EQ(doc.Text(), r.after) << r.section << "/" << r.key;
    EXPECT_EQ(doc.Read(r.section, r.key, "-"), r.value);
  }
}

TEST(IniDocument, WrittenValuesStayOnOneLine) {
  IniDocument doc("[QUORVEL]\r\nNAME=a\r\nMAIL=b\r\n");
  doc.Write("QUORVEL", "NAME", Bytes("Ann\r\nMAIL=evil\n\0x"));
  EXPECT_EQ(doc.Text(), "[QUORVEL]\r\nNAME=AnnMAIL=evilx\r\nMAIL=b\r\n");
  EXPECT_EQ(doc.Read("QUORVEL", "MAIL", "-"), "b");
}

TEST(IniDocument, ReadAndWriteAgreeOnWhichDuplicateCounts) {
  const std::string text = "[Q]\r\nA=1\r\n[q]\r\nNAME=first\r\n[Q]\r\nNAME=second\r\n";
  IniDocument doc(text);
  EXPECT_EQ(doc.Read("Q", "NAME", ""), "first");
  doc.Write("Q", "NAME", "new");
  EXPECT_EQ(doc.Text(), "[Q]\r\nA=1\r\n[q]\r\nNAME=new\r\n[Q]\r\nNAME=second\r\n");
  EXPECT_EQ(doc.Read("Q", "NAME", ""), "new");
  // A key new to every copy of the section goes into the first copy.
  doc.Write("Q", "MAIL", "m");
  EXPECT_EQ(doc.Text(), "[Q]\r\nA=1\r\nMAIL=m\r\n[q]\r\nNAME=new\r\n[Q]\r\nNAME=second\r\n");
}

TEST(IniDocument, JunkIsKeptAndTheSectionAddedAfterIt) {
  const std::string junk = Bytes("\x01\x02\x00\xFF[=]\r\n\x00garbage");
  IniDocument doc(junk);
  doc.Write("QUORVEL", "NAME", "Ann");
  EXPECT_EQ(doc.Text(), junk + "\r\n[QUORVEL]\r\nNAME=Ann\r\n");
  EXPECT_EQ(doc.Read("Quorvel", "Name", ""), "Ann");

  IniDocument bomOnly("\xEF\xBB\xBF");
  bomOnly.Write("QUORVEL", "NAME", "Ann");
  EXPECT_EQ(bomOnly.Text(), "\xEF\xBB\xBF[QUORVEL]\r\nNAME=Ann\r\n");
}

// --- Identity ------------------------------------------------------------------

// A store that records the calls and answers from an IniDocument.
class DocumentStore : public platform::ProfileStore {
 public:
  IniDocument document;
  std::vector<std::string> calls;
  bool writesFail = false;

  std::string ReadString(const std::string& section, const std::string& key,
                         const std::string& defaultValue) override {
    calls.push_back("read " + section + "/" + key + " default '" + defaultValue + "'");
    return document.Read(section, key, defaultValue);
  }
  bool WriteString(const std::string& section, const std::string& key,
                   const std::string& value) override {
    calls.push_back("write " + section + "/" + key + " '" + value + "'");
    if (writesFail) return false;
    document.Write(section, key, value);
    return true;
  }
};

TEST(Identity, ReadsAndWritesNameThenMailUnderTheProgramsSection) {
  DocumentStore store;
  WriteIdentity(store, "Ann", "ann@example.org");
  const Identity identity = ReadIdentity(store);
  EXPECT_EQ(identity.userName, "Ann");
  EXPECT_EQ(identity.email, "ann@example.org");
  EXPECT_EQ(store.calls, (std::vector<std::string>{
                             "write QUORVEL/NAME 'Ann'",
                             "write QUORVEL/MAIL 'ann@example.org'",
                             "read Quorvel/Name default ''",
                             "read Quorvel/MAIL default ''",
                         }));
  EXPECT_EQ(store.document.Text(), "[QUORVEL]\r\nNAME=Ann\r\nMAIL=ann@example.org\r\n");
}

TEST(Identity, NothingStoredReadsEmptyAndAFailedWriteIsNotFatal) {
  DocumentStore store;
  const Identity none = ReadIdentity(store);
  EXPECT_EQ(none.userName, "");
  EXPECT_EQ(none.email, "");

  store.writesFail = true;
  WriteIdentity(store, "Ann", "a@b");
  EXPECT_EQ(store.calls.size(), 4u);  // both writes were tried
  EXPECT_EQ(store.document.Text(), "");
}

// --- The file on disk --------------------------------------------------------

// A scratch folder removed after the test.
class TempFolder {
 public:
  TempFolder() {
    static std::atomic<int> serial{0};
    path_ = std::filesystem::temp_directory_path() /
            ("quorvel-ini-" +
             std::to_string(std::chrono::steady_clock::now().time_since_epoch().count()) + "-" +
             std::to_string(serial++));
    std::filesystem::create_directories(path_);
  }
  ~TempFolder() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }
  std::string File(const std::string& name) const { return (path_ / name).string(); }

 private:
  std::filesystem::path path_;
};

// Writes straight to disk (the backends' writers replace files atomically;
// here only the bytes matter).
class DiskWriter : public platform::FileWriter {
 public:
  int writes = 0;
  bool WriteFileAtomically(const std::string& path, const std::string& bytes,
                           std::string& error) override {
    ++writes;
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out.flush()) {
      error = "write failed";
      return false;
    }
    return true;
  }
};

TEST(IniFileStore, CreatesTheFileAndItsFolderThenReadsItBack) {
  TempFolder folder;
  DiskWriter writer;
  const std::string path = folder.File("config/sub/Quorvel.ini");
  IniFileStore store(path, writer);

  EXPECT_EQ(ReadIdentity(store).userName, "");
  WriteIdentity(store, "Zoë", "zoe@example.org");
  EXPECT_EQ(ReadFileBytes(path), "[QUORVEL]\r\nNAME=Zoë\r\nMAIL=zoe@example.org\r\n");

  IniFileStore again(path, writer);
  const Identity identity = ReadIdentity(again);
  EXPECT_EQ(identity.userName, "Zoë");
  EXPECT_EQ(identity.email, "zoe@example.org");
}

TEST(IniFileStore, KeepsTheRestOfAnExistingFile) {
  TempFolder folder;
  DiskWriter writer;
  const std::string path = folder.File("Quorvel.ini");
  WriteFileBytes(path, "; mine\n[Other]\nk=v\n[quorvel]\nname=Old\n");
  IniFileStore store(path, writer);
  WriteIdentity(store, "New", "n@e");
  EXPECT_EQ(ReadFileBytes(path), "; mine\n[Other]\nk=v\n[quorvel]\nname=New\nMAIL=n@e\n");
}

TEST(IniFileStore, AnOversizedFileReadsEmptyAndIsNeverWrittenOver) {
  TempFolder folder;
  DiskWriter writer;
  const std::string path = folder.File("Quorvel.ini");
  const std::string good = "[QUORVEL]\r\nNAME=Ann\r\n";

  // At the limit the file is still read.
  WriteFileBytes(path, good + std::string(kMaxProfileFileBytes - good.size(), ';'));
  EXPECT_EQ(IniFileStore(path, writer).ReadString("Quorvel", "Name", "-"), "Ann");

  // One byte more and it is taken as damaged.
  const std::string huge = good + std::string(kMaxProfileFileBytes - good.size() + 1, ';');
  WriteFileBytes(path, huge);
  std::string text;
  EXPECT_EQ(ReadProfileFile(path, text), ProfileFileState::TooLarge);
  IniFileStore store(path, writer);
  EXPECT_EQ(store.ReadString("Quorvel", "Name", "-"), "-");
  EXPECT_FALSE(store.WriteString("QUORVEL", "NAME", "Bob"));
  EXPECT_EQ(writer.writes, 0);
  EXPECT_EQ(ReadFileBytes(path).value_or("").size(), huge.size());
}

TEST(IniFileStore, AnUnreadablePathReadsEmptyAndIsNotWritten) {
  TempFolder folder;
  DiskWriter writer;
  // A folder where the file should be: it exists but cannot be read as a file.
  const std::string path = folder.File("Quorvel.ini");
  std::filesystem::create_directories(path);
  IniFileStore store(path, writer);
  EXPECT_EQ(store.ReadString("Quorvel", "Name", "-"), "-");
  EXPECT_FALSE(store.WriteString("QUORVEL", "NAME", "Bob"));
  EXPECT_EQ(writer.writes, 0);
}

TEST(IniFileStore, AMissingFileIsMissingNotDamaged) {
  TempFolder folder;
  std::string text = "stale";
  EXPECT_EQ(ReadProfileFile(folder.File("none.ini"), text), ProfileFileState::Missing);
  EXPECT_EQ(text, "");
}

TEST(ProfileLocation, ConfigFolderFromTheEnvironment) {
  struct Row {
    const char* xdg;
    const char* home;
    const char* expected;
  };
  const Row rows[] = {
      {"/cfg", "/home/ann", "/cfg/Quorvel.ini"},
      {"/cfg/", "/home/ann", "/cfg/Quorvel.ini"},
      {nullptr, "/home/ann", "/home/ann/.config/Quorvel.ini"},
      {"", "/home/ann", "/home/ann/.config/Quorvel.ini"},
      {"relative/cfg", "/home/ann", "/home/ann/.config/Quorvel.ini"},
      {"/", nullptr, "/Quorvel.ini"},
      {nullptr, nullptr, "Quorvel.ini"},
      {nullptr, "", "Quorvel.ini"},
  };
  for (const Row& r : rows) {
    EXPECT_EQ(ProfilePathFor(r.xdg, r.home), r.expected)
        << (r.xdg ? r.xdg : "(unset)") << " " << (r.home ? r.home : "(unset)");
  }
}

}  // namespace
}  // namespace quorvel
