// Printer host rules: the print-order walk, the forms to print and the
// forms to audit.
#include <gtest/gtest.h>

#include <vector>

#include "host/descriptors.h"
#include "host/stand_in.h"
#include "host/state_printer.h"
#include "host/string_pool.h"
#include "host/tax_form.h"
#include "host/tax_return.h"

namespace {

using DataMgmt::FormId;
using Utils::printFormInfo;

const FormId kPA40(169, true);
const FormId kScheduleA(155696, true);
const FormId kState16(16, true);
const FormId kReturnInfo(168, true);

// A state printer whose every mode walks one table.
class TablePrinter : public StateTaxFormPrintMgmt::StateTaxFormPrinter {
 public:
  TablePrinter(DataMgmt::TaxReturn& r, std::vector<printFormInfo> table)
      : StateTaxFormPrinter(r), table_(std::move(table)) {
    table_.push_back(printFormInfo());  // the row that ends the table
  }
  bool nextFormToPrintMode0(FormId& f) override { return step(f); }
  bool nextFormToPrintMode1(FormId& f) override { return step(f); }
  bool nextFormToPrintMode4(FormId& f) override { return step(f); }
  bool nextFormToPrintMode5(FormId& f) override { return step(f); }
  StateDataMgmt::StateTaxReturn* state() const { return stateReturn; }

