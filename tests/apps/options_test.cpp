// The command line of zel: what each argument list asks for, and the message for one that cannot run.
#include "apps/zel/options.h"

#include <gtest/gtest.h>

namespace zel::app {
namespace {

// "ok" when the arguments parse, else the usage error's message.
std::string Outcome(const std::vector<std::string>& args, TOptions* parsed = nullptr) {
  try {
    TOptions o = ParseOptions(args);
    if (parsed) *parsed = o;
    return "ok";
  } catch (const TUsageError& e) {
    return e.what();
  }
}

TEST(Options, ReadsSourcesCommandsAndLimitsInAnyOrder) {
  TOptions o;
  ASSERT_EQ(Outcome({"--max-memory", "64M", "script.zel", "--no-files", "--max-steps=500"}, &o), "ok");
  EXPECT_EQ(o.command, TCommand::Run);
  EXPECT_EQ(o.source, TSource::File);
  EXPECT_EQ(o.file, "script.zel");
  EXPECT_EQ(o.maxSteps, 500u);
  EXPECT_EQ(o.maxMemory, std::size_t{64} << 20);
  EXPECT_TRUE(o.noFiles);

  ASSERT_EQ(Outcome({"-e", "x = 1\ny = 2"}, &o), "ok");
  EXPECT_EQ(o.source, TSource::Text);
  EXPECT_EQ(o.text, "x = 1\ny = 2");
  EXPECT_FALSE(o.maxMemory.has_value());  // the default cap applies

  ASSERT_EQ(Outcome({"--", "-odd-name.zel"}, &o), "ok");
  EXPECT_EQ(o.file, "-odd-name.zel");
  ASSERT_EQ(Outcome({"--markdown", "--functions", "--all"}, &o), "ok");
  EXPECT_EQ(o.symbols, "functions");
  EXPECT_TRUE(o.markdown && o.all);
  ASSERT_EQ(Outcome({}, &o), "ok");
  EXPECT_EQ(o.source, TSource::Default);
}

TEST(Options, RefusesWhatItCannotUseByName) {
  const struct {
    std::vector<std::string> args;
    const char* message;
  } cases[] = {
      {{"--bogus"}, "unknown option '--bogus'"},
      {{"--help=yes"}, "unknown option '--help=yes'"},
      {{"a.zel", "b.zel"}, "unexpected argument 'b.zel'"},
      {{"-e", "1", "-"}, "unexpected argument '-'"},
      {{"--functions", "--operators"}, "unexpected argument '--operators'"},
      {{"--version", "a.zel"}, "unexpected argument 'a.zel'"},
      {{"-e"}, "option '-e' needs a value"},
      {{"--max-steps"}, "option '--max-steps' needs a value"},
      {{"--max-steps", "-3"}, "invalid count '-3' for --max-steps"},
      {{"--max-memory", "1.5G"}, "invalid size '1.5G' for --max-memory (examples: 64M, 2G, 1048576)"},
      {{"--max-memory", "99999999999T"},
       "invalid size '99999999999T' for --max-memory (examples: 64M, 2G, 1048576)"},
      {{"--all"}, "--markdown and --all go with --functions, --operators or --constants"},
      {{"--constants", "--all"}, "--all goes with --functions"},
  };
  for (const auto& c : cases) EXPECT_EQ(Outcome(c.args), c.message) << c.args[0];
}

TEST(Options, SizesTakeBinarySuffixes) {
  const struct {
    const char* text;
    std::size_t bytes;
  } cases[] = {{"4096", 4096},
               {"0", 0},
               {"1k", 1024},
               {"64M", 64u << 20},
               {"2G", std::size_t{2} << 30},
               {"1T", std::size_t{1} << 40}};
  for (const auto& c : cases) EXPECT_EQ(ParseSize(c.text, "--max-memory"), c.bytes) << c.text;
  EXPECT_THROW(ParseSize("G", "--max-memory"), TUsageError);
  EXPECT_THROW(ParseSize("", "--max-memory"), TUsageError);
}

}  // namespace
}  // namespace zel::app
