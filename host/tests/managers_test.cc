// The stand-in's singletons and recorders, the data store and its handles,
// and StandIn::resetAll restoring every default.
#include <gtest/gtest.h>

#include "host/business.h"
#include "host/configuration.h"
#include "host/data_manager.h"
#include "host/data_store.h"
#include "host/efile.h"
#include "host/io.h"
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

class ManagersTest : public ::testing::Test {
 protected:
  void SetUp() override {
    StandIn::resetAll();
    store_.addReturn(40, pa_);
  }
  void TearDown() override { StandIn::resetAll(); }

  DataMgmt::TaxReturnPtr pa_{new DataMgmt::TaxReturn(DataMgmt::TaxReturnDesc::pennsylvania(),
                                                     Utils::StringPool::shared())};
  DataMgmt::TaxDataStore store_;
};

TEST_F(ManagersTest, MefPdfFileSpecUsesPdfDirDevNameAndCopy) {
  DataMgmt::OrvaneConfiguration::getInstance().setPdfDir("/tmp/pdfs");
  DataMgmt::TaxDataMgrHandle handle = DataMgmt::TaxDataMgrHandle::getInstance();
  IOMgmt::FileNamePtr name = handle.getMefPDFFileSpec(40, kPA40, 3);
  EXPECT_EQ("/tmp/pdfs/PA40_3.pdf", name->getDisplayName(-1));
  EXPECT_EQ("PA40_3.pdf", name->getShortName());
  EXPECT_EQ("/tmp/pdfs/FORM99999_1.pdf",
            handle.getMefPDFFileSpec(40, FormId(99999, true), 1)->getDisplayName(-1));
}

// Every setting reads back through every handle, also one made before, and
// resetAll restores every default.
TEST_F(ManagersTest, SettingsReadBackAndResetAllRestoresEveryDefault) {
  DataMgmt::OrvaneConfiguration& config = DataMgmt::OrvaneConfiguration::getInstance();
  EFileMgmt::EFileMgrHandle efile = DataMgmt::TaxDataMgrHandle::getInstance().getEFileMgrHandle();
  config.setAllowAutoTest(true);
  config.setVersionText("9.9");
  config.setAutoTestDir("/x");
  config.setDataDir("/d");
  config.setPdfDir("/p");
  EFileMgmt::EFileMgrHandle::setStateReturnStatus(40, 2);
  EFileMgmt::EFileMgrHandle::setCurFileReturnType(7);
  EFileMgmt::EFileMgrHandle::setStateResEfileType(40, 3);
  SystemMgmt::SystemMgr::setIRSDeviceID("OTHER");
  BusinessMgmt::BusinessMgr::getInstance().setVersion("2.5");
  UIBridgeMgmt::UserInterface ui(true);
  DataMgmt::TaxDataMgrHandle::setUserInterface(&ui);
  DataMgmt::TaxDataMgr::getInstance().notifyInterviewFinished(1, 1);
  DataMgmt::TaxDataMgr::getInstance().getPdfAttachMgr().setPdfIntFormIdToUseForEntire(0, 40, kPA40);
  TifWriteMgmt::TifFileWriter::setOfficeCodes("11", "222", "33");
  char buf[32];
  EXPECT_EQ(2, efile.getStateReturnStatus(40, true, true));
  EXPECT_EQ(0, efile.getStateReturnStatus(17, false, false));
  EXPECT_EQ(7, efile.getCurFileReturnType());
  EXPECT_EQ(3, efile.getStateResEfileType(40));
  EXPECT_EQ(&ui, DataMgmt::TaxDataMgrHandle::getInstance().getUserInterface());
  EXPECT_STREQ("222", TifWriteMgmt::TifFileWriter::tifGetOfficeNum(buf));

  StandIn::resetAll();

  EXPECT_FALSE(config.AllowAutoTest());
  EXPECT_EQ("2018.0", config.getVersionText());
  EXPECT_EQ("", config.getAutoTestDir());
  EXPECT_EQ(".", config.getDataDir());
  EXPECT_EQ(".", config.getPdfDir());
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
  EXPECT_STREQ("00", TifWriteMgmt::TifFileWriter::tifGetDistrictNum(buf));
  EXPECT_STREQ("000", TifWriteMgmt::TifFileWriter::tifGetOfficeNum(buf));
  EXPECT_STREQ("00", TifWriteMgmt::TifFileWriter::tifGetServiceCenter(buf));
}

TEST_F(ManagersTest, DataStoreKeepsASharePerType) {
  DataMgmt::TaxReturnPtr other = pa_;
  const long before = pa_.useCount();
  {
    DataMgmt::TaxDataStore store;
    store.addReturn(40, other);
    EXPECT_EQ(before + 1, pa_.useCount());
    EXPECT_EQ(pa_.get(), store.getTaxReturn(40));
    EXPECT_EQ(nullptr, store.getTaxReturn(1));
    EXPECT_EQ(nullptr, DataMgmt::TaxDataStoreHandle(&store).getTaxReturn(1).getTaxReturn());
  }
  EXPECT_EQ(before, pa_.useCount());
}

TEST_F(ManagersTest, SetFieldValueBoolMarksOrWritesNoAndCreatesTheCopy) {
  DataMgmt::TaxReturnHandle handle = DataMgmt::TaxDataStoreHandle(&store_).getTaxReturn(40);
  handle.setFieldValueBool(kState14, 1, FieldId(9015), true);
  EXPECT_TRUE(pa_->formYes(kState14, 1, FieldId(9015)));
  handle.setFieldValueBool(kState14, 1, FieldId(9015), false);
  EXPECT_TRUE(pa_->formNo(kState14, 1, FieldId(9015)));
  DataMgmt::TaxReturnHandle().setFieldValueBool(kState14, 1, FieldId(9015), true);  // no return
}

}  // namespace