 private:
  bool step(FormId& f) {
    const FormId current = f;
    return getNextForm(table_.data(), current, f, 0);
  }
  std::vector<printFormInfo> table_;
};

std::vector<printFormInfo> rows(std::initializer_list<FormId> forms) {
  std::vector<printFormInfo> table;
  for (const FormId& f : forms) table.push_back(printFormInfo{f, 0, 3});
  return table;
}

class PrinterTest : public ::testing::Test {
 protected:
  void SetUp() override { StandIn::resetAll(); }
  DataMgmt::TaxFormPtr copy(const FormId& f, uint16_t c, bool printFlag) {
    DataMgmt::TaxFormPtr form = pa_.getFormUVPtr(f, c, true);
    form->setPrintingEnabled(printFlag);
    return form;
  }
  DataMgmt::TaxReturn pa_{DataMgmt::TaxReturnDesc::pennsylvania(), Utils::StringPool::shared()};
};

TEST_F(PrinterTest, GetNextFormWalksTheTableInOrder) {
  TablePrinter printer(pa_, {});
  std::vector<printFormInfo> table = rows({kPA40, kScheduleA, kState16});
  table.push_back(printFormInfo());
  FormId next;
  ASSERT_TRUE(printer.getNextForm(table.data(), FormId(), next, 0));
  EXPECT_TRUE(next == kPA40);
  ASSERT_TRUE(printer.getNextForm(table.data(), kPA40, next, 5));
  EXPECT_TRUE(next == kScheduleA);
  ASSERT_TRUE(printer.getNextForm(table.data(), kScheduleA, next, 1));
  EXPECT_TRUE(next == kState16);
  // At the end, and for a form the table does not hold: false, `next` kept.
  EXPECT_FALSE(printer.getNextForm(table.data(), kState16, next, 0));
  EXPECT_FALSE(printer.getNextForm(table.data(), kReturnInfo, next, 0));
  EXPECT_FALSE(printer.getNextForm(table.data(), FormId(16, false), next, 0));
  EXPECT_TRUE(next == kState16);
  // An empty table gives nothing.
  printFormInfo empty[1];
  EXPECT_FALSE(printer.getNextForm(empty, FormId(), next, 0));
}

TEST_F(PrinterTest, PrintFlagNeedsAnExistingCopyWithTheFlag) {
  TablePrinter printer(pa_, {});
  copy(kPA40, 1, true);
  copy(kPA40, 2, false);
  EXPECT_TRUE(printer.isPrintFlagSet(kPA40, 1));
  EXPECT_FALSE(printer.isPrintFlagSet(kPA40, 2));
  EXPECT_FALSE(printer.isPrintFlagSet(kPA40, 3));
  EXPECT_FALSE(printer.isPrintFlagSet(kPA40, 0));
  EXPECT_TRUE(printer.anyCopyShouldPrint(kPA40));
  EXPECT_EQ(nullptr, printer.state());  // a plain return is not a state return
}

TEST_F(PrinterTest, FormsToPrintFiltersByMode) {
  TablePrinter printer(pa_, rows({kPA40, kScheduleA, kState16, kReturnInfo}));
  copy(kPA40, 1, false);
  copy(kPA40, 2, true);      // one printing copy is enough
  copy(kScheduleA, 1, false);
  copy(kReturnInfo, 1, true);
  // kState16 has no copy.

  struct Case {
    int mode;
    std::vector<FormId> expected;
  };
  const Case cases[] = {
      {0, {kPA40, kReturnInfo}},
      {2, {kPA40, kReturnInfo}},
      {1, {kPA40, kScheduleA, kReturnInfo}},
      {4, {kPA40, kScheduleA, kReturnInfo}},
      {5, {kPA40, kScheduleA, kReturnInfo}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.mode);
    FormId forms[255];
    char a = -1, b = -1;
    printer.formsToPrint(forms, a, b, c.mode);
    ASSERT_EQ(static_cast<int>(c.expected.size()), a);
    EXPECT_EQ(0, b);
    for (size_t i = 0; i < c.expected.size(); ++i) EXPECT_TRUE(forms[i] == c.expected[i]);
    EXPECT_FALSE(forms[c.expected.size()].isValid());
  }
}

TEST_F(PrinterTest, BasePrinterHasNoPrintOrder) {
  TaxFormPrintMgmt::TaxFormPrinter printer(pa_);
  copy(kPA40, 1, true);
  FormId forms[255];
  char a = -1, b = -1;
  printer.formsToPrint(forms, a, b, 0);
  EXPECT_EQ(0, a);
  EXPECT_EQ(0, b);
  StateTaxFormPrintMgmt::StateTaxFormPrinter state(pa_);
  std::vector<FormId> list{kPA40};
  state.formsToAudit(list, a, b);
  EXPECT_TRUE(list.empty());
  EXPECT_EQ(0, a);
}

TEST_F(PrinterTest, FormsToAuditListsTheModeOneWalkWithoutFilter) {
  TablePrinter printer(pa_, rows({kPA40, kScheduleA, kState16}));
  copy(kPA40, 1, false);
  std::vector<FormId> list{kReturnInfo};  // replaced, not appended to
  char a = -1, b = -1;
  printer.formsToAudit(list, a, b);
  ASSERT_EQ(3u, list.size());
  EXPECT_TRUE(list[0] == kPA40);
  EXPECT_TRUE(list[1] == kScheduleA);
  EXPECT_TRUE(list[2] == kState16);
  EXPECT_EQ(3, a);
  EXPECT_EQ(0, b);
}

// A return of 200 forms, all with a printing copy: the lists stop at
// their limits and the signed counts never wrap.
TEST_F(PrinterTest, LongPrintOrdersStopAtTheLimits) {
  DataMgmt::TaxReturnDescPtr desc(new DataMgmt::TaxReturnDesc(40, "PA", "P", "Q", "R"));
  std::vector<printFormInfo> table;
  for (int n = 1; n <= 300; ++n) {
    const FormId f(n, true);
    desc->registerForm(DataMgmt::TaxFormDescPtr(new DataMgmt::TaxFormDesc(f, "F", "F")));
    table.push_back(printFormInfo{f, 0, 3});
  }
  DataMgmt::TaxReturn big(desc, Utils::StringPool::shared());
  for (int n = 1; n <= 300; ++n) big.getFormUVPtr(FormId(n, true), 1, true)->setPrintingEnabled(true);
  TablePrinter printer(big, table);

  FormId forms[255];
  char a = 0, b = 0;
  printer.formsToPrint(forms, a, b, 0);
  EXPECT_EQ(127, a);
  EXPECT_EQ(253 - 127, b);
  EXPECT_TRUE(forms[252] == FormId(253, true));
  EXPECT_FALSE(forms[253].isValid());

  std::vector<FormId> list;
  printer.formsToAudit(list, a, b);
  EXPECT_EQ(127u, list.size());
  EXPECT_EQ(127, a);
  EXPECT_EQ(0, b);
}

// A print order that never ends (a table whose forms repeat) must not hang.
TEST_F(PrinterTest, ARepeatingPrintOrderEnds) {
  class Looping : public StateTaxFormPrintMgmt::StateTaxFormPrinter {
   public:
    using StateTaxFormPrinter::StateTaxFormPrinter;
    bool nextFormToPrintMode1(FormId& f) override {
      f = kPA40;
      return true;
    }
  } printer(pa_);
  copy(kPA40, 1, true);
  FormId forms[255];
  char a = 0, b = 0;
  printer.formsToPrint(forms, a, b, 1);
  EXPECT_EQ(127, a);
  EXPECT_EQ(253 - 127, b);
}

}  // namespace
