#include "host/data_manager.h"

#include "host/configuration.h"
#include "host/stand_in.h"
#include "host/tax_return.h"
#include "host/user_interface.h"

namespace DataMgmt {
namespace {

UIBridgeMgmt::UserInterface*& installedUserInterface() {
  static UIBridgeMgmt::UserInterface* ui = nullptr;
  return ui;
}

const StandIn::ResetHook kResetManagers([] {
  TaxDataMgr::getInstance().reset();
  installedUserInterface() = nullptr;
});

// The developer name of a form from the description of its side.
std::string devNameOf(const FormId& form) {
  TaxReturnDescPtr desc = form.isStateForm() ? TaxReturnDesc::pennsylvania() : TaxReturnDesc::federal();
  TaxFormDescPtr formDesc = desc->getTaxFormDescriptor(form);
  if (!formDesc.isNull()) return formDesc->getDevName();
  return "FORM" + std::to_string(form.getNumber());
}

}  // namespace

// PdfAttachMgr

PdfAttachMgr::PdfAttachMgr() = default;
PdfAttachMgr::~PdfAttachMgr() = default;

void PdfAttachMgr::addPdfIntAttachEntire(int argType, TaxReturnType returnType,
                                         const TaxFormDescPtr& form, uint16_t copy,
                                         const std::string& shortName, const std::string& descName,
                                         const std::string& key) {
  Call c;
  c.call = "addPdfIntAttachEntire";
  c.argType = argType;
  c.returnType = returnType;
  if (!form.isNull()) c.form = form->getTypeID();
  c.copy = copy;
  c.shortName = shortName;
  c.descName = descName;
  c.key = key;
  StandIn::recordCall(calls_, c);
}

void PdfAttachMgr::setPdfIntFormIdToUseForEntire(int argType, TaxReturnType returnType,
                                                 const FormId& form) {
  Call c;
  c.call = "setPdfIntFormIdToUseForEntire";
  c.argType = argType;
  c.returnType = returnType;
  c.form = form;
  StandIn::recordCall(calls_, c);
}

// TaxDataMgr

TaxDataMgr::TaxDataMgr() = default;

TaxDataMgr& TaxDataMgr::getInstance() {
  static TaxDataMgr instance;
  return instance;
}

void TaxDataMgr::notifyInterviewFinished(int a, int b) {
  Call c;
  c.call = "notifyInterviewFinished";
  c.a = a;
  c.b = b;
  StandIn::recordCall(calls_, c);
}

TaxDataStoreHandle TaxDataMgr::getStoreHandle(TaxDataStore& store) {
  Call c;
  c.call = "getStoreHandle";
  c.store = &store;
  StandIn::recordCall(calls_, c);
  return TaxDataStoreHandle(&store);
}

void TaxDataMgr::handleUpdateRequest(const TaxDataStoreHandle& store,
                                     const TaxReturnHandle& taxReturn) {
  Call c;
  c.call = "handleUpdateRequest";
  c.store = store.getStore();
  if (taxReturn.getTaxReturn() != nullptr) c.returnType = taxReturn.getTaxReturn()->getReturnType();
  StandIn::recordCall(calls_, c);
}

PdfAttachMgr& TaxDataMgr::getPdfAttachMgr() {
  Call c;
  c.call = "getPdfAttachMgr";
  StandIn::recordCall(calls_, c);
  return pdfAttachMgr_;
}

void TaxDataMgr::reset() {
  calls_.clear();
  pdfAttachMgr_.clearCalls();
}

// TaxDataMgrHandle

TaxDataMgrHandle::TaxDataMgrHandle() = default;
TaxDataMgrHandle::~TaxDataMgrHandle() = default;

TaxDataMgrHandle& TaxDataMgrHandle::getInstance() {
  static TaxDataMgrHandle instance;
  return instance;
}

EFileMgmt::EFileMgrHandle TaxDataMgrHandle::getEFileMgrHandle() const {
  return EFileMgmt::EFileMgrHandle();
}

UIBridgeMgmt::UserInterface* TaxDataMgrHandle::getUserInterface() const {
  return installedUserInterface();
}

IOMgmt::FileNamePtr TaxDataMgrHandle::getMefPDFFileSpec(TaxReturnType, const FormId& form,
                                                        uint16_t copy) const {
  const std::string path = OrvaneConfiguration::getInstance().getPdfDir() + "/" + devNameOf(form) +
                           "_" + std::to_string(copy) + ".pdf";
  return IOMgmt::FileNamePtr(new IOMgmt::FileName(path));
}

void TaxDataMgrHandle::setUserInterface(UIBridgeMgmt::UserInterface* ui) {
  installedUserInterface() = ui;
}

}  // namespace DataMgmt
