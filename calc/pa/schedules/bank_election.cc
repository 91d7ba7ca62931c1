#include "calc/pa/schedules/bank_election.h"

#include "catalogs/fields/fields.h"
#include "identifiers/form_ids.h"

namespace PACalculationMgmt {

BankElection bankElection(const PADataMgmt::PATaxReturn& pa, const DataMgmt::TaxReturn* federal,
                          double refund, double owed) {
  if (pa.formYes(kFormID_PAReturnInfo, 1, PAReturnInfo::kDirectDepositYesBox) && refund > 0) {
    return BankElection::kDirectDeposit;
  }
  const bool debitWanted =
      federal != nullptr && federal->formYes(kFormID_Fed183, 1, Fed183::kDirectDebitBox);
  return debitWanted && owed > 0 ? BankElection::kDirectDebit : BankElection::kNeither;
}

BankElection bankElectionOfReturn(const PADataMgmt::PATaxReturn& pa,
                                  const DataMgmt::TaxReturn* federal) {
  return bankElection(pa, federal, pa.getIN(kFormID_PA40, 1, PA40::kRefund),
                      pa.getIN(kFormID_PA40, 1, PA40::kTotalPayment));
}

}  // namespace PACalculationMgmt
