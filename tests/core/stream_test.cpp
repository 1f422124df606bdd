// Binary stream primitives and the save/load of every dense object kind.
#include "core/stream.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <bit>
#include <climits>
#include <cmath>
#include <limits>
#include <memory>
#include <sstream>
#include <string>
#include <type_traits>
#include <vector>

#include "core/errors.h"
#include "core/nubra.h"

namespace zel::test {
namespace {

using ::testing::HasSubstr;

std::string Bytes(std::initializer_list<int> b) {
  std::string s;
  for (int c : b) s += static_cast<char>(c);
  return s;
}

std::string Saved(const TNubra& x) {
  std::ostringstream out;
  x.SaveToStream(out);
  return out.str();
}

// A stream buffer over a string that cannot seek, like a pipe.
struct PipeBuf : std::streambuf {
  explicit PipeBuf(std::string d) : data(std::move(d)) {
    setg(data.data(), data.data(), data.data() + data.size());
  }
  std::string data;
};

// The ENubraException message `read` raises on `data`, or "no error".
template <class Read>
std::string ErrorOf(const std::string& data, bool seekable, Read read) {
  std::istringstream in(data);
  PipeBuf pipe(data);
  std::istream unseekable(&pipe);
  try {
    read(seekable ? static_cast<std::istream&>(in) : unseekable);
  } catch (const ENubraException& e) {
    return e.what();
  }
  return "no error";
}

// Loads a stream into a fresh object of kind T.
template <class T>
void Load(std::istream& s) {
  T().LoadFromStream(s);
}

TEST(StreamPrimitives, LittleEndianRoundTripsAndBadStrings) {
  std::stringstream s;
  StreamWriteInt32(s, 0x01020304);
  StreamWriteDouble(s, 1.0);
  StreamWriteString(s, "h\xC3\xA9");
  EXPECT_EQ(s.str(), Bytes({4, 3, 2, 1, 0, 0, 0, 0, 0, 0, 0xF0, 0x3F, 3, 0, 0, 0, 'h', 0xC3, 0xA9}));
  const std::string big(200000, 'x');
  StreamWriteDouble(s, std::numeric_limits<double>::quiet_NaN());
  StreamWriteString(s, big);
  StreamWriteInt32(s, INT32_MIN);
  EXPECT_EQ(StreamReadInt32(s), 0x01020304);
  EXPECT_EQ(StreamReadDouble(s), 1.0);
  EXPECT_EQ(StreamReadString(s), "h\xC3\xA9");
  EXPECT_TRUE(std::isnan(StreamReadDouble(s)));
  EXPECT_EQ(StreamReadString(s), big);
  EXPECT_EQ(StreamReadInt32(s), INT32_MIN);
  EXPECT_THROW(StreamReadInt32(s), ENubraException);

  const auto readString = [](std::istream& in) { StreamReadString(in); };
  for (bool seekable : {true, false}) {
    EXPECT_EQ(ErrorOf(Bytes({0xFF, 0xFF, 0xFF, 0xFF}), seekable, readString),
              "Stream read error: negative string length -1");
    for (const std::string& data : {Bytes({5, 0, 0, 0, 'a', 'b'}), Bytes({0xFF, 0xFF, 0xFF, 0x7F, 'a'})})
      EXPECT_THAT(ErrorOf(data, seekable, readString), HasSubstr("Stream read error"));
  }
}

TEST(StreamObjects, LayoutOfARealVector) {
  TVec v(2);
  v.Ramp(1, 1);
  EXPECT_EQ(Saved(v), Bytes({'Z', 'V', '0', '1', 2,    0,    0, 0, 1, 0, 0, 0, 0, 0,
                             0,   0,   0,   0,   0xF0, 0x3F, 0, 0, 0, 0, 0, 0, 0, 0x40}));
}

template <class T, class... Args>
void CheckRoundTripAndTruncations(Args... args) {
  T original(args...);
  if constexpr (std::is_base_of_v<TNubraVec, T>) {
    for (int i = 0; i < original.ScalarCount(); ++i) original.Values(i) = i * 1.25 - 3;
  } else {
    original.Ramp(-3, 77);
  }
  const std::string full = Saved(original);
  std::istringstream in(full + "tail");
  T loaded;
  loaded.LoadFromStream(in);
  EXPECT_EQ(Saved(loaded), full);  // same kind, shape, precision and bits
  std::string rest;
  in >> rest;
  EXPECT_EQ(rest, "tail");
  for (std::size_t cut = 0; cut < full.size(); ++cut)
    for (bool seekable : {true, false})
      EXPECT_NE(ErrorOf(full.substr(0, cut), seekable, Load<T>), "no error");
}

TEST(StreamObjects, EveryKindRoundTripsAndEveryTruncationRaises) {
  CheckRoundTripAndTruncations<TVec>(5);
  CheckRoundTripAndTruncations<TVec>(3, true);
  CheckRoundTripAndTruncations<TVec>(0);
  CheckRoundTripAndTruncations<TZel>(3, 2);
  CheckRoundTripAndTruncations<TZel>(2, 3, true);
  CheckRoundTripAndTruncations<TZel>(0, 4);
  for (TIntPrecision p : {prInt32, prInt16, prUInt8}) {
    CheckRoundTripAndTruncations<TVecInt>(6, p);
    CheckRoundTripAndTruncations<TZelInt>(3, 2, p);
  }
}

TEST(StreamObjects, BadTagsAndHeadersRaise) {
  const auto header = [](const char* tag, std::vector<std::int32_t> fields) {
    std::ostringstream s;
    s.write(tag, 4);
    for (auto f : fields) StreamWriteInt32(s, f);
    return s.str();
  };
  for (bool seekable : {true, false}) {
    EXPECT_THAT(ErrorOf(Saved(TZel(1, 1)), seekable, Load<TVec>),
                HasSubstr("expected a real or complex vector (tag ZV01) but found tag \"ZM01\""));
    EXPECT_THAT(ErrorOf(Bytes({'Z', 'V', 0, 1}), seekable, Load<TVec>), HasSubstr("\"ZV\\x00\\x01\""));
    EXPECT_THAT(ErrorOf(header("ZV01", {-1, npDouble}), seekable, Load<TVec>),
                HasSubstr("negative length -1"));
    EXPECT_THAT(ErrorOf(header("ZV01", {2, 7}), seekable, Load<TVec>),
                HasSubstr("invalid floating precision 7"));
    EXPECT_THAT(ErrorOf(header("ZM01", {INT_MAX, INT_MAX, 1}), seekable, Load<TZel>), HasSubstr("too large"));
    EXPECT_THAT(ErrorOf(header("ZI01", {3, 5}), seekable, Load<TVecInt>),
                HasSubstr("invalid integer precision 5"));
    EXPECT_THAT(ErrorOf(header("ZJ01", {2, -2, 0}), seekable, Load<TZelInt>),
                HasSubstr("negative column count -2"));
    // A huge count with no data behind it fails on the data, without allocating for it first.
    EXPECT_THAT(ErrorOf(header("ZV01", {INT_MAX / 2, 3}), seekable, Load<TVec>),
                HasSubstr("Stream read error"));
    EXPECT_THAT(ErrorOf(header("ZI01", {INT_MAX / 2, 0}), seekable, Load<TVecInt>),
                HasSubstr("Stream read error"));
  }
}

}  // namespace
}  // namespace zel::test
