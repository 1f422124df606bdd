// Whole-file helpers shared by every writer and reader of files: saving through a temporary file that
// replaces the target only once it is complete (a failed or interrupted save leaves the previous file as
// it was), and reading a whole file into memory in one go.
#pragma once

#include <functional>
#include <iosfwd>
#include <string>

namespace zel {

// Writes a file through `write`: the bytes go to a temporary file in the target's folder, which is flushed,
// synced and renamed over the target only when `write` returned and every byte reached the disk. With
// `append` the temporary file starts as a copy of the existing target (if any) and `write` adds to its end.
// An existing target's permission bits are kept. Raises ENubraException "Cannot create file: NAME" when
// the temporary file cannot be made and "Cannot write file: NAME" when writing or renaming fails (also
// when `write` raises because the stream refused its data); any other exception from `write` passes
// through. In every failing case the temporary file is removed and the
// target is untouched.
void SaveFileAtomically(const std::string& fileName, const std::function<void(std::ostream&)>& write,
                        bool append = false);

// The bytes of a file. Raises ENubraException "File not found: NAME" when it cannot be opened and
// "Cannot read file: NAME" when reading fails.
std::string LoadFileBytes(const std::string& fileName);

// Opens the file and hands the stream to `load`. Raises ENubraException "File not found: NAME" when the
// file cannot be opened; an ENubraException from `load` is raised again as "File NAME: MESSAGE".
void LoadFromFileStream(const std::string& fileName, const std::function<void(std::istream&)>& load);

// Runs `read`, which reads one part of a binary stream; an ENubraException it raises is raised again as
// "MESSAGE (reading WHAT at offset N)", N being the stream offset at which the part begins (left out for
// streams that cannot tell their position).
void ReadPart(std::istream& s, const std::string& what, const std::function<void()>& read);

}  // namespace zel
