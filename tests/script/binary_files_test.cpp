// The three binary layouts (value blob, context, workspace): every value type round-trips bit for bit,
// one small fixture per layout matches the documented bytes, and short or corrupt files fail with a
// message naming the file and the offset.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "core/fileio.h"
#include "lang/words/workspace.h"
#include "script/expression.h"
#include "support/core_helper.h"

namespace zel {
namespace {

using test::MessageOf;

// Bytes from hex pairs and quoted ASCII ('x'), blanks ignored.
std::string Bytes(const std::string& pairs) {
  std::string out;
  for (std::size_t i = 0; i < pairs.size(); ++i) {
    if (pairs[i] == ' ') continue;
    if (pairs[i] == '\'') {
      const std::size_t end = pairs.find('\'', i + 1);
      out += pairs.substr(i + 1, end - i - 1);
      i = end;
      continue;
    }
    out += static_cast<char>(std::stoi(pairs.substr(i, 2), nullptr, 16));
    ++i;
  }
  return out;
}

std::string Temp(const char* name) { return ::testing::TempDir() + name; }

// A context holding one variable of every type, made by a script (plus an undefined one).
void MakeContext(TExprContext& ctx) {
  TZelExpression x;
  x.SetExpressions(
      "d = -2.5\nr = 1:2:9\ner = 0.5:0.25:1.5\ns = \"t\xC3\xA9xt\"\nc = 1-2i\nv = [1.5, -2]\ni = 4294967303\n"
      "iv = integer([1, -2, 3])\nim = integer([1, 2; 3, 4])\nb = true\nbv = [1, 2] > 1\nbm = [1, 2; 3, 4] > "
      "2\n"
      "m = [1, 2; 3, 4+1i]\ncv = [1i, 2]");
  x.Evaluate();
  x.SaveContext(ctx);
  ctx.Variables().Add("u");
}

std::string Saved(const TExprContext& ctx) {
  std::ostringstream out;
  ctx.SaveToStream(out);
  return out.str();
}

TEST(BinaryFiles, EveryValueTypeRoundTripsThroughBlobContextAndWorkspace) {
  TExprContext ctx;
  MakeContext(ctx);
  ASSERT_EQ(ctx.Variables().Count(), 15);
  for (int k = 0; k < ctx.Variables().Count(); ++k) {
    const TValueRec& v = ctx.Variables().Items(k)->Value();
    SCOPED_TRACE(ctx.Variables().Items(k)->VarName());
    std::ostringstream out;
    const TValueType t = v.ValueType();
    if (t == vtRangeValue || t == vtString) {
      EXPECT_EQ(MessageOf([&] { v.WriteBinData(out); }), "TValueRec.WriteBinData: Unexpected value type");
      continue;
    }
    v.WriteBinData(out);
    std::istringstream in(out.str());
    TValueRec back;
    back.ReadBinData(in);
    std::ostringstream again;
    back.WriteBinData(again);
    EXPECT_EQ(again.str(), out.str());
    EXPECT_EQ(back.ValueType(), t);
    if (t == vtIntegerValue) {
      EXPECT_EQ(back.IntegerValue(), 7);  // 2^32 + 7 keeps its low 32 bits
    }
  }
  // Context: saved, loaded, saved again gives the same bytes and the same values.
  const std::string bytes = Saved(ctx);
  TExprContext loaded;
  std::istringstream in(bytes);
  loaded.LoadFromStream(in);
  EXPECT_EQ(Saved(loaded), bytes);
  // Workspace, through a file; lists with empty entries and scripts spanning lines come back whole.
  TExprWorkspace w;
  w.SetName("session");
  w.SetHistory({"a = 1", "", "b = a"});
  w.SetScripts({"x = 1\r\ny = 2", ""});
  w.SetScriptNames({"first", "second"});
  w.SetVariables(ctx);
  w.SaveToFile(Temp("round.zws"));
  TExprWorkspace w2;
  w2.LoadFromFile(Temp("round.zws"));
  EXPECT_EQ(w2.Name(), "session");
  EXPECT_EQ(w2.History(), w.History());
  EXPECT_EQ(w2.Scripts(), w.Scripts());
  EXPECT_EQ(w2.ScriptNames(), w.ScriptNames());
  EXPECT_EQ(Saved(w2.Variables()), bytes);
}

// The three fixtures: built by the code, compared with bytes written down from the layout tables.
TEST(BinaryFiles, FixturesMatchTheLayoutsByteForByte) {
  const char* kVec12 = "05 'ZV01' 02000000 01000000 000000000000F03F 0000000000000040";
  struct Blob {
    std::function<void(TValueRec&)> make;
    std::string bytes;
  } blobs[] = {
      {[](TValueRec& v) { v.DefineInteger(), v.SetIntegerValue(-1); }, Bytes("06 FFFFFFFF")},
      {[](TValueRec& v) { v.DefineBool(), v.SetBoolValue(true); }, Bytes("09 01000000")},
      {[](TValueRec& v) {
         v.DefineComplex(), v.SetComplexValue({1, -2});
       },
       Bytes("04 000000000000F03F 00000000000000C0")},
      {[](TValueRec& v) { v.DefineVector(), v.VectorValue().Size(2), v.VectorValue().Ramp(1.0, 1.0); },
       Bytes(kVec12)},
  };
  for (const Blob& b : blobs) {
    TValueRec v;
    b.make(v);
    std::ostringstream out;
    v.WriteBinData(out);
    EXPECT_EQ(out.str(), b.bytes);
  }
  // A bool payload of 2 reads as true.
  std::istringstream two(Bytes("09 02000000"));
  TValueRec b;
  b.ReadBinData(two);
  EXPECT_TRUE(b.BoolValue());

  // Context: expression "x", a plain range 1:2:9 and a custom value (no payload).
  TExprContext ctx;
  ctx.SetExpression("x");
  auto& r = ctx.Variables().Add("r")->Value();
  r.DefineRange();
  r.Range() = {1, 2, 9};
  TObject host;
  ctx.Variables().Add("h")->Value().DefineCustomValue(&host, false);
  const std::string context = Bytes(
      "01000000 'x' 02000000  01000000 'r' 02000000 00000000 03000000 01000000 02000000 09000000"
      "  01000000 'h' 0D000000");
  ctx.SaveToFile(Temp("fixture.zcx"));
  EXPECT_EQ(LoadFileBytes(Temp("fixture.zcx")), context);
  // Appending keeps the first context in front; a custom value comes back undefined.
  ctx.SaveToFile(Temp("fixture.zcx"), true);
  EXPECT_EQ(LoadFileBytes(Temp("fixture.zcx")), context + context);
  TExprContext first;
  first.LoadFromFile(Temp("fixture.zcx"));
  EXPECT_EQ(first.Variables().Count(), 2);
  EXPECT_EQ(first.Variables().FindByName("h")->Value().ValueType(), vtUndefined);

  TExprWorkspace w;
  w.SetName("w");
  w.SetHistory({"a"});
  w.SetScripts({"x=1"});
  w.SetScriptNames({"s"});
  w.SaveToFile(Temp("fixture.zws"));
  EXPECT_EQ(LoadFileBytes(Temp("fixture.zws")), Bytes("01000000 'w' 03000000 'a' 0D0A 0A000000 'x=1' 0D0A "
                                                      "'#!#' 0D0A 03000000 's' 0D0A 00000000 00000000"));
}

TEST(BinaryFiles, ShortAndCorruptFilesFailWithFileAndOffset) {
  TExprContext ctx;
  MakeContext(ctx);
  const std::string bytes = Saved(ctx);
  const std::string file = Temp("short.zcx");
  // Every truncation fails cleanly, naming the file and an offset.
  for (std::size_t n = 0; n < bytes.size(); n += 7) {
    std::ofstream(file, std::ios::binary | std::ios::trunc) << bytes.substr(0, n);
    TExprContext c;
    const std::string message = MessageOf([&] { c.LoadFromFile(file); });
    ASSERT_EQ(message.rfind("File " + file + ": Stream read error", 0), 0u) << n << ": " << message;
    ASSERT_NE(message.find(" at offset "), std::string::npos) << message;
  }
  std::ofstream(file, std::ios::binary | std::ios::trunc) << bytes.substr(0, 249);
  TExprContext c;
  EXPECT_EQ(MessageOf([&] { c.LoadFromFile(file); }),
            "File " + file +
                ": Stream read error: 4 bytes expected, only 1 left (reading the value of variable \"b\" at "
                "offset 244)");
  const struct {
    std::string bytes;
    std::string message;
  } corrupt[] = {
      {Bytes("00000000 02000000 01000000 'a' C8000000 01000000 'a' 01000000"),
       "TVariableCollection.Add: Can't add variable a. Variable already exists."},
      {Bytes("00000000 01000000 01000000 'v' 05000000 'ZM01'"),
       "LoadFromStream: expected a real or complex vector (tag ZV01) but found tag \"ZM01\" (reading the "
       "value of variable \"v\" at offset 13)"},
      {Bytes("00000000 01000000 01000000 'r' 02000000 00000000 FFFFFFFF"),
       "Stream read error: negative range bound count -1 (reading the value of variable \"r\" at offset 13)"},
  };
  for (const auto& k : corrupt) {
    std::istringstream in(k.bytes);
    TExprContext target;
    EXPECT_EQ(MessageOf([&] { target.LoadFromStream(in); }), k.message);
  }
  // Unknown type ordinals load as undefined variables; the variables before a failure stay.
  std::istringstream dup(corrupt[0].bytes);
  TExprContext kept;
  MessageOf([&] { kept.LoadFromStream(dup); });
  ASSERT_EQ(kept.Variables().Count(), 1);
  EXPECT_EQ(kept.Variables().Items(0)->Value().ValueType(), vtUndefined);
  // Blobs: ranges, strings, custom values and unknown ordinals are refused; a defined record keeps its type.
  for (const char* blob : {"02", "03", "0D", "FF"}) {
    std::istringstream in(Bytes(blob));
    TValueRec v;
    EXPECT_EQ(MessageOf([&] { v.ReadBinData(in); }), "TValueRec.ReadBinData: Unexpected value type") << blob;
  }
  std::istringstream in(Bytes("01 000000000000F03F"));
  TValueRec text;
  text.DefineString();
  EXPECT_NE(MessageOf([&] { text.ReadBinData(in); }).find("cannot be redeclared as \"double\""),
            std::string::npos);
}

// A component holding variables, as a host's component would.
struct VarHolder : TZelComponent {
  TVariableCollection vars;
  void WriteProperties(TProperties& dst) const override { vars.WriteProperties(dst, "V"); }
  void ReadProperties(const TProperties& src) override { vars.ReadProperties(src, "V"); }
};

TEST(BinaryFiles, VariablesRoundTripThroughComponentFiles) {
  TExprContext ctx;
  MakeContext(ctx);
  VarHolder saved, loaded;
  saved.vars.Assign(ctx.Variables());
  saved.vars.Add("h")->Value().DefineCustomValue(new TObject, true);
  for (const char* name : {"h", "r", "er", "s"}) {
    EXPECT_EQ(MessageOf([&] { saved.SaveToFile(Temp("vars.cfg")); }),
              "TValueRec.WriteBinData: Unexpected value type");
    saved.vars.Delete(saved.vars.IndexOf(saved.vars.FindByName(name)));
  }
  saved.SaveToFile(Temp("vars.cfg"));  // i = 2^32 + 7 keeps its low 32 bits, in hex
  EXPECT_NE(LoadFileBytes(Temp("vars.cfg")).find("=i\nV[6].Value.Data=0607000000\n"), std::string::npos);
  loaded.vars.Add("stale");  // replaced by the stored variables
  loaded.LoadFromFile(Temp("vars.cfg"));
  loaded.SaveToFile(Temp("vars2.cfg"));
  EXPECT_EQ(LoadFileBytes(Temp("vars2.cfg")), LoadFileBytes(Temp("vars.cfg")));
  const std::pair<const char*, const char*> broken[] = {
      {"1\nV[0].Value.Data=02", "TValueRec.ReadBinData: Unexpected value type"},
      {"1\nV[0].Value.Data=060",
       R"(Component stream read error: property "V[0].Value.Data" is not hex data)"},
      {"-1", R"(Component stream read error: property "V.Count" is not a variable count)"},
  };
  for (const auto& [props, message] : broken) {
    std::istringstream text(std::string("object TZelComponent\nV.Count=") + props + "\nend\n");
    EXPECT_EQ(MessageOf([&] { loaded.LoadFromStream(text); }), message);
  }
}

}  // namespace
}  // namespace zel
