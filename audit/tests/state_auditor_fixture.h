// A federal return, a PA return, a print order and a PA auditor over them,
// built the way the host builds them, with helpers to write fixture values
// and to read what the auditor handed to the host.
#ifndef AUDIT_TESTS_STATE_AUDITOR_FIXTURE_H_
#define AUDIT_TESTS_STATE_AUDITOR_FIXTURE_H_

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "audit/pa_tax_form_auditor.h"
#include "catalogs/catalogs.h"
#include "entry/pa_tax_return.h"
#include "host/auditor.h"
#include "host/configuration.h"
#include "host/field_value.h"
#include "host/stand_in.h"
#include "host/state_printer.h"
#include "host/string_pool.h"
#include "host/tax_form.h"
#include "host/us_tax_return.h"
#include "identifiers/form_ids.h"

// A state printer whose mode-1 print order is a fixed list of forms.
class ListPrinter : public StateTaxFormPrintMgmt::StateTaxFormPrinter {
 public:
  explicit ListPrinter(DataMgmt::TaxReturn& taxReturn) : StateTaxFormPrinter(taxReturn) {}

  bool nextFormToPrintMode1(DataMgmt::FormId& form) override {
    std::size_t next = 0;
    if (form.getNumber() != 0) {
      while (next < order.size() && order[next] != form) ++next;
      ++next;
    }
    if (next >= order.size()) return false;
    form = order[next];
    return true;
  }

  std::vector<DataMgmt::FormId> order;
};

// The PA auditor with its host-base audit state open to the tests. With
// `probeDispatch` set, checkOneForm only records its calls.
class ProbeAuditor : public PAAuditMgmt::PATaxFormAuditor {
 public:
  using PAAuditMgmt::PATaxFormAuditor::PATaxFormAuditor;
  using AuditMgmt::TaxFormAuditor::auditType;
  using AuditMgmt::TaxFormAuditor::classFilter;
  using AuditMgmt::TaxFormAuditor::eFileAudit;
  using AuditMgmt::TaxFormAuditor::lastClass;
  using AuditMgmt::TaxFormAuditor::listingCount;

  struct Checked {
    int form;
    int copy;
    bool sameCopy;  // the pointer handed over is that copy
  };

  void checkOneForm(const std::string& helpId, TopicId topic, bool flag, const FormId& form,
                    DataMgmt::TaxFormPtr formCopy, unsigned short copy) override {
    if (!probeDispatch) {
      PAAuditMgmt::PATaxFormAuditor::checkOneForm(helpId, topic, flag, form, formCopy, copy);
      return;
    }
    checked.push_back({form.getNumber(), copy,
                       !formCopy.isNull() && formCopy->getCopyNumber() == copy});
  }
  unsigned short getMaxEFileCopies(const FormId& form) override {
    return limit >= 0 ? static_cast<unsigned short>(limit)
                      : PAAuditMgmt::PATaxFormAuditor::getMaxEFileCopies(form);
  }

  bool probeDispatch = false;
  int limit = -1;  // below 0: the PA auditor's own limit
  std::vector<Checked> checked;
};

class StateAuditorTest : public ::testing::Test {
 protected:
  typedef Primitives::OVImmutableFormIdentifier FormId;
  typedef Primitives::OVImmutableIdentifier FieldId;
  typedef AuditMgmt::TaxFormAuditor::MessageCall MessageCall;

  // Also rebuilds everything when a table-driven test needs a fresh return.
  void SetUp() override {
    auditor.reset();
    printerShare = TaxFormPrintMgmt::TaxFormPrinterPtr();
    pa.reset();
    StandIn::resetAll();
    federalPtr = DataMgmt::TaxReturnPtr(new DataMgmt::USTaxReturn());
    pa.reset(new PADataMgmt::PATaxReturn(federalPtr, DataMgmt::TaxReturnDesc::pennsylvania(),
                                         Utils::StringPool::shared()));
    printer = new ListPrinter(*pa);
    printerShare = TaxFormPrintMgmt::TaxFormPrinterPtr(printer);
    auditor.reset(new ProbeAuditor(federal(), pa.get(),
                                   &DataMgmt::OrvaneConfiguration::getInstance(),
                                   CalculationMgmt::TaxReturnCalcEnginePtr(),
                                   printerShare));
  }
  void TearDown() override {
    auditor.reset();
    EXPECT_EQ(StandIn::diagnostics().unknownFieldWrites, 0);
  }

  DataMgmt::USTaxReturn* federal() { return static_cast<DataMgmt::USTaxReturn*>(federalPtr.get()); }
  DataMgmt::TaxReturn& returnOf(const FormId& form) {
    return form.isStateForm() ? static_cast<DataMgmt::TaxReturn&>(*pa) : *federalPtr;
  }
  DataMgmt::TaxFormPtr holder(const FormId& form, uint16_t copy = 1) {
    return returnOf(form).getFormOrCreate(form, copy);
  }
  void put(const FormId& form, const FieldId& field, const DataMgmt::FieldValue& value,
           uint16_t copy = 1) {
    holder(form, copy)->store(field, value);
  }
  void mark(const FormId& form, const FieldId& field, uint16_t copy = 1) {
    put(form, field, DataMgmt::FieldValue::mark(), copy);
  }
  void number(const FormId& form, const FieldId& field, double value, uint16_t copy = 1) {
    put(form, field, DataMgmt::FieldValue::of(value), copy);
  }
  void text(const FormId& form, const FieldId& field, const std::string& value, uint16_t copy = 1) {
    put(form, field, DataMgmt::FieldValue::ofText(value), copy);
  }

  // Starts an audit of the given kind without walking any form.
  void startAudit(AuditMgmt::AuditType type, uint16_t filter = 0) {
    auditor->createNewReport(type);
    auditor->classFilter = filter;
  }
  const std::vector<MessageCall>& calls() const { return auditor->messageCalls(); }
  std::vector<MessageCall> callsNamed(const std::string& name) const {
    std::vector<MessageCall> found;
    for (const MessageCall& call : calls()) {
      if (call.call == name) found.push_back(call);
    }
    return found;
  }
  std::vector<std::string> reportLines() const {
    std::vector<std::string> lines;
    for (const auto& line : auditor->getAuditReport()->lines()) lines.push_back(line.second);
    return lines;
  }

  DataMgmt::TaxReturnPtr federalPtr;
  std::unique_ptr<PADataMgmt::PATaxReturn> pa;
  // The host keeps the printer alive while the auditor lives.
  TaxFormPrintMgmt::TaxFormPrinterPtr printerShare;
  ListPrinter* printer = nullptr;  // owned by printerShare
  std::unique_ptr<ProbeAuditor> auditor;
};

#endif  // AUDIT_TESTS_STATE_AUDITOR_FIXTURE_H_
