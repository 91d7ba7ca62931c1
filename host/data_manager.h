// The host's data managers: TaxDataMgr, its PdfAttachMgr, and the
// TaxDataMgrHandle that leads to the e-file manager and the user interface.
//
// The stand-in's managers do no work of their own: they record every call
// the module makes, in order, so tests can check the arguments. The
// recorders and the installed user interface are process-wide;
// StandIn::resetAll clears them.
#ifndef HOST_DATA_MANAGER_H_
#define HOST_DATA_MANAGER_H_

#include <cstdint>
#include <string>
#include <vector>

#include "host/data_store.h"
#include "host/descriptors.h"
#include "host/efile.h"
#include "host/host_api.h"
#include "host/io.h"
#include "host/pointers.h"

namespace UIBridgeMgmt {
class UserInterface;
}  // namespace UIBridgeMgmt

namespace DataMgmt {

// Registers PDF attachments of the e-file submission.
class HOST_API PdfAttachMgr {
 public:
  // One recorded call. `call` names the operation; fields the operation
  // does not take stay empty.
  struct Call {
    std::string call;
    int argType = 0;
    TaxReturnType returnType = 0;
    FormId form;
    uint16_t copy = 0;
    std::string shortName;
    std::string descName;
    std::string key;
  };

  PdfAttachMgr();
  ~PdfAttachMgr();

  void addPdfIntAttachEntire(int argType, TaxReturnType returnType, const TaxFormDescPtr& form,
                             uint16_t copy, const std::string& shortName,
                             const std::string& descName, const std::string& key);
  void setPdfIntFormIdToUseForEntire(int argType, TaxReturnType returnType, const FormId& form);

  const std::vector<Call>& calls() const { return calls_; }  // ours
  void clearCalls() { calls_.clear(); }                     // ours

 private:
  std::vector<Call> calls_;
};

// The host's data manager.
class HOST_API TaxDataMgr {
 public:
  // One recorded call (ours). `call` names the operation; `a` and `b` are
  // the integers of notifyInterviewFinished; `store` is the store of
  // getStoreHandle or of the handle given to handleUpdateRequest;
  // `returnType` the type of the return handle's return (0 when empty).
  struct Call {
    std::string call;
    int a = 0;
    int b = 0;
    const TaxDataStore* store = nullptr;
    TaxReturnType returnType = 0;
  };

  static TaxDataMgr& getInstance();

  void notifyInterviewFinished(int a, int b);
  TaxDataStoreHandle getStoreHandle(TaxDataStore& store);
  void handleUpdateRequest(const TaxDataStoreHandle& store, const TaxReturnHandle& taxReturn);
  PdfAttachMgr& getPdfAttachMgr();  // ours

  const std::vector<Call>& calls() const { return calls_; }  // ours
  void reset();  // clears the record and the attachment manager's (ours)

 private:
  TaxDataMgr();
  TaxDataMgr(const TaxDataMgr&) = delete;
  TaxDataMgr& operator=(const TaxDataMgr&) = delete;

  std::vector<Call> calls_;
  PdfAttachMgr pdfAttachMgr_;
};

// The module's way to the host's e-file manager and user interface.
class HOST_API TaxDataMgrHandle {
 public:
  static TaxDataMgrHandle& getInstance();
  TaxDataMgrHandle();
  ~TaxDataMgrHandle();
  TaxDataMgrHandle(const TaxDataMgrHandle&) = default;
  TaxDataMgrHandle& operator=(const TaxDataMgrHandle&) = default;

  EFileMgmt::EFileMgrHandle getEFileMgrHandle() const;
  // The host's user interface (borrowed); null when the host has none.
  UIBridgeMgmt::UserInterface* getUserInterface() const;
  // The PDF file of one form copy: pdfDir + "/" + DEVNAME + "_" + copy +
  // ".pdf", DEVNAME from the form's descriptor ("FORM" + number when the
  // form has none).
  IOMgmt::FileNamePtr getMefPDFFileSpec(TaxReturnType type, const FormId& form, uint16_t copy) const;

  // Installs a user interface the caller keeps owning; null removes it (ours).
  static void setUserInterface(UIBridgeMgmt::UserInterface* ui);
};

}  // namespace DataMgmt

#endif  // HOST_DATA_MANAGER_H_
