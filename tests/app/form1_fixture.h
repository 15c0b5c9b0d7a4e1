// The main window on a temporary copy of the program's folder (data files, the real magc and
// its magnetic model), driven the way a user drives it: keys, clicks, the dialogs.
#pragma once

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QWindow>
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/form1.h"
#include "app/form_fonts.h"
#include "base/clock.h"
#include "base/format_settings.h"
#include "grid/table_grid.h"
#include "numedit/qv_num_edit.h"
#include "support/temp_folder.h"
#include "support/widget_test_support.h"

namespace zenavo::testing {

// The files of the runnable folder the window and its calculator read.
inline const std::vector<std::string> kDataFiles = {"satelite.csv", "municipios.csv",
                                                    "satelite_vg.csv", "municipios_vg.csv"};
inline const std::vector<std::string> kCalculatorFiles = {"magc", "WMM2025.COF"};

// A fixed day for the declination and the Sun times: 15 March 2026, São Paulo's offset.
inline LocalDate FixedDay() { return {2026, 3, 15}; }
inline constexpr int kSaoPauloOffsetMinutes = -180;

// Copies `names` from the build's runnable folder into `folder`, keeping their modes.
inline void CopyFromBin(const TempFolder& folder, const std::vector<std::string>& names) {
  for (const std::string& name : names)
    std::filesystem::copy_file(std::string(ZENAVO_BIN_DIR) + "/" + name, folder.Path() + name,
                               std::filesystem::copy_options::overwrite_existing);
}

// The index of the first data row of `grid` whose column-0 text is `name` and column-1 text
// `second`, or -1.
inline int FindRow(const TTableGrid& grid, const std::string& name, const std::string& second) {
  for (int row = 1; row < grid.RowCount(); ++row)
    if (grid.Cells(0, row) == name && grid.Cells(1, row) == second) return row;
  return -1;
}

// A button's or label's text as shown: without its mnemonic marks ("&Calcular": "Calcular").
inline QString ShownText(QString text) {
  return text.replace(QStringLiteral("&&"), QStringLiteral("\x01")).remove(u'&').replace(u'\x01', u'&');
}

class FormTest : public ::testing::Test {
 protected:
  explicit FormTest(const FormatSettings& settings = PointFormatSettings())
      : locale_(settings),
        clock_(std::make_shared<FixedClock>(FixedDay(), kSaoPauloOffsetMinutes)) {}

  // The data files and the calculator in the folder, then the window on it.
  void OpenWithEverything() {
    CopyFromBin(folder_, kDataFiles);
    CopyFromBin(folder_, kCalculatorFiles);
    Open();
  }

  // The window on the folder as it is now, shown and active.
  void Open() {
    fonts_.emplace();  // as the program does before its window opens, removed after it
    form_ = std::make_unique<TForm1>(folder_.Path());
    form_->show();
    QApplication::setActiveWindow(form_.get());
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form_.get()));
  }

  TForm1& Form() { return *form_; }

  // Clicks a button of the window as a user does.
  void Click(QPushButton* button) {
    QTest::mouseClick(button, Qt::LeftButton, Qt::NoModifier, button->rect().center());
  }

  // Scrolls `row` of `grid` into view and clicks its cell in `col`.
  void ClickRow(TTableGrid& grid, int row, int col = 0) {
    grid.SetTopRow(row);
    const QRect cell = grid.CellRect(col, row);
    ASSERT_FALSE(cell.isEmpty()) << "row " << row << " not in view";
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, Qt::NoModifier, cell.center());
  }

  // Goes to `row` of `grid` with the keyboard: from the row above it, one Down.
  void KeyToRow(TTableGrid& grid, int row) {
    grid.setFocus();
    grid.SetRow(row - 1);
    QTest::keyClick(&grid, Qt::Key_Down);
  }

  // The text of a result cell of the satellite table.
  std::string Cell(int col, int row) { return std::string(Form().Grid1->Cells(col, row)); }

  TempFolder folder_;
  ScopedFormatSettings locale_;
  ScopedClockSource clock_;
  std::optional<FormFonts> fonts_;  // outlives the window
  std::unique_ptr<TForm1> form_;
};

}  // namespace zenavo::testing
