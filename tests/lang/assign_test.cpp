// Plain assignment x = y and indexed assignment a(index) = y.
#include <gtest/gtest.h>

#include <map>
#include <set>

#include "support/oper_helper.h"

namespace zel::test {
namespace {

std::string Assign(TValueRec& dst, TValueRec& src) {
  return MessageOf([&] { NodeRunner("=", {&dst, &src}).EvalTwice(); });
}
std::string Assign3(TValueRec& dst, TValueRec& idx, TValueRec& src) {
  return MessageOf([&] { NodeRunner("assign", {&dst, &idx, &src}).EvalTwice(); });
}
// One evaluation, for sources that change when the destination does (views into it).
std::string AssignOnce(const std::string& op, std::vector<TValueRec*> args) {
  return MessageOf([&] { NodeRunner(op, args).Eval(); });
}

constexpr const char* kNone = "<no exception>";

// ---- plain assignment ----------------------------------------------------------------------------------

// The accepted sources of every destination type; everything else is refused and x keeps its type. An
// undefined x takes the type of any value except a custom object.
TEST(Assign, DestinationTableOverAllTypePairs) {
  using S = std::set<TValueType>;
  const TValueType D = vtDoubleValue, R = vtRangeValue, C = vtComplexValue, V = vtVectorValue,
                   I = vtIntegerValue, IV = vtIntVectorValue, IM = vtIntMatrixValue, B = vtBoolValue,
                   BV = vtBoolVectorValue, BM = vtBoolMatrixValue, M = vtMatrixValue;
  const std::map<TValueType, S> accepted = {
      {vtUndefined, {D, R, vtString, C, V, I, IV, IM, B, BV, BM, M}},
      {D, {D, I, B}},
      {I, {I, B}},
      {B, {B}},
      {C, {C, D, I, B}},
      {vtString, {vtString}},
      {R, {R}},
      {V, {V, R, D, I, C, B}},
      {IV, {IV, R, I, B}},
      {IM, {IM, IV, R, I, B}},
      {BV, {BV, B}},
      {BM, {BM, BV, B}},
      {M, {M, V, R, D, I, C, B}},
      {vtCustomValue, {}},
  };
  for (const auto& [dt, sources] : accepted) {
    for (int s = 0; s < ValueTypeCount; ++s) {
      const auto st = static_cast<TValueType>(s);
      Val dst = Sample(dt), src = Sample(st);
      const TValueType shown = dt == vtUndefined ? st : dt;
      const std::string expected = sources.count(st) ? kNone
                                   : st == vtUndefined
                                       ? UnknownExprWord
                                       : Fmt("Unsupported type combination for assignment: ( %s ) = ( %s )",
                                             ValTypeName(shown), ValTypeName(st));
      EXPECT_EQ(Assign(*dst, *src), expected) << ValTypeName(dt) << " = " << ValTypeName(st);
      EXPECT_EQ(dst->ValueType(), sources.count(st) ? shown : dt) << "the destination keeps its type";
    }
  }
}

TEST(Assign, TypePersistsAcrossAssignments) {
  Val x = Undef(), r1 = Range({1, 5}), r2 = ExtRange({0.5, 2});
  ASSERT_EQ(Assign(*x, *r1), kNone);
  EXPECT_EQ(x->ValueType(), vtRangeValue);
  EXPECT_FALSE(x->ExtRange());
  EXPECT_EQ(x->Range(), (std::vector<std::int32_t>{1, 5}));
  EXPECT_EQ(Assign(*x, *r2), "Cannot assign a real valued range to an integer range!");

  Val y = Undef(), r3 = ExtRange({0.5, 0.5, 2}), r4 = Range({1, 2});
  ASSERT_EQ(Assign(*y, *r3), kNone);
  EXPECT_TRUE(y->ExtRange());
  EXPECT_EQ(Values(*y->ExtRangeValue()), (std::vector<double>{0.5, 0.5, 2}));
  EXPECT_EQ(Assign(*y, *r4), "Cannot assign an integer valued range to a real range!");

  Val i = Int(1), d = Dbl(2.5);
  EXPECT_EQ(Assign(*i, *d), "Unsupported type combination for assignment: ( integer ) = ( double )");
  EXPECT_EQ(i->IntegerValue(), 1);
}

TEST(Assign, ConvertsIntoTheDestinationType) {
  CheckCases({
      {"=", {"0.0", "3"}, "double 3"},
      {"=", {"0.0", "true"}, "double 1"},
      {"=", {"0", "true"}, "integer 1"},
      {"=", {"0+0i", "2"}, "complex 2+0i"},
      {"=", {"0+0i", "true"}, "complex 1+0i"},
      {"=", {"0+0i", "1-2i"}, "complex 1-2i"},
      {"=", {"'a'", "'b c'"}, "string b c"},
      {"=", {"[1,2,3,4]", "7"}, "vector 7; 7; 7; 7"},  // every element, the length stays
      {"=", {"[1,2]", "0+1i"}, "vector 0+1i; 0+1i"},   // a real vector becomes complex
      {"=", {"[1]", "[4,5,6]"}, "vector 4; 5; 6"},     // copy takes the source's length
      {"=", {"[1]", "3:1"}, "vector 3; 2; 1"},         // expanded
      {"=", {"[1]", "~0:0.5:1"}, "vector 0; 0.5; 1"},  // expanded
      {"=", {"i[1,2,3]", "true"}, "integer vector 1; 1; 1"},
      {"=", {"i[1,2,3]", "4294967301"}, "integer vector 5; 5; 5"},  // low 32 bits
      {"=", {"i[1,2;3,4]", "9"}, "integer matrix 9,9; 9,9"},
      {"=", {"i[0;]", "i[1,2]"}, "integer matrix 1,2"},  // 1 x n
      {"=", {"i[0;]", "1:3"}, "integer matrix 1,2,3"},
      {"=", {"b[0,0]", "true"}, "bool vector 1; 1"},
      {"=", {"b[0;]", "b[1,0,1]"}, "bool matrix 1,0,1"},
      {"=", {"[0;]", "[1,2]"}, "matrix 1,2"},
      {"=", {"[0;0]", "1.5"}, "matrix 1.5; 1.5"},
  });
}

TEST(Assign, IntegerRangeIsExpandedInTheDestinationPrecision) {
  Val iv = IntVec({0}, prInt16), r = Range({1, 3});
  ASSERT_EQ(Assign(*iv, *r), kNone);
  EXPECT_EQ(iv->IntVectorValue().IntPrecision(), prInt16);
  EXPECT_EQ(Values(iv->IntVectorValue()), (std::vector<int>{1, 2, 3}));
  Val ext = ExtRange({1, 3});
  EXPECT_EQ(Assign(*iv, *ext), "Unsupported type combination for assignment: ( integer vector ) = ( range )");
}

// Host objects are written in place and never replaced, whatever the source.
TEST(Assign, HostObjectsAreWrittenInPlace) {
  TVec host(2);
  TVectorValue x(&host);
  Val sources[] = {Vec({1, 2, 3}), Range({4, 6}), Dbl(8)};
  const std::vector<double> expected[] = {{1, 2, 3}, {4, 5, 6}, {8, 8, 8}};
  for (int i = 0; i < 3; ++i) {
    ASSERT_EQ(Assign(x, *sources[i]), kNone);
    EXPECT_EQ(x.VectorField(), &host);
    EXPECT_FALSE(x.IsOwned());
    EXPECT_EQ(Values(host), expected[i]);
  }
  TVecInt hostInt(1, prUInt8);
  TIntVectorValue iv(&hostInt);
  Val r = Range({250, 252});
  ASSERT_EQ(Assign(iv, *r), kNone);
  EXPECT_EQ(iv.IntVectorField(), &hostInt);
  EXPECT_EQ(Values(hostInt), (std::vector<int>{250, 251, 252}));
}

// An owned vector takes over the storage of a range expanded by the previous node; a range held by a
// variable is expanded but keeps its own storage.
TEST(Assign, RangeFromAnIntermediateResultIsTakenOver) {
  // x = a:b compiled: the colon node's result is the assignment's source.
  Val x = Vec({0}), a = Int(1), b = Int(4);
  NodeRunner colon(":", {a.get(), b.get()});
  NodeRunner run("=", {x.get(), colon.Node().tmpRes.get()});
  run.Node().ArgList[1] = &colon.Node();
  for (int pass = 0; pass < 2; ++pass) {
    b->SetIntegerValue(4 + pass);
    colon.Eval();
    run.Eval();
    EXPECT_EQ(Values(x->VectorValue()),
              pass == 0 ? (std::vector<double>{1, 2, 3, 4}) : (std::vector<double>{1, 2, 3, 4, 5}));
    EXPECT_TRUE(x->IsOwned());
    EXPECT_EQ(colon.Node().tmpRes->VectorField(), x->VectorField()) << "no copy";
    EXPECT_FALSE(colon.Node().tmpRes->IsOwned());
  }

  Val y = Vec({0}), variable = Range({1, 2});
  TVec* own = y->VectorField();
  ASSERT_EQ(Assign(*y, *variable), kNone);
  EXPECT_EQ(y->VectorField(), own);
  EXPECT_NE(variable->VectorField(), own);
  EXPECT_TRUE(variable->IsOwned());
  EXPECT_EQ(Values(variable->VectorValue()), (std::vector<double>{1, 2}));
}

// v = v(1:2): the source is a view into v's own storage.
TEST(Assign, ViewOfTheDestinationIsReadCorrectly) {
  Val v = Vec({10, 11, 12, 13});
  TVec view;
  view.SetSubRange(v->VectorValue(), 1, 2);
  TVectorValue src(&view);
  ASSERT_EQ(AssignOnce("=", {v.get(), &src}), kNone);
  EXPECT_EQ(Values(v->VectorValue()), (std::vector<double>{11, 12}));

  TVec host(5);
  host.Ramp(0, 1);
  TVectorValue hv(&host);
  TVec tail;
  tail.SetSubRange(host, 2, 3);
  TVectorValue tailRec(&tail);
  ASSERT_EQ(AssignOnce("=", {&hv, &tailRec}), kNone);
  EXPECT_EQ(hv.VectorField(), &host);
  EXPECT_EQ(Values(host), (std::vector<double>{2, 3, 4}));

  Val iv = IntVec({1, 2, 3}, prInt16);
  TVecInt ivView;
  ivView.SetSubRange(iv->IntVectorValue(), 1, 2);
  TIntVectorValue ivSrc(&ivView);
  ASSERT_EQ(AssignOnce("=", {iv.get(), &ivSrc}), kNone);
  EXPECT_EQ(Values(iv->IntVectorValue()), (std::vector<int>{2, 3}));
}

// ---- indexed assignment ----------------------------------------------------------------------------------

// Which (destination, index, source) combinations reach an assignment at all. Accepted combinations may
// still fail a size check; refused ones name the three types.
TEST(Assign3, AcceptedCombinations) {
  using S = std::set<TValueType>;
  const TValueType D = vtDoubleValue, R = vtRangeValue, C = vtComplexValue, V = vtVectorValue,
                   I = vtIntegerValue, IV = vtIntVectorValue, B = vtBoolValue, BV = vtBoolVectorValue;
  const S realSources[] = {{D, I, B, C}, {D, R, V, I, B, C}, {D, V, I, B, C}};
  const struct {
    TValueType dst;
    S sources[3];  // integer index, range or index vector, mask
  } table[] = {
      {vtVectorValue, {realSources[0], realSources[1], realSources[2]}},
      {vtMatrixValue, {realSources[0], realSources[1], realSources[2]}},
      {vtIntVectorValue, {{I, B}, {R, I, IV, B, BV}, {I, IV, B, BV}}},
      {vtIntMatrixValue, {{I, B}, {R, I, IV, B}, {I, IV, B}}},
      {vtBoolVectorValue, {{I, B}, {I, B, BV}, {I, B, BV}}},
      {vtBoolMatrixValue, {{I, B}, {I, B, BV}, {I, B, BV}}},
  };
  const auto indices = [](int column) {
    std::vector<Val> v;
    if (column == 0) v.push_back(Int(0));
    if (column == 1) {
      v.push_back(Range({0, 2}));
      v.push_back(IntVec({0, 1, 2}));
    }
    if (column == 2) v.push_back(BoolVec({1, 0, 1}));
    return v;
  };
  for (const auto& row : table) {
    for (int column = 0; column < 3; ++column) {
      for (int s = 1; s < ValueTypeCount; ++s) {
        for (auto& idx : indices(column)) {
          const auto st = static_cast<TValueType>(s);
          Val dst = Sample(row.dst), src = Sample(st);
          const std::string refused =
              Fmt("Unsupported value type combination: %s( %s ) = %s", ValTypeName(row.dst),
                  ValTypeName(idx->ValueType()), ValTypeName(st));
          const std::string msg = Assign3(*dst, *idx, *src);
          EXPECT_EQ(msg == refused, row.sources[column].count(st) == 0)
              << ValTypeName(row.dst) << "(" << ValTypeName(idx->ValueType()) << ") = " << ValTypeName(st)
              << ": " << msg;
        }
      }
    }
  }
  // A boolean matrix mask only indexes matrix kinds; other index types never do.
  Val bm = BoolMat(1, 3, {1, 0, 1}), x = Dbl(1), v = Vec({1, 2, 3}), m = Mat(1, 3, {1, 2, 3}), s = Str("s");
  EXPECT_EQ(Assign3(*v, *bm, *x), "Unsupported value type combination: vector( bool matrix ) = double");
  EXPECT_EQ(Assign3(*m, *bm, *x), kNone);
  EXPECT_EQ(Assign3(*v, *s, *x), "Unsupported value type combination: vector( string ) = double");
  Val d = Dbl(1), i = Int(0), u = Undef();
  EXPECT_EQ(Assign3(*d, *i, *x), "Unsupported value type combination: double( integer ) = double");
  EXPECT_EQ(Assign3(*u, *i, *x), UnknownExprWord);
  EXPECT_EQ(Assign3(*v, *i, *u), UnknownExprWord);
}

// The contents after an accepted indexed assignment.
TEST(Assign3, WritesTheSelectedElements) {
  CheckCases({
      {"assign", {"[1,2,3]", "1", "9"}, "vector 1; 9; 3"},
      {"assign", {"[1+1i,2+2i]", "0", "5.0"}, "vector 5+0i; 2+2i"},
      {"assign", {"[1,2;3,4]", "3", "true"}, "matrix 1,2; 3,1"},  // matrices are flat
      {"assign", {"[0,0,0,0,0]", "1:3", "7.0"}, "vector 0; 7; 7; 7; 0"},
      {"assign", {"[0,0,0,0]", "2:-1", "7.0"}, "vector 0; 0; 7; 7"},
      {"assign", {"[0,0,0]", "2:1", "7.0"}, "vector 0; 0; 0"},  // a reversed range is empty
      {"assign", {"[0,0,0,0,0]", "0:2:4", "1.0"}, "vector 1; 0; 1; 0; 1"},
      {"assign", {"[0,0,0,0]", "1:2", "[5,6]"}, "vector 0; 5; 6; 0"},
      {"assign", {"[0,0,0,0]", "1:-1", "[5,6]"}, "vector 0; 5; 6; 0"},  // start:-1 takes the source length
      {"assign", {"[0,0,0,0,0]", "0:2:4", "[1,2,3]"}, "vector 1; 0; 2; 0; 3"},
      {"assign", {"[0,0,0,0,0]", "4:-2:0", "[1,2,3]"}, "vector 3; 0; 2; 0; 1"},  // mirrors selection
      {"assign", {"[0,0,0]", "0:2", "3:1"}, "vector 3; 2; 1"},
      {"assign", {"[0+1i,0+1i]", "0:1", "[5,6]"}, "vector 5+0i; 6+0i"},
      {"assign", {"[0,0,0,0]", "i[3,0]", "[8,9]"}, "vector 9; 0; 0; 8"},
      {"assign", {"[0,0,0]", "i[2,2,0]", "4.0"}, "vector 4; 0; 4"},
      {"assign", {"[0,0,0]", "~0:1", "2.0"}, "vector 2; 2; 0"},  // an extended range indexes as a list
      {"assign", {"[1,5,2,6]", "b[0,1,0,1]", "0.0"}, "vector 1; 0; 2; 0"},
      {"assign", {"[1,5,2,6]", "b[0,1,0,1]", "[7,8]"}, "vector 1; 7; 2; 8"},
      {"assign", {"[1,2;3,4]", "b[1,0;0,1]", "0.0"}, "matrix 0,2; 3,0"},
      {"assign", {"i[1,2]", "1", "true"}, "integer vector 1; 1"},
      {"assign", {"i16[0,0,0]", "0:2", "5:7"}, "integer vector 5; 6; 7"},
      {"assign", {"i[5,5]", "0:1", "b[1,0]"}, "integer vector 1; 0"},
      {"assign", {"i[1,2,3;]", "b[1,1,0]", "i[8,9]"}, "integer matrix 8,9,3"},
      {"assign", {"b[0,0]", "1", "5"}, "bool vector 0; 1"},  // an integer into a bool stores 1
      {"assign", {"b[0,0,0;]", "1:2", "b[1,1]"}, "bool matrix 0,1,1"},
  });
}

TEST(Assign3, ErrorsNameTheOffendingNumbers) {
  const std::string noMask = "Assign: size of mask and destination on the left side do not match!";
  CheckRefused({
      {"assign", {"[1,2,3,4,5]", "5", "1.0"}, "Vector index out of range: 0 <= 5 < 5"},
      {"assign", {"[1,2]", "-1", "1.0"}, "Vector index out of range: 0 <= -1 < 2"},
      {"assign", {"i[1,2]", "2", "1"}, "Vector index out of range: 0 <= 2 < 2"},
      {"assign", {"[0,0,0;0,0,0]", "6", "1.0"}, "Matrix index out of range: 0 <= 6 < 6"},
      {"assign", {"b[0,0;]", "2", "true"}, "Matrix index out of range: 0 <= 2 < 2"},
      {"assign", {"[1,2,3]", "0:2", "[1,2]"}, "assign: aGetLength(range) <> aGetLength(Src))"},
      {"assign", {"[1,2,3,4,5]", "3:6", "1.0"}, "Destination vector range exceeded: 3 + 4 > 5"},
      {"assign", {"[1,2,3]", "1:-1", "[1,2,3]"}, "Destination vector range exceeded: 1 + 3 > 3"},
      {"assign", {"[1,2,3]", "0:2:4", "1.0"}, "Destination vector range exceeded: 0 + 5 > 3"},
      {"assign", {"[0,0,0;]", "2:3", "[1,2]"}, "Destination matrix range exceeded: 2 + 2 > 3"},
      {"assign", {"[1,2,3]", "0:1:2:3", "1.0"}, "Invalid range parameter length!"},
      {"assign", {"[1,2]", "0", "0+1i"}, "Assign: Cant assign complex number to real valued vector!"},
      {"assign",
       {"[1,2]", "0:1", "[1+1i,2+2i]"},
       "Assign: Cant assign complex number to real valued vector!"},
      {"assign", {"[0,0;]", "0:1", "0+1i"}, "Cant assign complex number to real valued matrix!"},
      {"assign",
       {"[0,0;]", "b[1,0]", "0+1i"},
       "The destination in the expression \"matrix ( mask) = c\" is not complex!"},
      {"assign",
       {"[0,0;]", "b[1,0]", "[1+1i]"},
       "The destination in the expression \" matrix ( mask ) = c \" is not complex!"},
      {"assign", {"[0+0i,0+0i;]", "b[1,0]", "[1]"}, "assign: iscomplex(source) <> iscomplex(destination)"},
      {"assign", {"[1,2]", "b[1]", "0.0"}, noMask},
      {"assign", {"i[1,2]", "b[1]", "0"}, noMask},
      {"assign", {"i[0,0;]", "b[1;]", "0"}, noMask},
      {"assign", {"[0,0;]", "b[1]", "0.0"}, noMask},
      {"assign", {"[0,0;]", "b[1;]", "0.0"}, "Size of mask and destination do not match!"},
      {"assign", {"b[1,0]", "b[1]", "true"}, "Size of mask and destination do not match!"},
      {"assign", {"b[0,0;]", "b[1]", "true"}, "Size of mask and destination do not match!"},
      {"assign", {"b[0,0;]", "b[1;]", "true"}, "Size of mask and destination are not a match!"},
      {"assign",
       {"[1,2]", "i16[0]", "0.0"},
       "Assign: The index in \"Dst(index) = Src\" must be 32bit integer!"},
      {"assign",
       {"i16[1,2]", "0:1", "i[1,2]"},
       "Assign: source and destiation do not have a matching integer precision!"},
  });
}

TEST(Assign3, MatrixMasksMustBe32Bit) {
  Val m = Mat(1, 2, {1, 2}), mask = V("b[1,0]"), x = Dbl(0);
  mask->BoolVectorValue().SetIntPrecision(prInt16);
  EXPECT_EQ(Assign3(*m, *mask, *x), "Assign: The boolean mask in \"Dst(mask) = Src\" must be 32bit boolean!");
  Val v = Vec({1, 2});
  EXPECT_EQ(Assign3(*v, *mask, *x), kNone) << "vector kinds take any mask precision";
}

// A scalar written through an index vector stops at the first bad index; the earlier ones stay written.
// A vector source is checked whole first.
TEST(Assign3, IndexVectorBounds) {
  Val v = Vec({0, 0, 0, 0, 0}), idx = IntVec({1, 7, 2}), x = Dbl(1);
  EXPECT_EQ(Assign3(*v, *idx, *x), "Assign: out of range: Idx = 7,  Len = 5");
  EXPECT_EQ(Values(v->VectorValue()), (std::vector<double>{0, 1, 0, 0, 0}));
  Val w = Vec({1, 2, 3});
  EXPECT_NE(Assign3(*v, *idx, *w), kNone);
  EXPECT_EQ(Values(v->VectorValue()), (std::vector<double>{0, 1, 0, 0, 0}));
}

// The source is a view into the destination itself: w = v(1:3); v(0:2) = w.
TEST(Assign3, OverlappingViewSource) {
  Val v = Vec({1, 2, 3, 4});
  TVec view;
  view.SetSubRange(v->VectorValue(), 1, 3);
  TVectorValue w(&view);
  Val r = Range({0, 2});
  ASSERT_EQ(AssignOnce("assign", {v.get(), r.get(), &w}), kNone);
  EXPECT_EQ(Values(v->VectorValue()), (std::vector<double>{2, 3, 4, 4}));
}

// ---- types changing under a compiled node ----------------------------------------------------------------

// A node compiled for one set of argument types meets others (a variable defined anew, a range source
// expanded, another record): it writes as a fresh node would, or refuses the new types.
TEST(AssignNode, TypesChangingUnderACompiledNode) {
  const struct {
    const char* op;
    std::vector<std::string> first, second;  // an empty second entry keeps the first run's record
    std::string expected;                    // Show of the destination, or the message
  } cases[] = {
      {"=", {"1.0", "3"}, {"", "true"}, "double 1"},
      {"=", {"?", "2"}, {"?", "[1,2]"}, "vector 1; 2"},
      {"=", {"[0,0]", "1:2"}, {"", "[4,5]"}, "vector 4; 5"},
      {"=",
       {"[0,0]", "1:2"},
       {"", "i[1,2]"},
       "Unsupported type combination for assignment: ( vector ) = ( integer vector )"},
      {"assign", {"[0,0,0]", "1", "5.0"}, {"", "0:1", "7.0"}, "vector 7; 7; 0"},
      {"assign", {"[0,0,0]", "1", "5.0"}, {"i[0,0,0]", "", "7"}, "integer vector 0; 7; 0"},
      {"assign",
       {"[0,0,0]", "1", "5.0"},
       {"", "", "'s'"},
       "Unsupported value type combination: vector( integer ) = string"},
      {"assign", {"[0,0;0,0]", "0", "1", "5.0"}, {"", "0:1", "", "7.0"}, "matrix 0,7; 0,7"},
      {"assign", {"[0,0;0,0]", "0", "1", "5.0"}, {"i[0,0;0,0]", "", "", "7"}, "integer matrix 0,7; 0,0"},
      {"assign", {"[0,0;0,0]", "0", "1", "5.0"}, {"", "", "", "?"}, UnknownExprWord},
  };
  for (const auto& c : cases) {
    std::vector<Val> first, second;
    std::vector<TValueRec*> args;
    for (const std::string& a : c.first) args.push_back(first.emplace_back(V(a)).get());
    NodeRunner run(c.op, args);
    ASSERT_EQ(MessageOf([&] { run.EvalTwice(); }), kNone) << c.expected;
    for (std::size_t i = 0; i < args.size(); ++i)
      if (!c.second[i].empty()) run.Node().Args[i] = second.emplace_back(V(c.second[i])).get();
    const std::string message = MessageOf([&] { run.Eval(); });
    EXPECT_EQ(message == kNone ? Show(*run.Node().Args[0]) : message, c.expected);
  }
}

}  // namespace
}  // namespace zel::test
