// The stand-in's singletons: data managers, e-file manager, configuration,
// product and device information, the data store and its handles, and
// StandIn::resetAll restoring every default.
#include <gtest/gtest.h>

#include "host/business.h"
#include "host/configuration.h"
#include "host/data_manager.h"
#include "host/data_store.h"
#include "host/efile.h"
#include "host/io.h"
#include "host/session_properties.h"
#include "host/stand_in.h"
#include "host/string_pool.h"
#include "host/system_mgr.h"
#include "host/tax_form.h"
#include "host/tif_writer.h"
#include "host/us_tax_return.h"
#include "host/user_interface.h"

namespace {

using DataMgmt::FieldId;
using DataMgmt::FormId;

const FormId kPA40(169, true);
const FormId kState14(14, true);

DataMgmt::TaxReturnPtr makeStateReturn() {
  return DataMgmt::TaxReturnPtr(
      new DataMgmt::TaxReturn(DataMgmt::TaxReturnDesc::pennsylvania(), Utils::StringPool::shared()));
}

class ManagersTest : public ::testing::Test {
 protected:
  void SetUp() override { StandIn::resetAll(); }
  void TearDown() override { StandIn::resetAll(); }
};

TEST_F(ManagersTest, TaxDataMgrRecordsEveryCallInOrder) {
  DataMgmt::TaxDataStore store;
  DataMgmt::TaxReturnPtr pa = makeStateReturn();
  store.addReturn(40, pa);
  DataMgmt::TaxDataMgr& mgr = DataMgmt::TaxDataMgr::getInstance();

  mgr.notifyInterviewFinished(0, 7);
  DataMgmt::TaxDataStoreHandle storeHandle = mgr.getStoreHandle(store);
  DataMgmt::TaxReturnHandle returnHandle = storeHandle.getTaxReturn(40);
  mgr.handleUpdateRequest(storeHandle, returnHandle);
  mgr.getPdfAttachMgr();

  const auto& calls = mgr.calls();
  ASSERT_EQ(4u, calls.size());
  EXPECT_EQ("notifyInterviewFinished", calls[0].call);
  EXPECT_EQ(0, calls[0].a);
  EXPECT_EQ(7, calls[0].b);
  EXPECT_EQ("getStoreHandle", calls[1].call);
  EXPECT_EQ(&store, calls[1].store);
  EXPECT_EQ("handleUpdateRequest", calls[2].call);
  EXPECT_EQ(&store, calls[2].store);
  EXPECT_EQ(40, calls[2].returnType);
  EXPECT_EQ("getPdfAttachMgr", calls[3].call);
  EXPECT_EQ(&store, storeHandle.getStore());
  EXPECT_EQ(pa.get(), returnHandle.getTaxReturn());
}

TEST_F(ManagersTest, PdfAttachMgrRecordsArguments) {
  DataMgmt::PdfAttachMgr& pdf = DataMgmt::TaxDataMgr::getInstance().getPdfAttachMgr();
  DataMgmt::TaxFormDescPtr desc = DataMgmt::TaxReturnDesc::pennsylvania()->getTaxFormDescriptor(kPA40);
  pdf.addPdfIntAttachEntire(3, 40, desc, 2, "PA40_2.pdf", "PA-40", "PA40_2.PDF 2 X");
  pdf.setPdfIntFormIdToUseForEntire(3, 40, kPA40);

  ASSERT_EQ(2u, pdf.calls().size());
  const auto& add = pdf.calls()[0];
  EXPECT_EQ("addPdfIntAttachEntire", add.call);
  EXPECT_EQ(3, add.argType);
  EXPECT_EQ(40, add.returnType);
  EXPECT_TRUE(add.form == kPA40);
  EXPECT_EQ(2, add.copy);
  EXPECT_EQ("PA40_2.pdf", add.shortName);
  EXPECT_EQ("PA-40", add.descName);
  EXPECT_EQ("PA40_2.PDF 2 X", add.key);
  EXPECT_EQ("setPdfIntFormIdToUseForEntire", pdf.calls()[1].call);
  EXPECT_TRUE(pdf.calls()[1].form == kPA40);
}

TEST_F(ManagersTest, MefPdfFileSpecUsesPdfDirDevNameAndCopy) {
  DataMgmt::OrvaneConfiguration::getInstance().setPdfDir("/tmp/pdfs");
  DataMgmt::TaxDataMgrHandle handle = DataMgmt::TaxDataMgrHandle::getInstance();
  IOMgmt::FileNamePtr name = handle.getMefPDFFileSpec(40, kPA40, 3);
  EXPECT_EQ("/tmp/pdfs/PA40_3.pdf", name->getDisplayName(-1));
  EXPECT_EQ("PA40_3.pdf", name->getShortName());
  EXPECT_EQ("/tmp/pdfs/FORM99999_1.pdf",
            handle.getMefPDFFileSpec(40, FormId(99999, true), 1)->getDisplayName(-1));
}

TEST_F(ManagersTest, EFileManagerDefaultsAndSettings) {
  EFileMgmt::EFileMgrHandle efile = DataMgmt::TaxDataMgrHandle::getInstance().getEFileMgrHandle();
  EXPECT_EQ(0, efile.getStateReturnStatus(40, false, false));
  EXPECT_EQ(40, efile.getCurFileReturnType());
  EXPECT_EQ(1, efile.getStateResEfileType(40));

  EFileMgmt::EFileMgrHandle::setStateReturnStatus(40, 2);
  EFileMgmt::EFileMgrHandle::setCurFileReturnType(1);
  EFileMgmt::EFileMgrHandle::setStateResEfileType(40, 3);
  // Every handle reads the one shared state, also one made before.
  EXPECT_EQ(2, efile.getStateReturnStatus(40, true, true));
  EXPECT_EQ(0, efile.getStateReturnStatus(17, false, false));
  EXPECT_EQ(1, efile.getCurFileReturnType());
  EXPECT_EQ(3, efile.getStateResEfileType(40));
  EXPECT_EQ(1, efile.getStateResEfileType(17));
}

TEST_F(ManagersTest, UserInterfaceIsAbsentUntilInstalled) {
  DataMgmt::TaxDataMgrHandle& handle = DataMgmt::TaxDataMgrHandle::getInstance();
  EXPECT_EQ(nullptr, handle.getUserInterface());
  UIBridgeMgmt::UserInterface ui(true);
  DataMgmt::TaxDataMgrHandle::setUserInterface(&ui);
  ASSERT_EQ(&ui, handle.getUserInterface());
  EXPECT_TRUE(handle.getUserInterface()->recordingQuery());
  ui.setRecording(false);
  EXPECT_FALSE(handle.getUserInterface()->recordingQuery());
}

TEST_F(ManagersTest, ResetAllRestoresEveryDefault) {
  DataMgmt::OrvaneConfiguration& config = DataMgmt::OrvaneConfiguration::getInstance();
  config.setAllowAutoTest(true);
  config.setVersionText("9.9");
  config.setAutoTestDir("/x");
  config.setDataDir("/d");
  config.setPdfDir("/p");
  EFileMgmt::EFileMgrHandle::setStateReturnStatus(40, 2);
  EFileMgmt::EFileMgrHandle::setCurFileReturnType(7);
  EFileMgmt::EFileMgrHandle::setStateResEfileType(40, 2);
  SystemMgmt::SystemMgr::setIRSDeviceID("OTHER");
  BusinessMgmt::BusinessMgr::getInstance().setVersion("2.5");
  UIBridgeMgmt::UserInterface ui(true);
  DataMgmt::TaxDataMgrHandle::setUserInterface(&ui);
  DataMgmt::TaxDataMgr::getInstance().notifyInterviewFinished(1, 1);
  DataMgmt::TaxDataMgr::getInstance().getPdfAttachMgr().setPdfIntFormIdToUseForEntire(0, 40, kPA40);
  TifWriteMgmt::TifFileWriter::setOfficeCodes("11", "222", "33");

  StandIn::resetAll();

  EXPECT_FALSE(config.AllowAutoTest());
  EXPECT_EQ("2018.0", config.getVersionText());
  EXPECT_EQ("C:/AutoTest_OV/", config.getAutoTestDir());
  EXPECT_EQ(".", config.getDataDir());
  EXPECT_EQ(".", config.getPdfDir());
  EFileMgmt::EFileMgrHandle efile;
  EXPECT_EQ(0, efile.getStateReturnStatus(40, false, false));
  EXPECT_EQ(40, efile.getCurFileReturnType());
  EXPECT_EQ(1, efile.getStateResEfileType(40));
  EXPECT_EQ("STANDIN-DEVICE-ID", SystemMgmt::SystemMgr::getIRSDeviceID());
  EXPECT_EQ("1.0", BusinessMgmt::BusinessMgr::getInstance().getVersion(
                       *DataMgmt::TaxReturnDesc::pennsylvania()));
  EXPECT_EQ(nullptr, DataMgmt::TaxDataMgrHandle::getInstance().getUserInterface());
  EXPECT_TRUE(DataMgmt::TaxDataMgr::getInstance().calls().empty());
  // Asking for the attachment manager is itself a recorded call.
  EXPECT_TRUE(DataMgmt::TaxDataMgr::getInstance().getPdfAttachMgr().calls().empty());
  char buf[32];
  EXPECT_STREQ("00", TifWriteMgmt::TifFileWriter::tifGetDistrictNum(buf));
  EXPECT_STREQ("000", TifWriteMgmt::TifFileWriter::tifGetOfficeNum(buf));
  EXPECT_STREQ("00", TifWriteMgmt::TifFileWriter::tifGetServiceCenter(buf));
}

TEST_F(ManagersTest, DataStoreKeepsASharePerType) {
  DataMgmt::TaxReturnPtr pa = makeStateReturn();
  {
    DataMgmt::TaxDataStore store;
    store.addReturn(40, pa);
    EXPECT_EQ(2, pa.useCount());
    EXPECT_EQ(pa.get(), store.getTaxReturn(40));
    EXPECT_EQ(nullptr, store.getTaxReturn(1));
    EXPECT_TRUE(DataMgmt::TaxDataStoreHandle(&store).getTaxReturn(1).getTaxReturn() == nullptr);
  }
  EXPECT_EQ(1, pa.useCount());
}

TEST_F(ManagersTest, SetFieldValueBoolMarksOrWritesNoAndCreatesTheCopy) {
  DataMgmt::TaxDataStore store;
  DataMgmt::TaxReturnPtr pa = makeStateReturn();
  store.addReturn(40, pa);
  DataMgmt::TaxReturnHandle handle = DataMgmt::TaxDataStoreHandle(&store).getTaxReturn(40);
  ASSERT_FALSE(pa->formExists(kState14, 1));

  handle.setFieldValueBool(kState14, 1, FieldId(9015), true);
  handle.setFieldValueBool(kState14, 1, FieldId(9016), false);
  EXPECT_TRUE(pa->formExists(kState14, 1));
  EXPECT_TRUE(pa->formYes(kState14, 1, FieldId(9015)));
  EXPECT_TRUE(pa->formNo(kState14, 1, FieldId(9016)));

  handle.setFieldValueBool(kState14, 1, FieldId(9015), false);
  EXPECT_TRUE(pa->formNo(kState14, 1, FieldId(9015)));
  // An empty handle writes nothing.
  DataMgmt::TaxReturnHandle().setFieldValueBool(kState14, 1, FieldId(9015), true);
}

TEST_F(ManagersTest, SessionPropertiesMissingReadsZero) {
  DataMgmt::SessionProperties props;
  EXPECT_FALSE(props.propertyExists("ui_prop_lly_status"));
  EXPECT_EQ(0, props.getOVInt8Property("ui_prop_lly_status"));
  props.setOVInt8Property("ui_prop_lly_status", -3);
  EXPECT_TRUE(props.propertyExists("ui_prop_lly_status"));
  EXPECT_EQ(-3, props.getOVInt8Property("ui_prop_lly_status"));
}

}  // namespace
