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

// What formsToPrint answers: the forms up to the ending empty id and the
// two counts.
struct Printed {
  std::vector<FormId> forms;
  int first, second;
};

Printed printed(TaxFormPrintMgmt::TaxFormPrinter& printer, int mode) {
  FormId forms[255];
  char a = -1, b = -1;
  printer.formsToPrint(forms, a, b, mode);
  Printed result{{}, a, b};
  for (std::size_t i = 0; i < 255 && forms[i].isValid(); ++i) result.forms.push_back(forms[i]);
  return result;
}

class PrinterTest : public ::testing::Test {
 protected:
  void SetUp() override { StandIn::resetAll(); }
  void copy(const FormId& f, uint16_t c, bool printFlag) {
    pa_.getFormUVPtr(f, c, true)->setPrintingEnabled(printFlag);
  }
  DataMgmt::TaxReturn pa_{DataMgmt::TaxReturnDesc::pennsylvania(), Utils::StringPool::shared()};
};

TEST_F(PrinterTest, GetNextFormWalksTheTableAndPrintFlagsNeedACopy) {
  TablePrinter printer(pa_, {});
  std::vector<printFormInfo> table = rows({kPA40, kScheduleA});
  table.push_back(printFormInfo());
  FormId next;
  ASSERT_TRUE(printer.getNextForm(table.data(), FormId(), next, 0));
  ASSERT_TRUE(printer.getNextForm(table.data(), next, next, 5));
  EXPECT_TRUE(next == kScheduleA);
  // At the end, and for a form the table does not hold: false, `next` kept.
  EXPECT_FALSE(printer.getNextForm(table.data(), kScheduleA, next, 0));
  EXPECT_FALSE(printer.getNextForm(table.data(), FormId(155696, false), next, 0));
  EXPECT_TRUE(next == kScheduleA);
  copy(kPA40, 2, false);
  EXPECT_FALSE(printer.isPrintFlagSet(kPA40, 2) || printer.isPrintFlagSet(kPA40, 3));
  EXPECT_EQ(nullptr, printer.state());  // a plain return is not a state return
}

TEST_F(PrinterTest, FormsToPrintFiltersByMode) {
  TablePrinter printer(pa_, rows({kPA40, kScheduleA, kState16, kReturnInfo}));
  copy(kPA40, 1, false);
  copy(kPA40, 2, true);  // one printing copy is enough
  copy(kScheduleA, 1, false);
  copy(kReturnInfo, 1, true);  // kState16 has no copy
  const std::vector<FormId> printing = {kPA40, kReturnInfo}, all = {kPA40, kScheduleA, kReturnInfo};
  const std::pair<int, const std::vector<FormId>&> cases[] = {
      {0, printing}, {2, printing}, {1, all}, {4, all}, {5, all}};
  for (const auto& c : cases) {
    const Printed p = printed(printer, c.first);
    EXPECT_EQ(c.second, p.forms) << c.first;
    EXPECT_EQ(static_cast<int>(c.second.size()), p.first);
    EXPECT_EQ(0, p.second);
  }
  TaxFormPrintMgmt::TaxFormPrinter base(pa_);  // no print order
  EXPECT_EQ(0, printed(base, 0).first + printed(base, 0).second);
}

TEST_F(PrinterTest, FormsToAuditListsTheModeOneWalkWithoutFilter) {
  TablePrinter printer(pa_, rows({kPA40, kScheduleA, kState16}));
  copy(kPA40, 1, false);
  std::vector<FormId> list{kReturnInfo};  // replaced, not appended to
  char a = -1, b = -1;
  printer.formsToAudit(list, a, b);
  EXPECT_EQ((std::vector<FormId>{kPA40, kScheduleA, kState16}), list);
  EXPECT_EQ(3, a);
  EXPECT_EQ(0, b);
  StateTaxFormPrintMgmt::StateTaxFormPrinter(pa_).formsToAudit(list, a, b);  // no print order
  EXPECT_TRUE(list.empty());
}

// A return of 300 forms, all with a printing copy: the lists stop at
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
  const Printed p = printed(printer, 0);
  EXPECT_EQ(127, p.first);
  EXPECT_EQ(253 - 127, p.second);
  ASSERT_EQ(253u, p.forms.size());
  EXPECT_TRUE(p.forms.back() == FormId(253, true));

  std::vector<FormId> list;
  char a = 0, b = 0;
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
  const Printed p = printed(printer, 1);
  EXPECT_EQ(127, p.first);
  EXPECT_EQ(253 - 127, p.second);
}

}  // namespace
