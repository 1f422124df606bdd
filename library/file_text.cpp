// CSV files (csvRead, csvWrite) and file and directory management (FileExists, FileDelete,
// DirectoryExists, DirectoryCreate, DirectoryDelete, FileCopy, FileMove). A CSV file is read into memory
// in one go and parsed in place (core/csv.h); csvWrite builds the text in memory and saves it through a
// temporary file renamed over the target, so a failed write leaves the old file intact. The management
// words report failure through their boolean result.
#include <filesystem>
#include <ostream>

#include "core/csv.h"
#include "core/fileio.h"
#include "library/file_support.h"
#include "library/redirect.h"

namespace zel::files {

namespace {

namespace fs = std::filesystem;

// The kind of integer data a simple type reads as, or false for the types that read as reals.
bool IntKindOf(TSimpleType t, TCsvIntKind& kind, TIntPrecision& p) {
  switch (t) {
    case stInt8:
      kind = TCsvIntKind::Int8, p = prInt16;
      return true;
    case stInt16:
      kind = TCsvIntKind::Int16, p = prInt16;
      return true;
    case stInt32:
      kind = TCsvIntKind::Int32, p = prInt32;
      return true;
    case stUInt8:
      kind = TCsvIntKind::UInt8, p = prUInt8;
      return true;
    case stUInt16:
      kind = TCsvIntKind::UInt16, p = prInt32;
      return true;
    case stBoolean:
      kind = TCsvIntKind::Bool, p = prInt32;
      return true;
    default:
      return false;
  }
}

// csvRead(path[, type[, Delimiter]]): the file as a real, integer or boolean matrix.
void _CsvRead(TExprRec& e) {
  const std::string& path = TextArg(e, 0);
  const TSimpleType type = e.ArgCount > 1 ? SimpleTypeArg(e, 1) : stDouble;
  const std::string delimiter = e.ArgCount > 2 ? TextArg(e, 2) : ",";
  if (type == stString) ERaise("csvRead: the type string gives no matrix; use a number or boolean type");
  const std::string text = LoadFileBytes(path);
  TCsvIntKind kind{};
  TIntPrecision precision{};
  try {
    if (!IntKindOf(type, kind, precision)) {
      e.Res->DefineMatrix();
      CsvParseReal(text, delimiter, e.Res->MatrixValue());
    } else if (kind == TCsvIntKind::Bool) {
      e.Res->DefineBoolMatrix();
      CsvParseInt(text, delimiter, kind, precision, e.Res->BoolMatrixValue());
    } else {
      e.Res->DefineIntMatrix();
      CsvParseInt(text, delimiter, kind, precision, e.Res->IntMatrixValue());
    }
  } catch (const ENubraException& x) {
    ERaise("csvRead: " + path + ": " + x.what());
  }
}

// csvWrite(path, a[, Delimiter]): a vector (one value per line) or matrix (one row per line); true.
void _CsvWrite(TExprRec& e) {
  const TValueRec& a = *e.Args[1];
  if (e.Args[0]->ValueType() != vtString || (e.ArgCount > 2 && e.Args[2]->ValueType() != vtString))
    RaiseUnsupportedArgs(e);
  const std::string& path = TextArg(e, 0);
  const std::string delimiter = e.ArgCount > 2 ? TextArg(e, 2) : ",";
  std::string text;
  switch (a.ValueType()) {
    case vtVectorValue:
      text = CsvFormat(*a.VectorField(), delimiter);
      break;
    case vtMatrixValue:
      text = CsvFormat(*a.MatrixField(), delimiter);
      break;
    case vtIntVectorValue:
    case vtBoolVectorValue:
      text = CsvFormat(*a.IntVectorField(), delimiter);
      break;
    case vtIntMatrixValue:
    case vtBoolMatrixValue:
      text = CsvFormat(*a.IntMatrixField(), delimiter);
      break;
    default:
      RaiseUnsupportedArgs(e);
  }
  SaveFileAtomically(
      path, [&](std::ostream& out) { out.write(text.data(), static_cast<std::streamsize>(text.size())); });
  PutBool(e, true);
}

// The boolean result of a platform operation on one path.
template <bool (*Operation)(const fs::path&)>
void OnePath(TExprRec& e) {
  PutBool(e, Operation(TextArg(e, 0)));
}

template <bool (*Operation)(const fs::path&, const fs::path&)>
void TwoPaths(TExprRec& e) {
  const std::string& from = TextArg(e, 0);
  PutBool(e, Operation(from, TextArg(e, 1)));
}

bool IsFile(const fs::path& p) {
  std::error_code ec;
  return fs::exists(p, ec) && !fs::is_directory(p, ec);
}
bool DeleteFile(const fs::path& p) {
  std::error_code ec;
  return IsFile(p) && fs::remove(p, ec);
}
bool IsDirectory(const fs::path& p) {
  std::error_code ec;
  return fs::is_directory(p, ec);
}
// One level: the parent must exist; an existing directory gives false.
bool CreateDirectory(const fs::path& p) {
  std::error_code ec;
  return fs::create_directory(p, ec);
}
// Only an empty directory.
bool DeleteDirectory(const fs::path& p) {
  std::error_code ec;
  return IsDirectory(p) && fs::remove(p, ec);
}
// An existing destination file is overwritten.
bool CopyFile(const fs::path& from, const fs::path& to) {
  std::error_code ec;
  return IsFile(from) && fs::copy_file(from, to, fs::copy_options::overwrite_existing, ec);
}
// Renames within one file system; an existing destination is not replaced.
bool MoveFile(const fs::path& from, const fs::path& to) {
  std::error_code ec;
  if (!fs::exists(from, ec) || fs::exists(to, ec)) return false;
  fs::rename(from, to, ec);
  return !ec;
}

// clang-format off
constexpr TFileWordRow kRows[] = {
    {"csvRead", _CsvRead, 1, 0, true,
     "a = csvRead(\"C:\\Work\\File.txt\"): returns matrix read from the comma delimited text file."},
    {"csvRead", _CsvRead, 2, 0, true,
     "a = csvRead(\"C:\\Work\\File.txt\", \"integer\"): returns integer, boolean or double/complex matrix read from the text file delimited with commas."},
    {"csvRead", _CsvRead, 3, 0, true,
     "a = csvRead(\"C:\\Work\\File.txt\", \"integer\", Delimiter): returns integer, boolean or double/complex matrix read from the text file delimited with the Delimiter char."},
    {"csvWrite", _CsvWrite, 2, 0, true,
     "csvWrite(\"C:\\Work\\File.txt\", a): writes variable a, which must be vector or matrix, to comma delimited text file.",
     "csvwrite(\"C:\\Work\\File.txt\", a): writes variable a, which must be vector or matrix, to text file delimited with Delimiter."},
    {"csvWrite", _CsvWrite, 3, 0, true,
     "csvWrite(\"C:\\Work\\File.txt\", a, Delimiter): writes variable a, which must be vector or matrix, to comma delimited text file.",
     "csvwrite(\"C:\\Work\\File.txt\", a, Delimiter): writes variable a, which must be vector or matrix, to text file delimited with Delimiter."},
    {"FileExists", OnePath<IsFile>, 1, 0, true, "FileExists(\"C:\\Work\\File.txt\"): returns True, if the file exists."},
    {"FileDelete", OnePath<DeleteFile>, 1, 0, true, "FileDelete(\"C:\\Work\\File.txt\"): returns True, if file was deleted."},
    {"DirectoryExists", OnePath<IsDirectory>, 1, 0, true,
     "DirectoryExists(\"C:\\Work\\File.txt\"): returns True, if the directory exists."},
    {"DirectoryCreate", OnePath<CreateDirectory>, 1, 0, true,
     "DirectoryCreate(\"C:\\Work\\File.txt\"): returns True, if the directory was created."},
    {"DirectoryDelete", OnePath<DeleteDirectory>, 1, 0, true,
     "DirectoryDelete(\"C:\\Work\\File.txt\"): returns True, if the directory was deleted."},
    {"FileCopy", TwoPaths<CopyFile>, 2, 0, true, "FileCopy(\"Src.dat\", \"Dst.dat\"): returns True, if the file was copied."},
    {"FileMove", TwoPaths<MoveFile>, 2, 0, true, "FileMove(\"Src.dat\", \"Dst.dat\"): returns True, if the file was moved."},
};
// clang-format on

}  // namespace

std::span<const TFileWordRow> TextRows() { return kRows; }

}  // namespace zel::files
