// Plain assignment x = y and indexed assignment a(index) = y.
#include <gtest/gtest.h>

#include <map>
#include <set>

#include "lang/assign_support.h"
#include "support/alloc_counter.h"

namespace zel::test {
namespace {

std::string Assign(TValueRec& dst, TValueRec& src) {
  return MessageOf([&] { NodeRunner("=", {&dst, &src}).EvalTwice(); });
}
std::string Assign3(TValueRec& dst, TValueRec& idx, TValueRec& src) {
  return MessageOf([&] { NodeRunner(Assign3Word(), {&dst, &idx, &src}).EvalTwice(); });
}
// One evaluation, for sources that change when the destination does (views into it).
std::string AssignOnce(const std::string& op, std::vector<TValueRec*> args) {
  return MessageOf([&] {
    if (op == "=") {
      NodeRunner(op, args).Eval();
    } else {
      NodeRunner(Assign3Word(), args).Eval();
    }
  });
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
  const struct {
    Val dst, src;
    std::string text;
  } cases[] = {
      {Dbl(0), Int(3), "3"},
      {Dbl(0), Bool(true), "1"},
      {Int(0), Bool(true), "1"},
      {Cplx(0, 0), Int(2), "2+0i"},
      {Cplx(0, 0), Bool(true), "1+0i"},
      {Cplx(0, 0), Cplx(1, -2), "1-2i"},
      {Str("a"), Str("b c"), "b c"},
      {Vec({1, 2, 3, 4}), Int(7), "7 7 7 7"},        // every element, the length stays
      {Vec({1, 2}), Cplx(0, 1), "0+1i 0+1i"},        // a real vector becomes complex
      {Vec({1}), Vec({4, 5, 6}), "4 5 6"},           // copy takes the source's length
      {Vec({1}), Range({3, 1}), "3 2 1"},            // expanded
      {Vec({1}), ExtRange({0, 0.5, 1}), "0 0.5 1"},  // expanded
      {IntVec({1, 2, 3}), Bool(true), "1 1 1"},
      {IntVec({1, 2, 3}), Int(0x100000005LL), "5 5 5"},  // low 32 bits
      {IntMat(2, 2, {1, 2, 3, 4}), Int(9), "2x2: 9 9 9 9"},
      {IntMat(1, 1, {0}), IntVec({1, 2}), "1x2: 1 2"},  // 1 x n
      {IntMat(1, 1, {0}), Range({1, 3}), "1x3: 1 2 3"},
      {BoolVec({0, 0}), Bool(true), "1 1"},
      {BoolMat(1, 1, {0}), BoolVec({1, 0, 1}), "1x3: 1 0 1"},
      {Mat(1, 1, {0}), Vec({1, 2}), "1x2: 1 2"},
      {Mat(2, 1, {0, 0}), Dbl(1.5), "2x1: 1.5 1.5"},
  };
  for (const auto& c : cases) {
    ASSERT_EQ(Assign(*c.dst, *c.src), kNone) << c.text;
    EXPECT_EQ(Text(*c.dst), c.text);
  }
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
  const struct {
    const char* what;
    Val dst, idx, src;
    std::string text;
  } cases[] = {
      {"element", Vec({1, 2, 3}), Int(1), Int(9), "1 9 3"},
      {"element of complex", CVec({{1, 1}, {2, 2}}), Int(0), Dbl(5), "5+0i 2+2i"},
      {"matrix element flat", Mat(2, 2, {1, 2, 3, 4}), Int(3), Bool(true), "2x2: 1 2 3 1"},
      {"range fill", Vec({0, 0, 0, 0, 0}), Range({1, 3}), Dbl(7), "0 7 7 7 0"},
      {"range to end", Vec({0, 0, 0, 0}), Range({2, -1}), Dbl(7), "0 0 7 7"},
      {"reversed range is empty", Vec({0, 0, 0}), Range({2, 1}), Dbl(7), "0 0 0"},
      {"stepped fill", Vec({0, 0, 0, 0, 0}), Range({0, 2, 4}), Dbl(1), "1 0 1 0 1"},
      {"range copy", Vec({0, 0, 0, 0}), Range({1, 2}), Vec({5, 6}), "0 5 6 0"},
      {"start:-1 takes the source length", Vec({0, 0, 0, 0}), Range({1, -1}), Vec({5, 6}), "0 5 6 0"},
      {"stepped copy", Vec({0, 0, 0, 0, 0}), Range({0, 2, 4}), Vec({1, 2, 3}), "1 0 2 0 3"},
      {"negative step mirrors selection", Vec({0, 0, 0, 0, 0}), Range({4, -2, 0}), Vec({1, 2, 3}),
       "3 0 2 0 1"},
      {"range source", Vec({0, 0, 0}), Range({0, 2}), Range({3, 1}), "3 2 1"},
      {"real into complex", CVec({{0, 1}, {0, 1}}), Range({0, 1}), Vec({5, 6}), "5+0i 6+0i"},
      {"index vector", Vec({0, 0, 0, 0}), IntVec({3, 0}), Vec({8, 9}), "9 0 0 8"},
      {"index vector scalar", Vec({0, 0, 0}), IntVec({2, 2, 0}), Dbl(4), "4 0 4"},
      {"extended range as index vector", Vec({0, 0, 0}), ExtRange({0, 1}), Dbl(2), "2 2 0"},
      {"mask scalar", Vec({1, 5, 2, 6}), BoolVec({0, 1, 0, 1}), Dbl(0), "1 0 2 0"},
      {"mask vector", Vec({1, 5, 2, 6}), BoolVec({0, 1, 0, 1}), Vec({7, 8}), "1 7 2 8"},
      {"matrix mask", Mat(2, 2, {1, 2, 3, 4}), BoolMat(2, 2, {1, 0, 0, 1}), Dbl(0), "2x2: 0 2 3 0"},
      {"int element", IntVec({1, 2}), Int(1), Bool(true), "1 1"},
      {"int range source", IntVec({0, 0, 0}, prInt16), Range({0, 2}), Range({5, 7}), "5 6 7"},
      {"bool vector into int vector", IntVec({5, 5}), Range({0, 1}), BoolVec({1, 0}), "1 0"},
      {"int matrix mask", IntMat(1, 3, {1, 2, 3}), BoolVec({1, 1, 0}), IntVec({8, 9}), "1x3: 8 9 3"},
      {"integer into bool stores 1", BoolVec({0, 0}), Int(1), Int(5), "0 1"},
      {"bool matrix range", BoolMat(1, 3, {0, 0, 0}), Range({1, 2}), BoolVec({1, 1}), "1x3: 0 1 1"},
  };
  for (const auto& c : cases) {
    ASSERT_EQ(Assign3(*c.dst, *c.idx, *c.src), kNone) << c.what;
    EXPECT_EQ(Text(*c.dst), c.text) << c.what;
  }
}

// v(v > 2) = 0 with the mask computed by the comparison operator.
TEST(Assign3, MaskFromComparison) {
  Val v = Vec({1, 3, 2, 5}), two = Dbl(2), zero = Dbl(0);
  NodeRunner gt(">", {v.get(), two.get()});
  TValueRec& mask = gt.Eval();
  ASSERT_EQ(Assign3(*v, mask, *zero), kNone);
  EXPECT_EQ(Values(v->VectorValue()), (std::vector<double>{1, 0, 2, 0}));
}

TEST(Assign3, ErrorsNameTheOffendingNumbers) {
  const struct {
    Val dst, idx, src;
    std::string message;
  } cases[] = {
      {Vec({1, 2, 3, 4, 5}), Int(5), Dbl(1), "Vector index out of range: 0 <= 5 < 5"},
      {Vec({1, 2}), Int(-1), Dbl(1), "Vector index out of range: 0 <= -1 < 2"},
      {IntVec({1, 2}), Int(2), Int(1), "Vector index out of range: 0 <= 2 < 2"},
      {Zero(Mat(2, 3, {})), Int(6), Dbl(1), "Matrix index out of range: 0 <= 6 < 6"},
      {BoolMat(1, 2, {0, 0}), Int(2), Bool(true), "Matrix index out of range: 0 <= 2 < 2"},
      {Vec({1, 2, 3}), Range({0, 2}), Vec({1, 2}), "assign: aGetLength(range) <> aGetLength(Src))"},
      {Vec({1, 2, 3, 4, 5}), Range({3, 6}), Dbl(1), "Destination vector range exceeded: 3 + 4 > 5"},
      {Vec({1, 2, 3}), Range({1, -1}), Vec({1, 2, 3}), "Destination vector range exceeded: 1 + 3 > 3"},
      {Vec({1, 2, 3}), Range({0, 2, 4}), Dbl(1), "Destination vector range exceeded: 0 + 5 > 3"},
      {Zero(Mat(1, 3, {})), Range({2, 3}), Vec({1, 2}), "Destination matrix range exceeded: 2 + 2 > 3"},
      {Vec({1, 2, 3}), Range({0, 1, 2, 3}), Dbl(1), "Invalid range parameter length!"},
      {Vec({1, 2}), Int(0), Cplx(0, 1), "Assign: Cant assign complex number to real valued vector!"},
      {Vec({1, 2}), Range({0, 1}), CVec({{1, 1}, {2, 2}}),
       "Assign: Cant assign complex number to real valued vector!"},
      {Zero(Mat(1, 2, {})), Range({0, 1}), Cplx(0, 1), "Cant assign complex number to real valued matrix!"},
      {Zero(Mat(1, 2, {})), BoolVec({1, 0}), Cplx(0, 1),
       "The destination in the expression \"matrix ( mask) = c\" is not complex!"},
      {Zero(Mat(1, 2, {})), BoolVec({1, 0}), CVec({{1, 1}}),
       "The destination in the expression \" matrix ( mask ) = c \" is not complex!"},
      {Zero(CMat(1, 2, {})), BoolVec({1, 0}), Vec({1}),
       "assign: iscomplex(source) <> iscomplex(destination)"},
      {Vec({1, 2}), BoolVec({1}), Dbl(0),
       "Assign: size of mask and destination on the left side do not match!"},
      {IntVec({1, 2}), BoolVec({1}), Int(0),
       "Assign: size of mask and destination on the left side do not match!"},
      {Zero(IntMat(1, 2, {})), BoolMat(1, 1, {1}), Int(0),
       "Assign: size of mask and destination on the left side do not match!"},
      {Zero(Mat(1, 2, {})), BoolVec({1}), Dbl(0),
       "Assign: size of mask and destination on the left side do not match!"},
      {Zero(Mat(1, 2, {})), BoolMat(1, 1, {1}), Dbl(0), "Size of mask and destination do not match!"},
      {BoolVec({1, 0}), BoolVec({1}), Bool(true), "Size of mask and destination do not match!"},
      {Zero(BoolMat(1, 2, {})), BoolVec({1}), Bool(true), "Size of mask and destination do not match!"},
      {Zero(BoolMat(1, 2, {})), BoolMat(1, 1, {1}), Bool(true),
       "Size of mask and destination are not a match!"},
      {Vec({1, 2}), IntVec({0}, prInt16), Dbl(0),
       "Assign: The index in \"Dst(index) = Src\" must be 32bit integer!"},
      {IntVec({1, 2}, prInt16), Range({0, 1}), IntVec({1, 2}),
       "Assign: source and destiation do not have a matching integer precision!"},
  };
  for (const auto& c : cases) {
    const std::string before = Text(*c.dst);
    EXPECT_EQ(Assign3(*c.dst, *c.idx, *c.src), c.message) << c.message;
    EXPECT_EQ(Text(*c.dst), before) << "refused, yet written or resized: " << c.message;
  }
}

TEST(Assign3, MatrixMasksMustBe32Bit) {
  Val m = Mat(1, 2, {1, 2}), mask = BoolVec({1, 0}), x = Dbl(0);
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

// x = y and a(index) = y give the destination record itself, not a copy.
TEST(Assign3, ResultRefersToTheDestination) {
  Val x = Vec({1, 2}), y = Vec({3, 4});
  NodeRunner plain("=", {x.get(), y.get()});
  EXPECT_EQ(&plain.EvalTwice(), x.get());

  Val bm = BoolMat(2, 2, {0, 0, 0, 0}), r = Range({0, 1}), b = Bool(true);
  NodeRunner run(Assign3Word(), {bm.get(), r.get(), b.get()});
  TValueRec& res = run.EvalTwice();
  EXPECT_EQ(res.ValueType(), vtBoolMatrixValue);
  EXPECT_EQ(res.IntMatrixField(), bm->IntMatrixField());
  EXPECT_FALSE(res.IsOwned());
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
// expanded, another record): it writes as a fresh node would, or refuses the new types. Null entries of
// the second argument list keep the first run's record.
TEST(AssignNode, TypesChangingUnderACompiledNode) {
  TExprWord* eq = Operators::Get().Word("=");
  TExprWord* a3 = Assign3Word();
  TExprWord* a4 = Assign4Word();
  struct {
    TExprWord* word;
    std::vector<Val> first, second;
    std::string expected;  // the destination's Text, or the message
  } cases[] = {
      {eq, Args(Dbl(1), Int(3)), Args(nullptr, Bool(true)), "1"},
      {eq, Args(Undef(), Int(2)), Args(Undef(), Vec({1, 2})), "1 2"},
      {eq, Args(Vec({0, 0}), Range({1, 2})), Args(nullptr, Vec({4, 5})), "4 5"},
      {eq, Args(Vec({0, 0}), Range({1, 2})), Args(nullptr, IntVec({1, 2})),
       "Unsupported type combination for assignment: ( vector ) = ( integer vector )"},
      {a3, Args(Vec({0, 0, 0}), Int(1), Dbl(5)), Args(nullptr, Range({0, 1}), Dbl(7)), "7 7 0"},
      {a3, Args(Vec({0, 0, 0}), Int(1), Dbl(5)), Args(IntVec({0, 0, 0}), nullptr, Int(7)), "0 7 0"},
      {a3, Args(Vec({0, 0, 0}), Int(1), Dbl(5)), Args(nullptr, nullptr, Str("s")),
       "Unsupported value type combination: vector( integer ) = string"},
      {a4, Args(Mat(2, 2, {0, 0, 0, 0}), Int(0), Int(1), Dbl(5)),
       Args(nullptr, Range({0, 1}), nullptr, Dbl(7)), "2x2: 0 7 0 7"},
      {a4, Args(Mat(2, 2, {0, 0, 0, 0}), Int(0), Int(1), Dbl(5)),
       Args(IntMat(2, 2, {0, 0, 0, 0}), nullptr, nullptr, Int(7)), "2x2: 0 7 0 0"},
      {a4, Args(Mat(2, 2, {0, 0, 0, 0}), Int(0), Int(1), Dbl(5)), Args(nullptr, nullptr, nullptr, Undef()),
       UnknownExprWord},
  };
  for (auto& c : cases) {
    std::vector<TValueRec*> args;
    for (auto& a : c.first) args.push_back(a.get());
    NodeRunner run(c.word, args);
    ASSERT_EQ(MessageOf([&] { run.EvalTwice(); }), kNone) << c.expected;
    for (std::size_t i = 0; i < args.size(); ++i)
      if (c.second[i]) run.Node().Args[i] = c.second[i].get();
    const std::string message = MessageOf([&] { run.Eval(); });
    EXPECT_EQ(message == kNone ? Text(*run.Node().Args[0]) : message, c.expected);
  }
}

// ---- the hot path --------------------------------------------------------------------------------------

TEST(Assign, SecondEvaluationAllocatesNothing) {
  TExprWord* eq = Operators::Get().Word("=");
  TExprWord* a3 = Assign3Word();
  struct {
    const char* what;
    TExprWord* word;
    std::vector<Val> args;
  } cases[] = {
      {"vector copy", eq, Args(Vec({1, 2, 3}), Vec({4, 5, 6}))},
      {"matrix copy", eq, Args(Zero(Mat(2, 2, {})), Mat(2, 2, {1, 2, 3, 4}))},
      {"int vector copy", eq, Args(IntVec({1, 2}), IntVec({3, 4}))},
      {"vector fill", eq, Args(CVec({{1, 1}, {2, 2}}), Cplx(1, 1))},
      {"range fill", a3, Args(Vec({1, 2, 3}), Range({0, 1}), Dbl(1))},
      {"stepped copy", a3, Args(Vec({1, 2, 3}), Range({0, 2, 2}), Vec({7, 8}))},
      {"index copy", a3, Args(Vec({1, 2, 3}), IntVec({2, 0}), Vec({7, 8}))},
      {"matrix mask fill", a3, Args(IntMat(1, 3, {1, 2, 3}), BoolMat(1, 3, {1, 0, 1}), Int(0))},
      {"mask copy", a3, Args(Vec({1, 2, 3}), BoolVec({1, 0, 1}), Vec({7, 8}))},
  };
  for (auto& c : cases) {
    std::vector<TValueRec*> args;
    for (auto& a : c.args) args.push_back(a.get());
    NodeRunner run(c.word, args);
    ASSERT_NO_THROW(run.Eval()) << c.what;
    AllocationCounter allocations;
    run.Eval();
    EXPECT_EQ(allocations.Count(), 0u) << c.what;
  }
}

}  // namespace
}  // namespace zel::test
