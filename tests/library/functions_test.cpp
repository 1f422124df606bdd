// The words RegisterBuiltins hands to the compiler for its rewrites, in both concatenation variants, and a
// symbol table without duplicate names. (Twins, help texts and output arguments of the registration tables
// are checked through docs.functions_current and the function tests.)
#include <gtest/gtest.h>

#include "library_helper.h"

namespace zel::test {
namespace {

TEST(Registration, BuiltinsHandBackTheRewriteTargets) {
  const Functions& f = Functions::Get();
  const TBuiltinWords& refs = f.Refs();
  EXPECT_EQ(refs.select, f.Word("select"));
  EXPECT_EQ(refs.assign, f.Word("assign"));
  EXPECT_EQ(refs.colonOp, f.Word(":"));
  EXPECT_EQ(refs.assignOp, f.Word("="));
  for (bool alwaysReal : {true, false}) {
    const Functions& g = Functions::Get(alwaysReal);
    EXPECT_EQ(g.Refs().colConcat, g.Word("colconcat"));
    EXPECT_EQ(g.Refs().rowConcat, g.Word("rowconcat"));
  }
  EXPECT_NO_THROW(f.Words().CheckForDuplicates());
}

}  // namespace
}  // namespace zel::test
