// Grid transfer: every size check's exact message, and round trips of vectors and matrices through a
// string grid with headers.
#include <gtest/gtest.h>

#include <functional>

#include "core/errors.h"
#include "ui/gridtransfer.h"

namespace zel {
namespace {

TEST(GridTransfer, SizeChecksRaiseTheirText) {
  TVec v(4), vc(4, true);
  TZel m(3, 2), mc(3, 2, true);
  v.SetZero();
  vc.SetZero();
  m.SetZero();
  mc.SetZero();
  QTableWidget g(4, 3);  // 4 rows, 3 columns
  const std::pair<std::function<void()>, const char*> rows[] = {
      {[&] {
         QTableWidget one(9, 1);
         ValuesToGrid(v, one, 1, 1, 0, 4, "", true, false);
       },
       "(Dst.ColCount) < (2+Integer(Src.Complex))"},
      {[&] { ValuesToGrid(v, g, 1, 2, 0, 4, "", true, false); }, "(Dst.RowCount+1) < (DstRow+Len)"},
      {[&] { ValuesToGrid(v, g, 1, 1, 2, 3, "", true, false); }, "(Index+Len) > Length"},
      {[&] {
         TVec w(5);
         ValuesToGrid(w, g, 1, 1, 0, 5, "", false, false);
       },
       "(Dst.ColCount+1) < fLength"},
      {[&] {
         QTableWidget one(0, 9);
         ValuesToGrid(vc, one, 1, 0, 0, 4, "", false, false);
       },
       "(Dst.RowCount+1) < (2+Integer(fComplex)"},
      {[&] { ValuesToGrid(mc, g, 1, 1, "", false); },
       "(Dst.ColCount+1) < (ColCount*(1+Integer(Src.Complex))+DstCol)"},
      {[&] { ValuesToGrid(m, g, 1, 3, "", false); }, "(Dst.RowCount+1) < (RowCount+DstRow)"},
      {[&] { ValuesToGrid(m, g, 1, 1, 1, 0, 3, 1, "", false); }, "(SrcRow + RowCount) > Src.Rows"},
      {[&] { ValuesToGrid(m, g, 1, 1, 0, 1, 1, 2, "", false); }, "(SrcCol + ColCount) > Src.Cols"},
      {[&] { GridToValues(v, g, 0, 0, 2, 3, false, true); }, "(Index + Len) > Dst.Length"},
      {[&] { GridToValues(v, g, 0, 1, 0, 4, false, true); }, "((SrcRow + Len) > Src.RowCount) and Vertical"},
      {[&] { GridToValues(v, g, 2, 0, 0, 2, true, true); },
       "GridToValues: Not enough columns. Need separate columns for real and complex!"},
      {[&] { GridToValues(v, g, 0, 4, 0, 2, false, false); }, "(SrcRow+1) > Src.RowCount"},
      {[&] { GridToValues(v, g, 0, 3, 0, 2, true, false); },
       "GridToValues: Not enough columns. Need separate columns for real and complex"},
      {[&] { GridToValues(m, g, 1, 0, 0, 0, 3, 1, false); }, "(Row + RowCount) > Dst.Rows"},
      {[&] { GridToValues(m, g, 0, 1, 0, 0, 1, 2, false); }, "(Col + ColCount) > fCols"},
      {[&] {
         TZel big(5, 1);
         GridToValues(big, g, 0, 0, 0, 0, 5, 1, false);
       },
       "(SrcRow + RowCount) > Src.RowCount"},
      {[&] { GridToValues(m, g, 0, 0, 0, 0, 1, 2, true); },
       "(SrcCol + SrcColCount*(Byte(IsComplex)+1)) > Src.ColCount)"},
  };
  for (const auto& [call, message] : rows) {
    try {
      call();
      ADD_FAILURE() << "no exception, expected " << message;
    } catch (const ENubraException& e) {
      EXPECT_STREQ(e.what(), message);
    }
  }
}

TEST(GridTransfer, RoundTripsWithHeaders) {
  TVec vc(3, true);
  vc.CValues(0) = {1, -2};
  vc.CValues(1) = {0.5, 0};
  vc.CValues(2) = {-3, 4};
  QTableWidget vg(4, 3);
  ValuesToGrid(vc, vg, 1, 1, "", true, true);
  EXPECT_EQ(vg.item(0, 1)->text(), "0-Re");
  EXPECT_EQ(vg.item(0, 2)->text(), "0-Im");
  EXPECT_EQ(vg.item(3, 0)->text(), "2");
  TVec back;
  GridToValues(back, vg, true, true, true);
  ASSERT_EQ(back.Length(), 3);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(back.CValues(i), vc.CValues(i));

  TZel m(2, 3);
  m.Ramp(-1, 0.25);
  QTableWidget mg(3, 4);
  ValuesToGrid(m, mg, 1, 1, "", true);
  EXPECT_EQ(mg.item(0, 3)->text(), "2");
  EXPECT_EQ(mg.item(2, 0)->text(), "1");
  TZel mback;
  GridToValues(mback, mg, false, true);
  ASSERT_EQ(mback.Rows(), 2);
  ASSERT_EQ(mback.Cols(), 3);
  for (int i = 0; i < 6; ++i) EXPECT_EQ(mback.Values(i), m.Values(i));
}

}  // namespace
}  // namespace zel
