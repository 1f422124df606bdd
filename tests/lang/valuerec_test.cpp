// Value records: type persistence, range expansion, copies, value-level assignment and value text.
#include "lang/values/valuerec.h"

#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "support/oper_helper.h"

namespace zel::test {
namespace {

// Message of the exception of type E that f throws; other exception types escape and fail the test.
template <class E, class F>
std::string Thrown(F&& f) {
  try {
    f();
  } catch (const E& e) {
    return e.what();
  }
  return "<no exception>";
}

std::string Persistence(const char* from, const char* to) {
  return std::string("Variable of type \"") + from + "\" cannot be redeclared as \"" + to +
         "\". The type of a variable is persistent until the variable is undefined with the undefine "
         "function.The type of a variable is determined from the type of the value on the first assignment.";
}

using DefineFn = void (TValueRec::*)();

Val Make(DefineFn define) {
  Val r = Undef();
  ((*r).*define)();
  return r;
}

// The core object a container record holds, whichever field it lives in.
const TNubra* Object(const TValueRec& r) {
  if (r.VectorField()) return r.VectorField();
  if (r.MatrixField()) return r.MatrixField();
  if (r.IntVectorField()) return r.IntVectorField();
  return r.IntMatrixField();
}

// Counts deletions, to check which custom objects a record frees.
struct Tracked : TObject {
  explicit Tracked(int* deleted) : deleted(deleted) {}
  ~Tracked() override { ++*deleted; }
  int* deleted;
};

TEST(ValueTypes, SimpleTypeNamesAreExact) {
  const std::pair<const char*, TSimpleType> accepted[] = {{"single", stFloat},
                                                          {"signed char", stInt8},
                                                          {"word", stUInt16},
                                                          {"char", stUInt8},
                                                          {"double _complex", stDoubleComplex},
                                                          {"bool32", stBoolean}};
  for (const auto& [name, type] : accepted) EXPECT_EQ(StrToSimpleType(name), type) << name;
  for (const char* name : {"Double", "int64", "uint64", "undefined", "double "})
    EXPECT_EQ(Thrown<ENubraException>([&] { StrToSimpleType(name); }),
              std::string("Unrecognized type: ") + name);
}

TEST(ValueRecPersistence, RedefiningAnotherTypeRaisesAndLeavesTheValue) {
  const struct {
    DefineFn first, second;
    const char *from, *to;
  } cases[] = {
      {&TValueRec::DefineVector, &TValueRec::DefineDouble, "vector", "double"},
      {&TValueRec::DefineBoolVector, &TValueRec::DefineIntVector, "bool vector", "integer vector"},
      {&TValueRec::DefineIntMatrix, &TValueRec::DefineBoolMatrix, "integer matrix", "bool matrix"},
      {&TValueRec::DefineRange, &TValueRec::DefineVector, "range", "vector"},
      {&TValueRec::DefineCustomValue, &TValueRec::DefineExtRange, "custom object", "range"},
      {&TValueRec::DefineMatrix, &TValueRec::DefineCustomValue, "matrix", "custom object"},
  };
  for (const auto& c : cases) {
    auto r = Make(c.first);
    const TValueType before = r->ValueType();
    const TNubra* obj = Object(*r);
    EXPECT_EQ(Thrown<ENubraException>([&] { ((*r).*c.second)(); }), Persistence(c.from, c.to));
    EXPECT_EQ(r->ValueType(), before) << c.from;
    EXPECT_EQ(Object(*r), obj);
    r->Undefine();
    ((*r).*c.second)();
    EXPECT_STREQ(ValTypeName(r->ValueType()), c.to);
  }
}

TEST(ValueRecPersistence, RedefiningAnOwnedContainerKeepsObjectAndContents) {
  for (DefineFn define : std::initializer_list<DefineFn>{
           &TValueRec::DefineVector, &TValueRec::DefineMatrix, &TValueRec::DefineIntVector,
           &TValueRec::DefineIntMatrix, &TValueRec::DefineBoolVector, &TValueRec::DefineBoolMatrix}) {
    auto r = Make(define);
    const TNubra* obj = Object(*r);
    ASSERT_NE(obj, nullptr);
    EXPECT_TRUE(r->IsOwned());
    ((*r).*define)();
    r->SetValueType(r->ValueType());
    EXPECT_EQ(Object(*r), obj);
  }
  auto v = Vec({4, 5});
  v->DefineVector();
  EXPECT_EQ(Values(v->VectorValue()), (std::vector<double>{4, 5}));
  EXPECT_EQ(v->VectorValue().FloatPrecision(), npDouble);
  EXPECT_EQ(Make(&TValueRec::DefineMatrix)->MatrixValue().FloatPrecision(), npDouble);
}

TEST(ValueRecPersistence, OnlyOwnedObjectsAreFreed) {
  int deleted = 0;
  Tracked kept(&deleted);
  TVec outside(3);
  {
    TValueRec owned, referenced, vec;
    vec.DefineVector(&outside, false);
    vec.DefineVector();  // drops the reference, makes an owned vector
    EXPECT_NE(vec.VectorField(), &outside);
    owned.DefineCustomValue(new Tracked(&deleted), true);
    referenced.DefineCustomValue(&kept, false);
    owned.Undefine();
    EXPECT_EQ(deleted, 1);
    owned.SetValueType(vtCustomValue);  // owned, no object yet
    EXPECT_TRUE(owned.IsOwned());
    EXPECT_EQ(owned.CustomValue(), nullptr);
    owned.SetCustomValue(new Tracked(&deleted));
  }
  EXPECT_EQ(deleted, 2);           // the destructor freed the owned one, not the referenced one
  EXPECT_EQ(outside.Length(), 3);  // the sanitizer build checks it is still alive
}

TEST(ValueRecPersistence, InternalDefineOwnedMovesOwnership) {
  auto src = Vec({1, 2});
  TValueRec dst;
  dst.InternalDefineOwned(*src);
  EXPECT_EQ(dst.ValueType(), vtVectorValue);
  EXPECT_EQ(dst.VectorField(), src->VectorField());
  EXPECT_TRUE(dst.IsOwned());
  EXPECT_FALSE(src->IsOwned());
  EXPECT_EQ(Thrown<ENubraException>([] { TValueRec().InternalDefineOwned(*Dbl(1)); }),
            "Unsupported ownership type change: double");
  EXPECT_EQ(Thrown<ENubraException>([&] { dst.InternalDefineOwned(*Mat(1, 1, {1})); }),
            Persistence("vector", "matrix"));
}

TEST(ValueRecRange, ExpandsToRealVector) {
  const double e = std::ldexp(1.0, -52);
  const struct {
    Val range;
    std::vector<double> expected;
  } cases[] = {
      {Range({5, 1}), {5, 4, 3, 2, 1}},
      {Range({1, 2, 6}), {1, 3, 5}},
      {Range({6, -2, 1}), {6, 4, 2}},
      {Range({1, -1, 5}), {1, 0, -1, -2, -3}},  // the step's sign is not checked
      {Range({4}), {}},
      {ExtRange({0, 0.7}), {0, 1}},        // round(1.7) is 2
      {ExtRange({0, 1.5}), {0, 1}},        // round(2.5) is 2: ties go to even
      {ExtRange({0, 2.5}), {0, 1, 2, 3}},  // round(3.5) is 4
      {ExtRange({0, 2, 5}), {0, 2, 4}},
      {ExtRange({0, 0.3, 0.5}), {0, 0.3}},
      {ExtRange({1, -0.25, 0}), {1, 0.75, 0.5, 0.25, 0}},
      {ExtRange({0, 1, 2 - e}), {0, 1, 2}},  // the stop is within ε·step of 2
      {ExtRange({0, 1, 2 - 2 * e}), {0, 1}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Values(c.range->VectorValue()), c.expected);
    EXPECT_EQ(c.range->ValueType(), vtVectorValue);
    EXPECT_TRUE(c.range->IsOwned());
    EXPECT_FALSE(c.range->ExtRange());
  }
  auto tenth = ExtRange({0, 0.1, 1});
  ASSERT_EQ(tenth->VectorValue().Length(), 11);
  EXPECT_EQ(tenth->VectorValue().Values(10), 1.0);
}

TEST(ValueRecRange, ExpandsToIntegerVector) {
  const struct {
    Val range;
    std::vector<int> expected;
  } cases[] = {{Range({5, 1}), {5, 4, 3, 2, 1}},
               {Range({1, 2, 6}), {1, 3, 5}},
               {Range({2, -1, 0}), {2, 1, 0}},
               {ExtRange({0, 2, 6}), {0, 2, 4, 6}},
               {ExtRange({3, 1}), {3, 2, 1}}};
  for (const auto& c : cases) {
    EXPECT_EQ(Values(c.range->IntVectorValue()), c.expected);
    EXPECT_EQ(c.range->ValueType(), vtIntVectorValue);
  }
  auto r = Range({1, 4});
  r->SetRangeIntPrecision(prInt16);
  EXPECT_EQ(r->IntVectorValue().IntPrecision(), prInt16);
  r->Undefine();
  r->DefineRange();  // resets the precision
  EXPECT_EQ(r->RangeIntPrecision(), prInt32);
}

TEST(ValueRecRange, RejectsBadStepsAndTypes) {
  const struct {
    Val rec;
    bool integer;
    const char* message;
  } cases[] = {
      {Range({1, 0, 5}), true, "Invalid Range specification with zero step!"},
      {Range({5, 1, 1}), true, "Invalid Range specification with positive step!"},
      {Range({1, -1, 5}), true, "Invalid Range specification with negative step!"},
      {ExtRange({0, 0, 1}), true, "Invalid Range specification with zero step!"},
      {ExtRange({0, -1.5, 1}), true, "Invalid Range specification with negative step!"},
      {ExtRange({0, 0.4, 2}), true, "Invalid Range specification with zero step!"},  // step rounds to 0
      {Range({1, 0, 5}), false, "Invalid Range specification with zero step!"},
      {ExtRange({0, 0, 1}), false, "Invalid Range specification with zero step!"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Thrown<ENubraException>(
                  [&] { c.integer ? (void)c.rec->IntVectorValue() : (void)c.rec->VectorValue(); }),
              c.message);
    EXPECT_EQ(c.rec->ValueType(), vtRangeValue);  // unchanged
  }
  const std::pair<Val, const char*> wrongTypes[] = {
      {Dbl(1), "TValueRec.GetVectorValue called, but type is 1"},
      {IntVec({1}), "TValueRec.GetVectorValue called, but type is 7"},
      {V("b[1]"), "TValueRec.GetIntVectorValue called, but type is bool vector"},
      {Vec({1}), "TValueRec.GetIntVectorValue called, but type is vector"},
      {ExtRange({0, 0, 0, 0}), "TValueRec.GetVectorValue called, but complex Range is not supported!"}};
  wrongTypes[4].first->ExtRangeValue()->SetComplex(true);
  for (const auto& [rec, message] : wrongTypes) {
    const bool integer = std::string(message).find("GetInt") != std::string::npos;
    EXPECT_EQ(
        Thrown<EZelParseError>([&] { integer ? (void)rec->IntVectorValue() : (void)rec->VectorValue(); }),
        message);
  }
}

TEST(ValueRecCopy, CopiesEachTypeDeepWhenOwned) {
  const Val sources[] = {Dbl(2.5),          Int(-9),        Bool(true),  Cplx(1, 2),   Vec({1, 2}),
                         Mat(1, 2, {1, 2}), IntVec({3, 4}), V("b[1,0]"), V("i[5,6;]"), V("b[0,1;]")};
  for (const auto& src : sources) {
    TValueRec dst;
    dst.Copy(*src);
    EXPECT_EQ(dst.ValueType(), src->ValueType());
    EXPECT_EQ(dst.AsString(), src->AsString());
    EXPECT_EQ(dst.IsOwned(), Object(dst) != nullptr);
    if (Object(dst)) {
      EXPECT_NE(Object(dst), Object(*src));  // distinct storage
    }
  }
  TValueRec i, r;
  i.Copy(*Int(-9));
  EXPECT_EQ(i.DoubleValue(), -9.0);
  r.Copy(*Range({1, 2, 9}));
  EXPECT_EQ(r.Range(), (std::vector<std::int32_t>{1, 2, 9}));

  auto ext = ExtRange({0, 0.5, 2});
  TValueRec extCopy;
  extCopy.Copy(*ext);
  EXPECT_TRUE(extCopy.ExtRange());
  EXPECT_NE(extCopy.ExtRangeValue(), ext->ExtRangeValue());
  EXPECT_EQ(Values(extCopy.VectorValue()), (std::vector<double>{0, 0.5, 1, 1.5, 2}));
  EXPECT_EQ(ext->ValueType(), vtRangeValue);  // the source is not expanded
}

TEST(ValueRecCopy, ReferencesWhatTheSourceReferences) {
  TVec shared(2);
  TValueRec vec, ext, extRef;
  vec.Copy(TVectorValue(&shared));
  EXPECT_EQ(vec.VectorField(), &shared);
  EXPECT_FALSE(vec.IsOwned());
  extRef.DefineExtRange(&shared, false);
  ext.Copy(extRef);
  EXPECT_EQ(ext.ExtRangeValue(), &shared);
  EXPECT_FALSE(ext.IsOwned());
  TValueRec target;
  Int(7)->AssignTo(target);
  EXPECT_EQ(target.IntegerValue(), 7);
}

TEST(ValueRecCopy, RejectsUnsupportedTypesAndTypeChanges) {
  EXPECT_EQ(Thrown<EZelParseError>([] { TValueRec().Copy(*Str("a")); }),
            "TValueRec.Copy: operation not supported for value type: (string)");
  EXPECT_EQ(Thrown<EZelParseError>([] { TValueRec().Copy(*Sample(vtCustomValue)); }),
            "TValueRec.Copy: operation not supported for value type: (custom object)");
  auto v = Vec({1});
  const TNubra* obj = Object(*v);
  EXPECT_EQ(Thrown<ENubraException>([&] { v->Copy(TValueRec()); }), Persistence("vector", "undefined"));
  EXPECT_EQ(Thrown<ENubraException>([&] { v->Copy(*Int(1)); }), Persistence("vector", "integer"));
  EXPECT_EQ(Object(*v), obj);
}

// The source types AssignOper accepts, by destination type.
const std::set<TValueType> Accepted[ValueTypeCount] = {
    {},                                                                                          // undefined
    {vtDoubleValue, vtIntegerValue},                                                             // double
    {vtRangeValue},                                                                              // range
    {vtString},                                                                                  // string
    {vtDoubleValue, vtComplexValue, vtIntegerValue},                                             // complex
    {vtDoubleValue, vtIntegerValue, vtBoolValue, vtComplexValue, vtVectorValue, vtMatrixValue},  // vector
    {vtIntegerValue, vtBoolValue},                                                               // integer
    {vtIntegerValue, vtBoolValue, vtIntVectorValue, vtIntMatrixValue},  // integer vector
    {vtIntegerValue, vtBoolValue, vtIntVectorValue, vtIntMatrixValue},  // integer matrix
    {vtBoolValue, vtIntegerValue},                                      // bool
    {vtBoolValue, vtBoolVectorValue, vtBoolMatrixValue},                // bool vector
    {vtBoolValue, vtBoolVectorValue, vtBoolMatrixValue},                // bool matrix
    {vtDoubleValue, vtIntegerValue, vtComplexValue, vtVectorValue, vtMatrixValue, vtIntVectorValue,
     vtIntMatrixValue},  // matrix
    {},                  // custom object
};

TEST(ValueRecAssignOper, EveryPairOutsideTheTableRaises) {
  for (int d = 0; d < ValueTypeCount; ++d) {
    for (int s = 0; s < ValueTypeCount; ++s) {
      const auto dt = static_cast<TValueType>(d), st = static_cast<TValueType>(s);
      auto dst = Sample(dt), src = Sample(st);
      if (Accepted[d].count(st)) {
        EXPECT_NO_THROW(dst->AssignOper(*src)) << ValTypeName(st) << " -> " << ValTypeName(dt);
        continue;
      }
      const std::string expected = (dt == vtUndefined || st == vtUndefined)
                                       ? std::string(UnknownExprWord)
                                       : std::string("assign: Incompatible value types: Src:") +
                                             ValTypeName(st) + ", Dst:" + ValTypeName(dt);
      EXPECT_EQ(Thrown<EZelParseError>([&] { dst->AssignOper(*src); }), expected);
    }
  }
}

TEST(ValueRecAssignOper, ConvertsIntoTheDestinationType) {
  const struct {
    Val dst, src;
    const char* expected;
  } cases[] = {
      {Int(0), Bool(true), "1"},
      {Dbl(0), Int(-3), "-3"},
      {Bool(true), Int(0), "False"},
      {Cplx(0, 0), Dbl(2.5), "2.5+0i"},
      {Cplx(0, 0), Int(-4), "-4+0i"},
      {Vec({0, 0, 0}), Dbl(2.5), "2.5; 2.5; 2.5"},
      {Vec({0, 0}), Cplx(1, 2), "1+2i; 1+2i"},
      {Vec({0}), Vec({4, 5}), "4; 5"},
      {Vec({0}), Mat(2, 2, {1, 2, 3, 4}), "1; 2; 3; 4"},
      {Mat(2, 2, {0, 0, 0, 0}), Int(7), "7,7; 7,7"},
      {Mat(1, 1, {0}), Vec({4, 5, 6}), "4,5,6"},
      {Mat(1, 1, {0}), IntVec({1, 2}), "1,2"},
      {Mat(1, 1, {0}), V("i[5,6;7,8]"), "5,6; 7,8"},
      {IntVec({0, 0}), Int((std::int64_t{1} << 32) + 5), "5; 5"},  // low 32 bits
      {IntVec({0}), V("i[5,6;7,8]"), "5; 6; 7; 8"},
      {V("i[0;]"), IntVec({4, 5}), "4,5"},
      {V("b[0,0]"), Bool(true), "1; 1"},
      {V("b[0]"), V("b[1,0;0,1]"), "1; 0; 0; 1"},
      {V("b[0;]"), V("b[1,0,1]"), "1,0,1"},
  };
  for (const auto& c : cases) {
    c.dst->AssignOper(*c.src);
    EXPECT_EQ(c.dst->AsString(), c.expected);
  }
  auto r = Range({0, 1});
  r->AssignOper(*Range({1, 2, 9}));
  EXPECT_EQ(r->Range(), (std::vector<std::int32_t>{1, 2, 9}));
}

TEST(ValueRecAsString, RendersEveryTypeOnOneLine) {
  const std::pair<Val, const char*> cases[] = {{Undef(), "Undefined"},
                                               {Dbl(2.5), "2.5"},
                                               {Int(-1234567890123), "-1234567890123"},
                                               {Bool(true), "True"},
                                               {Bool(false), "False"},
                                               {Cplx(1, -2), "1-2i"},
                                               {Str("a b c\r\nd"), "abc; d"},
                                               {Vec({1, 2, 3}), "1; 2; 3"},
                                               {V("[1+2i,3+4i]"), "1+2i; 3+4i"},
                                               {Mat(2, 2, {1, 2, 3, 4}), "1,2; 3,4"},
                                               {V("i[1,-2;3,4]"), "1,-2; 3,4"},
                                               {V("b[1,0]"), "1; 0"}};
  for (const auto& [rec, text] : cases) EXPECT_EQ(rec->AsString(), text);

  for (TValueType t : {vtRangeValue, vtCustomValue}) {
    try {
      (void)Sample(t)->AsString();
      ADD_FAILURE() << "no exception";
    } catch (const std::runtime_error& e) {
      EXPECT_EQ(dynamic_cast<const ENubraException*>(&e), nullptr);  // a plain runtime error
      EXPECT_EQ(e.what(), "TValueRec.GetAsString: Unexpected value type: " + std::to_string(t));
    }
  }
}

}  // namespace
}  // namespace zel::test
