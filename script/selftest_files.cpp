// The file battery of the self-test: a binary file written and read back through a handle, an integer
// and a real matrix (and their vectors) through binary files and CSV files, then the directory and file
// management words. It runs in a folder of the caller's choice or in a fresh temporary one.
#include <filesystem>
#include <random>
#include <stdexcept>

#include "core/errors.h"
#include "script/expression.h"

namespace zel {

namespace {

namespace fs = std::filesystem;

// A new folder under the system's temporary directory.
fs::path NewTemporaryFolder() {
  const fs::path base = fs::temp_directory_path();
  std::random_device random;
  for (int attempt = 0; attempt < 100; ++attempt) {
    const fs::path p = base / Fmt("zel-files-%08x", static_cast<unsigned>(random()));
    if (fs::create_directory(p)) return p;
  }
  ERaise("TestFileFunctions: cannot create a temporary folder in " + base.string());
}

// A path as a string literal of the language.
std::string Literal(const fs::path& p) {
  const std::string text = p.string();
  if (text.find('"') != std::string::npos) ERaise("TestFileFunctions: the path " + text + " holds a quote");
  return "\"" + text + "\"";
}

}  // namespace

void TZelExpression::TestFileFunctions(const std::string& folder) {
  if (!fFileAccess) ERaise("TestFileFunctions: file access is switched off");
  const bool temporary = folder.empty();
  const fs::path dir = temporary ? NewTemporaryFolder() : fs::path(folder);
  if (!temporary) fs::create_directories(dir);
  const std::string data = Literal(dir / "test2.dat"), copy = Literal(dir / "test2copy.dat");
  const std::string csvInt = Literal(dir / "test1.txt"), csvReal = Literal(dir / "test2.txt");
  const std::string subdir = Literal(dir / "Work1");
  for (const char* name : {"test2.dat", "test2copy.dat"}) fs::remove(dir / name);

  // Two integers written, the file closed and opened again, read back with positions and size.
  Run("(aFile) = FileOpen(" + data + ")");
  Run("FileWrite(aFile, 2)");
  Run("FileWrite(aFile, 4)");
  Test("FileClose(aFile)", true);
  Test("(aFile) = FileOpen(" + data + ")", true);
  Test("FileRead(aFile,\"integer\")", 2.0);
  Test("FilePosition(aFile)", 4.0);
  Test("FileSetPosition(aFile, 4)", true);
  Test("FileRead(aFile,\"INT32\")", 4.0);
  Test("FileSize(aFile)", 8.0);

  // An integer and a real matrix in binary form, then through CSV files.
  Run("ami = integer([1,2,3; 4,5,6; 7,8,9])");
  Run("am = [1.0,2,5; 4,5,6]");
  for (const char* suffix : {"", "(:)"}) {
    const std::string ami = std::string("ami") + suffix, am = std::string("am") + suffix;
    Run("FileSetPosition(aFile, 0)");
    Run("FileWrite(aFile, " + ami + ")");
    Run("FileWrite(aFile, " + am + ")");
    Run("FileSetPosition(aFile, 0)");
    TestVecInt("FileRead(aFile,\"integer\", 9)", {1, 2, 3, 4, 5, 6, 7, 8, 9});
    TestVec("FileRead(aFile,\"double\", 6)", {1, 2, 5, 4, 5, 6});
    Test("csvwrite(" + csvInt + ", " + ami + ")", true);
    Test("IsEqual(csvread(" + csvInt + ", \"integer\"), " + ami + ")", true);
    Test("csvwrite(" + csvReal + ", " + am + ")", true);
    Test("IsEqual(csvread(" + csvReal + "), " + am + ")", true);
  }
  Test("FileClose(aFile)", true);

  // Directories and file management.
  Test("DirectoryCreate(" + subdir + ")", true);
  Test("DirectoryExists(" + subdir + ")", true);
  Test("DirectoryDelete(" + subdir + ")", true);
  Test("DirectoryExists(" + subdir + ")", false);
  Test("FileCopy(" + data + ", " + copy + ")", true);
  Test("FileExists(" + copy + ")", true);
  Test("FileDelete(" + copy + ")", true);
  Test("FileMove(" + data + ", " + copy + ")", true);
  Test("FileExists(" + data + ")", false);
  Test("FileExists(" + copy + ")", true);
  Test("FileDelete(" + copy + ")", true);
  Test("FileExists(" + copy + ")", false);

  for (const char* name : {"aFile", "ami", "am"}) Undefine(name);
  ClearExpressions();
  if (temporary) fs::remove_all(dir);
}

}  // namespace zel
