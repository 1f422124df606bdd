// Saving through a temporary file renamed over the target, and reading whole files.
#include "core/fileio.h"

#include <atomic>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <istream>
#include <system_error>

#include "core/errors.h"

#if defined(__unix__) || defined(__APPLE__)
#include <fcntl.h>
#include <unistd.h>
#endif

namespace zel {

namespace {

namespace fs = std::filesystem;

// A name in the target's folder that no other save of this process uses at the same time.
std::string TemporaryName(const std::string& fileName) {
  static std::atomic<unsigned> counter{0};
#if defined(__unix__) || defined(__APPLE__)
  const long pid = static_cast<long>(getpid());
#else
  const long pid = 0;
#endif
  return fileName + Fmt(".%ld.%u.saving", pid, counter++);
}

// Pushes the temporary file's bytes to the disk before the rename makes them the target's.
bool SyncToDisk(const std::string& name) {
#if defined(__unix__) || defined(__APPLE__)
  const int fd = ::open(name.c_str(), O_RDONLY);
  if (fd < 0) return false;
  const bool ok = ::fsync(fd) == 0;
  return ::close(fd) == 0 && ok;
#else
  (void)name;
  return true;
#endif
}

}  // namespace

void SaveFileAtomically(const std::string& fileName, const std::function<void(std::ostream&)>& write,
                        bool append) {
  const std::string temporary = TemporaryName(fileName);
  std::error_code ec;
  const bool exists = fs::is_regular_file(fileName, ec);
  if (append && exists && !fs::copy_file(fileName, temporary, fs::copy_options::overwrite_existing, ec)) {
    fs::remove(temporary, ec);
    ERaise("Cannot create file: " + fileName);
  }
  const auto fail = [&](const std::string& message) {
    fs::remove(temporary, ec);
    ERaise(message + fileName);
  };
  {
    std::ofstream out(temporary, std::ios::binary | (append && exists ? std::ios::app : std::ios::trunc));
    if (!out) fail("Cannot create file: ");
    try {
      write(out);
    } catch (const ENubraException&) {
      const bool refused = !out;  // the stream failed under the writer: the file's fault, not the data's
      out.close();
      if (refused) fail("Cannot write file: ");
      fs::remove(temporary, ec);
      throw;
    } catch (...) {
      out.close();
      fs::remove(temporary, ec);
      throw;
    }
    out.flush();
    if (!out) fail("Cannot write file: ");
    out.close();
    if (!out) fail("Cannot write file: ");
  }
  if (!SyncToDisk(temporary)) fail("Cannot write file: ");
  if (exists) fs::permissions(temporary, fs::status(fileName, ec).permissions(), ec);
  if (std::rename(temporary.c_str(), fileName.c_str()) != 0) fail("Cannot write file: ");
}

std::string LoadFileBytes(const std::string& fileName) {
  std::ifstream in(fileName, std::ios::binary);
  if (!in) ERaise("File not found: " + fileName);
  std::string bytes;
  in.seekg(0, std::ios::end);
  const std::streamoff size = in.tellg();
  if (size < 0) in.clear();  // no size to tell: read to the end below
  in.seekg(0, std::ios::beg);
  if (size > 0) {
    bytes.resize(static_cast<std::size_t>(size));
    in.read(bytes.data(), size);
    if (in.gcount() != size) ERaise("Cannot read file: " + fileName);
  }
  // Files that grow while being read, or that report no size (pipes, /proc), are read to their end.
  char chunk[1 << 14];
  while (in.read(chunk, sizeof chunk) || in.gcount() > 0)
    bytes.append(chunk, static_cast<std::size_t>(in.gcount()));
  if (in.bad()) ERaise("Cannot read file: " + fileName);
  return bytes;
}

void LoadFromFileStream(const std::string& fileName, const std::function<void(std::istream&)>& load) {
  std::ifstream in(fileName, std::ios::binary);
  if (!in) ERaise("File not found: " + fileName);
  try {
    load(in);
  } catch (const ENubraException& e) {
    ERaise("File " + fileName + ": " + e.what());
  }
}

void ReadPart(std::istream& s, const std::string& what, const std::function<void()>& read) {
  const std::streamoff at = s.tellg();
  try {
    read();
  } catch (const ENubraException& e) {
    if (at < 0) ERaise(Fmt("%s (reading %s)", e.what(), what.c_str()));
    ERaise(Fmt("%s (reading %s at offset %lld)", e.what(), what.c_str(), static_cast<long long>(at)));
  }
}

}  // namespace zel
