// The file words of scripts: handles (typed reads and writes, positions, closing), CSV edge cases, the
// atomic csvwrite, the sandbox switch and the self-test battery.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>

#include <cmath>
#include <filesystem>
#include <fstream>

#include "core/fileio.h"
#include "script/expression.h"
#include "support/core_helper.h"

namespace zel {
namespace {

namespace fs = std::filesystem;
using test::MessageOf;

std::string Temp(const std::string& name) { return ::testing::TempDir() + name; }
void WriteText(const std::string& file, const std::string& text) {
  std::ofstream(file, std::ios::binary | std::ios::trunc) << text;
}
int OpenDescriptors() {
  return static_cast<int>(std::distance(fs::directory_iterator("/proc/self/fd"), fs::directory_iterator()));
}

// The value of the line: numbers and booleans as doubles.
double Number(TValueRec* v) {
  if (v->ValueType() == vtBoolValue) return v->BoolValue();
  return v->ValueType() == vtComplexValue ? std::abs(v->ComplexValue()) : v->DoubleValue();
}

TEST(FileWords, HandlesReadWriteAndSeek) {
  const std::string p = "\"" + Temp("handles.dat") + "\"";
  fs::remove(Temp("handles.dat"));
  TZelExpression x;
  const struct {
    std::string script;
    double expected;  // NaN: not checked
  } steps[] = {
      {"(h) = FileOpen(" + p + ")", 1},  // created empty
      {"FileSize(h)", 0},
      {"FileWrite(h, 3-4i)", NAN},
      {"FilePosition(h)", 16},  // a complex value is 16 bytes
      {"FileWrite(h, integer([-1, 2, 300]))", NAN},
      {"FileSetPosition(h, 0.4)", 1},
      {"FileRead(h, \"complex\")", 5},
      {"v = FileRead(h, \"int16\", 6)", NAN},  // six 16-bit halves of three int32
      {"FilePosition(h)", 28},
      {"v(0) + v(2) + v(4)", -1 + 2 + 300},
      {"FileSetPosition(h, 15.6)", 1},  // to the nearest: 16
      {"FileRead(h, \"INT32\")", -1},
      {"(h) = FileOpen(" + p + ")", 1},  // reopening closes the first stream; the content stays
      {"FileSize(h)", 28},
      {"FileRead(h, \"double\")", 3},
      {"FileClose(h)", 1},
  };
  const int before = OpenDescriptors();
  for (const auto& s : steps) {
    TValueRec* r = x.Run(s.script);
    if (!std::isnan(s.expected)) {
      EXPECT_DOUBLE_EQ(Number(r), s.expected) << s.script;
    }
  }
  EXPECT_EQ(x.GetVarByName("v")->IntVectorValue().IntPrecision(), prInt16);
  EXPECT_EQ(OpenDescriptors(), before);
  x.Run("FileClose(h)");  // a closed handle is left alone
  x.Run("(h) = FileOpen(" + p + ")");
  x.Run("s = \"text\"");
  const struct {
    std::string script, message;
  } errors[] = {
      {"FileRead(h, \"int64\")", "Unrecognized type: int64"},
      {"FileRead(h, \"string\", 2)", "ReadFileVector unsupported simple type!"},
      {"FileRead(h, \"double\", 5)",
       "FileRead: 40 bytes requested at offset 0 of " + Temp("handles.dat") + ", which has only 28 left"},
      {"FileWrite(h, 1:3)", "Unsupported value types: FileWrite ( custom object, range )"},
      {"FileSize(s)", "Unsupported value types: FileSize ( string )"},
      {"FileSetPosition(h, 30)", "<no exception>"},
      {"FileRead(h, \"double\")", "FileRead: Stream read error: 8 bytes expected, only 0 left (file " +
                                      Temp("handles.dat") + ", offset 30)"},
  };
  for (const auto& e : errors) EXPECT_EQ(MessageOf([&] { x.Run(e.script); }), e.message) << e.script;
  // The handle closes when the variable is undefined and when the expression object goes.
  x.Run("undefine(h)");
  EXPECT_EQ(OpenDescriptors(), before);
  {
    TZelExpression y;
    y.Run("(h) = FileOpen(" + p + ")");
    EXPECT_EQ(OpenDescriptors(), before + 1);
  }
  EXPECT_EQ(OpenDescriptors(), before);
}

TEST(FileWords, CsvEdgeCases) {
  const std::string file = Temp("edge.csv");
  const std::string prefix = "csvRead: " + file + ": ";
  const struct {
    const char* text;
    const char* args;  // after the path
    int rows, cols;
    std::vector<double> values;  // real part; NaN matches NaN
    const char* error = nullptr;
  } cases[] = {
      {"1,2\n3,4\n", "", 2, 2, {1, 2, 3, 4}},
      {"\xEF\xBB\xBF"
       "1;2\r\n\n  \r\n3;4",
       ", \"double\", \";\"",
       2,
       2,
       {1, 2, 3, 4}},
      {"\"1\", \" -2.5 \"\n", "", 1, 2, {1, -2.5}},
      {" 1  2\t3\n", ", \"double\", \" \"", 1, 3, {1, 2, 3}},
      {"1,,+3e-2,NAN,-inf\n", "", 1, 5, {1, NAN, 0.03, NAN, -INFINITY}},
      {"1+2i,3\n", "", 1, 2, {1, 3}},
      {"", "", 0, 0, {}},
      {"1,0,true,FALSE\n", ", \"boolean\"", 1, 4, {1, 0, 1, 0}},
      {"-128,255\n", ", \"int16\"", 1, 2, {-128, 255}},
      {"1,2\n3\n",
       "",
       0,
       0,
       {},
       "Line 2 holds 1 field where line 1 holds 2: every row of a matrix needs the same number"},
      {"1,x\n", "", 0, 0, {}, "Line 1, field 2: \"x\" is not a number"},
      {"\"1,2\n", "", 0, 0, {}, "Line 1, field 1: the quoted field is not closed on its line"},
      {"\"1\"x,2\n", "", 0, 0, {}, "Line 1, field 1: text follows the closing quote"},
      {"300\n", ", \"int8\"", 0, 0, {}, "Line 1, field 1: \"300\" is out of the range of an 8-bit integer"},
      {"1,,3\n", ", \"integer\"", 0, 0, {}, "Line 1, field 2: the field is empty"},
      {"1.5\n", ", \"integer\"", 0, 0, {}, "Line 1, field 1: \"1.5\" is not an integer"},
  };
  TZelExpression x;
  for (const auto& c : cases) {
    WriteText(file, c.text);
    const std::string script = "csvread(\"" + file + "\"" + c.args + ")";
    SCOPED_TRACE(script + " on " + c.text);
    if (c.error) {
      EXPECT_EQ(MessageOf([&] { x.Run(script); }), prefix + c.error);
      continue;
    }
    TValueRec* r = x.Run(script);
    std::vector<double> got;
    if (r->ValueType() == vtMatrixValue) {
      for (TCplx z : test::CValues(r->MatrixValue())) got.push_back(z.real());
    } else {
      for (int v : test::Values(r->IntElements())) got.push_back(v);
    }
    ASSERT_EQ(got.size(), c.values.size());
    for (std::size_t k = 0; k < got.size(); ++k)
      EXPECT_TRUE(got[k] == c.values[k] || (std::isnan(got[k]) && std::isnan(c.values[k]))) << k;
    const TNubra& m =
        r->ValueType() == vtMatrixValue ? static_cast<const TNubra&>(r->MatrixValue()) : r->IntElements();
    EXPECT_EQ(m.Rows() * 100 + m.Cols(), c.rows * 100 + c.cols);
  }
  // Written text reads back to the same doubles.
  x.Run("m = [0.1+0.2, 1/3; -1e-300, 2^60]");
  x.Run("csvwrite(\"" + file + "\", m)");
  EXPECT_TRUE(x.Run("IsEqual(csvread(\"" + file + "\"), m)")->BoolValue());
  EXPECT_EQ(MessageOf([&] { x.Run("csvwrite(\"" + file + "\", \"s\")"); }),
            "Unsupported value types: csvwrite ( string, string )");
}

// A write that fails half way (the file size limit) leaves the old file as it was and no temporary file.
TEST(FileWords, FailedWritesKeepTheOldFile) {
  const std::string dir = Temp("atomic/");
  fs::remove_all(dir);
  fs::create_directories(dir);
  TZelExpression x;
  x.Run("big = (1:300000) * 1.5");
  const struct {
    const char* file;
    std::function<void(const std::string&)> write;
  } writers[] = {
      {"big.csv", [&](const std::string& f) { x.Run("csvwrite(\"" + f + "\", big)"); }},
      {"ctx.zcx",
       [&](const std::string& f) {
         TExprContext c;
         x.SaveContext(c);
         c.SaveToFile(f, true);
       }},
  };
  for (const auto& w : writers) {
    const std::string file = dir + w.file;
    WriteText(file, "old contents");
    struct sigaction ignore {
    }, previous{};
    ignore.sa_handler = SIG_IGN;
    sigaction(SIGXFSZ, &ignore, &previous);
    rlimit saved{};
    getrlimit(RLIMIT_FSIZE, &saved);
    rlimit small = saved;
    small.rlim_cur = 64 * 1024;
    setrlimit(RLIMIT_FSIZE, &small);
    const std::string message = MessageOf([&] { w.write(file); });
    setrlimit(RLIMIT_FSIZE, &saved);
    sigaction(SIGXFSZ, &previous, nullptr);
    EXPECT_NE(message.find("Cannot write file: " + file), std::string::npos) << message;
    EXPECT_EQ(LoadFileBytes(file), "old contents");
  }
  EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 2);
}

TEST(FileWords, SandboxRemovesTheFileWords) {
  TZelExpression x;
  x.SetFileAccess(false);
  for (const char* script : {"FileExists(\"/\")", "(h) = fileopen(\"x\")", "csvRead(\"x\")"})
    EXPECT_EQ(MessageOf([&] { x.Run(script); }),
              "Unrecognized function or value select called on undefined variable!")
        << script;
  x.SetFileAccess(true);
  EXPECT_TRUE(x.Run("DirectoryExists(\"/\")")->BoolValue());
}

TEST(FileWords, SelfTestBattery) {
  TZelExpression x;
  x.TestFileFunctions();
  const std::string folder = Temp("battery");
  x.TestFileFunctions(folder);
  EXPECT_TRUE(fs::is_directory(folder));
}

}  // namespace
}  // namespace zel
