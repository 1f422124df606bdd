// The interactive session's handling of typed lines: commands, blocks, discarding, completion, who.
#include "apps/zel/session.h"

#include <gtest/gtest.h>

#include <sstream>

namespace zel::app {
namespace {

// A session fed line by line, keeping what it printed.
struct Typed {
  TZelExpression expr;
  TReplSession session{expr};
  std::ostringstream out, err;
  TReplSession::TAction Type(const std::string& line) { return session.HandleLine(line, out, err); }
  std::string Out() { return std::exchange(out, {}).str(); }
};

TEST(Session, CommandsAtTheTopLevel) {
  Typed t;
  EXPECT_EQ(t.Type("help"), TReplSession::TAction::Continue);
  EXPECT_NE(t.Out().find("exit, quit"), std::string::npos);
  t.Type("help sqrt");
  EXPECT_EQ(t.Out(), "sqrt(x): square root of 'x'\n");
  t.Type("help nosuch");
  EXPECT_EQ(t.Out(), "no help for 'nosuch': it is not a function, operator, constant or variable\n");
  t.Type("who");
  EXPECT_EQ(t.Out(), "no variables\n");
  t.Type("a = 2.5;");
  t.Type("vec = [1, 2, 3];");  // brackets build real vectors
  t.Type("m = [1i, 2; 3, 4];");
  t.Type("undefinedname");  // an error; the name the compiler created holds no value and is not listed
  t.Type("who");
  EXPECT_EQ(t.Out(), "a    double\nm    complex matrix 2x2\nvec  vector 1x3\n");
  t.Type("help a");
  EXPECT_EQ(t.Out(), "a is a variable: double\n");
  EXPECT_EQ(t.err.str(), "error: 'undefinedname' is not defined\n");
  EXPECT_EQ(t.Type("  quit "), TReplSession::TAction::Quit);
  EXPECT_EQ(t.Type("exit"), TReplSession::TAction::Quit);
}

TEST(Session, BlocksRunOnceCompleteAndCanBeDiscarded) {
  Typed t;
  t.Type("s = 0");
  EXPECT_EQ(t.Out(), "s(integer) = 0\n");
  t.Type("for i = 1:3");
  EXPECT_TRUE(t.session.InBlock());
  EXPECT_STREQ(t.session.Prompt(), "...> ");
  t.Type("exit");  // inside a block a line is script, not a command
  t.Type("end");
  EXPECT_FALSE(t.session.InBlock());
  EXPECT_EQ(t.err.str(), "line 2: error: 'exit' is not defined\n    exit\n");

  t.Type("while true");
  t.Type("s = s + 1;");
  EXPECT_TRUE(t.session.DiscardBlock());
  EXPECT_FALSE(t.session.DiscardBlock());
  t.Type("s");
  EXPECT_EQ(t.Out(), "s(integer) = 0\n");  // the discarded loop never ran

  // A cancel left over from Ctrl-C at the prompt does not stop the next statement.
  t.expr.RequestCancel();
  t.Type("s = s + 1");
  EXPECT_EQ(t.Out(), "s(integer) = 1\n");
}

TEST(Session, CompletesSymbolNamesNotFiles) {
  Typed t;
  t.Type("sqrtval = 2;");
  EXPECT_EQ(t.session.Completions("sqr"),
            (std::vector<std::string>{"sqr", "sqrt", "sqrt2", "sqrt2div2", "sqrt2pi", "sqrtpi", "sqrtval"}));
  EXPECT_EQ(t.session.Completions("wh"), (std::vector<std::string>{"while", "who"}));
  EXPECT_TRUE(t.session.Completions("./").empty());
}

}  // namespace
}  // namespace zel::app
