// Binary stream primitives. Every number is little-endian; a string is an Int32 byte count followed by
// its UTF-8 bytes. Reading past the end raises ENubraException.
#pragma once

#include <cstdint>
#include <iosfwd>
#include <string>

namespace zel {

void StreamWriteString(std::ostream& s, const std::string& value);
void StreamWriteInt32(std::ostream& s, std::int32_t value);
void StreamWriteDouble(std::ostream& s, double value);
void StreamWriteBytes(std::ostream& s, const void* data, std::size_t count);

std::string StreamReadString(std::istream& s);
std::int32_t StreamReadInt32(std::istream& s);
double StreamReadDouble(std::istream& s);
void StreamReadBytes(std::istream& s, void* data, std::size_t count);

}  // namespace zel
