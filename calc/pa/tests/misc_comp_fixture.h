// Fixture of the miscellaneous-compensation worksheet tests: the engine over
// fixture returns, with the worksheet's fields named by host field number
// (so the tests check the member mapping independently of the code).
#ifndef CALC_PA_TESTS_MISC_COMP_FIXTURE_H_
#define CALC_PA_TESTS_MISC_COMP_FIXTURE_H_

#include <string>

#include "calc/state/tests/state_engine_fixture.h"

class MiscCompTest : public StateEngineTest {
 protected:
  // Host field numbers of each row's eight columns.
  static int cellNumber(int row, int column) {
    static const int kCells[20][8] = {
        {9, 12, 11, 36124, 15, 36125, 13, 9498},
        {16, 19, 18, 36126, 22, 36127, 20, 9500},
        {23, 26, 25, 36128, 29, 36129, 27, 9502},
        {30, 33, 32, 36130, 36, 36131, 34, 9504},
        {37, 40, 39, 36132, 43, 36133, 41, 9506},
        {44, 47, 46, 36134, 50, 36135, 48, 9508},
        {51, 54, 53, 36136, 57, 36137, 55, 9510},
        {58, 61, 60, 36138, 64, 36139, 62, 9512},
        {65, 68, 67, 36140, 71, 36141, 69, 9514},
        {72, 75, 74, 36142, 78, 36143, 76, 11743},
        {79, 82, 81, 79782, 85, 79783, 83, 11746},
        {86, 89, 88, 79784, 92, 79785, 90, 11749},
        {9521, 9525, 9524, 79786, 9526, 79787, 9527, 11752},
        {9529, 9533, 9532, 79788, 9534, 79789, 9535, 11755},
        {9537, 9541, 9540, 79790, 9542, 79791, 9543, 11758},
        {9545, 9549, 9548, 79792, 9550, 79793, 9551, 11761},
        {9553, 9557, 9556, 79794, 9558, 79795, 9559, 11764},
        {9561, 9565, 9564, 79796, 9566, 79797, 9567, 11767},
        {9569, 9573, 9572, 79798, 9574, 79799, 9575, 11770},
        {9577, 9581, 9580, 79800, 9582, 79801, 9583, 11773},
    };
    return kCells[row - 1][column];
  }
  static int referenceNumber(int row) { return row <= 11 ? 95 + row : 9476 + row; }

  static const FieldId& ws(int hostField) { return kPAMiscCompWorksheetFieldIds.byNumber(hostField); }
  static const FieldId& cell(int row, int column) { return ws(cellNumber(row, column)); }
  static const FieldId& misc(int hostField) { return kFed1099MiscFieldIds.byNumber(hostField); }
  static const FieldId& r(int hostField) { return kFed1099RFieldIds.byNumber(hostField); }
  static const FieldId& fed57(int hostField) { return kFed57FieldIds.byNumber(hostField); }

  // 1 single, 2 joint, 3 separate.
  void setFilingStatus(int status) {
    static const int kBoxes[] = {55, 57, 56};
    mark(kFormID_PAReturnInfo, kPAReturnInfoFieldIds.byNumber(kBoxes[status - 1]));
  }
  // 0 full-year (nothing marked), 1 part-year, 2 nonresident.
  void setResidency(int residency) {
    if (residency == 1) mark(kFormID_PAReturnInfo, kPAReturnInfoFieldIds.byNumber(48));
    if (residency == 2) mark(kFormID_PAReturnInfo, kPAReturnInfoFieldIds.byNumber(47));
  }

  void reference(int row, const std::string& value, uint16_t copy = 1) {
    text(kFormID_PAMiscCompWorksheet, ws(referenceNumber(row)), value, copy);
  }
  std::string referenceText(int row, uint16_t copy = 1) {
    return textOf(kFormID_PAMiscCompWorksheet, ws(referenceNumber(row)), copy);
  }
  void typeCell(int row, int column, const std::string& value, uint16_t copy = 1) {
    text(kFormID_PAMiscCompWorksheet, cell(row, column), value, copy);
  }
  void typeAmount(int row, int column, double value, uint16_t copy = 1) {
    number(kFormID_PAMiscCompWorksheet, cell(row, column), value, copy);
  }

  void calculate(uint16_t copy = 1) {
    engine->computeMiscCompWorksheet(holder(kFormID_PAMiscCompWorksheet, copy), copy, 0);
  }

  DataMgmt::TaxForm& sheet(uint16_t copy = 1) { return copyOf(kFormID_PAMiscCompWorksheet, copy); }
  double amount(int hostField, uint16_t copy = 1) { return sheet(copy).getIR(ws(hostField)); }
  double cellAmount(int row, int column, uint16_t copy = 1) { return sheet(copy).getIR(cell(row, column)); }
  std::string cellText(int row, int column, uint16_t copy = 1) {
    return textOf(kFormID_PAMiscCompWorksheet, cell(row, column), copy);
  }
  bool cellNull(int row, int column, uint16_t copy = 1) { return sheet(copy).isNull(cell(row, column)); }
  bool cellProtected(int row, int column, uint16_t copy = 1) {
    return sheet(copy).isProtected(cell(row, column));
  }

  // Federal copies. Amounts in dollars are stored as hundredths.
  void miscCopy(uint16_t copy, double amount17, const std::string& code18, double amount32 = 0,
                const std::string& code33 = "") {
    number(kFormID_Fed1099Misc, misc(17), amount17 * 100, copy);
    text(kFormID_Fed1099Misc, misc(18), code18, copy);
    number(kFormID_Fed1099Misc, misc(32), amount32 * 100, copy);
    text(kFormID_Fed1099Misc, misc(33), code33, copy);
  }
  void rCopy(uint16_t copy, double gross, const std::string& code) {
    number(kFormID_Fed1099R, r(4), gross * 100, copy);
    text(kFormID_Fed1099R, r(202), code, copy);
  }
};

#endif  // CALC_PA_TESTS_MISC_COMP_FIXTURE_H_
