// DataMgmt::USTaxReturn: the federal return.
//
// Besides its federal forms it holds the figures the state layer pulls
// from the federal side: the common-item table read by pullCommon, the
// state wage figures and the Form 2555 flag. Every figure is settable and
// 0 by default; the stand-in records every pull.
#ifndef HOST_US_TAX_RETURN_H_
#define HOST_US_TAX_RETURN_H_

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "host/tax_return.h"

namespace DataMgmt {

class HOST_API USTaxReturn : public TaxReturn {
 public:
  explicit USTaxReturn(const TaxReturnDescPtr& desc = TaxReturnDesc::federal());
  ~USTaxReturn() override;

  // The federal filing status: common item 1 (1 when unset).
  uint8_t getFilingStatus() override;

  // Common items: (form number, code) first, then code alone, else 0.
  long commonItem(int formNumber, int code) const;
  void setCommonItem(int code, long value) { setCommonItem(0, code, value); }
  void setCommonItem(int formNumber, int code, long value) {
    common_[{formNumber, code}] = value;
    noteChange();
  }
  // Every item set, by (form number, code); form 0 stands for any form.
  const std::map<std::pair<int, int>, long>& commonItems() const { return common_; }

  // State wage figures: who 1 the taxpayer, 10 the spouse, else both.
  double stateWages(char who) const;
  double allStateWages(char who) const;
  double stateTaxWithheldNoLocal() const { return withheldNoLocal_; }
  void setStateWages(double taxpayer, double spouse) {
    wages_ = {taxpayer, spouse};
    noteChange();
  }
  void setAllStateWages(double taxpayer, double spouse) {
    allWages_ = {taxpayer, spouse};
    noteChange();
  }
  void setStateTaxWithheldNoLocal(double value) {
    withheldNoLocal_ = value;
    noteChange();
  }

  // Every pull asked of this return, as "name(arguments)", in order.
  std::vector<std::string>& pullLog() const { return pullLog_; }

 private:
  std::map<std::pair<int, int>, long> common_;
  std::pair<double, double> wages_{0, 0};
  std::pair<double, double> allWages_{0, 0};
  double withheldNoLocal_ = 0;
  mutable std::vector<std::string> pullLog_;
};

}  // namespace DataMgmt

#endif  // HOST_US_TAX_RETURN_H_
