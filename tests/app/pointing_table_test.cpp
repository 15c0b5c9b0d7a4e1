#include "app/pointing_table.h"

#include <gtest/gtest.h>

#include <limits>
#include <memory>
#include <vector>

#include "base/clock.h"
#include "base/exceptions.h"
#include "base/format_settings.h"
#include "support/expect_error.h"

namespace zenavo {
namespace {

using testing::ExpectError;

constexpr long double kSaoPauloLat = -23.55L, kSaoPauloLon = -46.63L, kSaoPauloAltitude = 760;

// A satellite table with the header row and one row per position text; the result cells hold
// "old" so that every change is visible.
StringTable SatelliteTable(const std::vector<std::string>& positions) {
  StringTable table(7, static_cast<int>(positions.size()) + 1);
  const char* headers[] = {"Satelite", "Posição", "Azimute", "Elevação",
                           "Az. Magnet", "Hora Az.", "Polarização"};
  for (int col = 0; col < 7; ++col) table.SetCells(col, 0, headers[col]);
  for (int row = 1; row <= static_cast<int>(positions.size()); ++row) {
    table.SetCells(0, row, "Sat " + std::to_string(row));
    table.SetCells(1, row, positions[row - 1]);
    for (int col = 2; col < 7; ++col) table.SetCells(col, row, "old");
  }
  return table;
}

std::vector<std::string> ResultCells(const StringTable& table, int row) {
  std::vector<std::string> cells;
  for (int col = 2; col < 7; ++col) cells.emplace_back(table.Cells(col, row));
  return cells;
}

class PointingTableTest : public ::testing::Test {
 protected:
  ScopedClockSource clock_{std::make_shared<FixedClock>(LocalDate{2026, 6, 21}, -180)};
};

TEST_F(PointingTableTest, SaoPauloExampleInBothLocales) {
  struct {
    FormatSettings settings;
    const char* position;
    std::vector<std::string> expected;
  } cases[] = {
      // Magnetic azimuth = azimuth - east-positive declination: 312.76 + 21.5.
      {PointFormatSettings(), "-70", {"312.76", "51.98", "334.26", "15:14:49", "-42.31"}},
      {CommaFormatSettings(), "-70,0", {"312,76", "51,98", "334,26", "15:14:49", "-42,31"}}};
  for (const auto& c : cases) {
    ScopedFormatSettings locale(c.settings);
    StringTable table = SatelliteTable({c.position});
    ComputePointingTable(table, kSaoPauloLat, kSaoPauloLon, kSaoPauloAltitude, -21.5L);
    EXPECT_EQ(ResultCells(table, 1), c.expected);
    EXPECT_EQ(table.Cells(0, 1), "Sat 1");
    EXPECT_EQ(table.Cells(1, 1), c.position);
  }
}

TEST_F(PointingTableTest, MagneticAzimuthIsNotReducedAndKeepsTheMissingValue) {
  ScopedFormatSettings locale(PointFormatSettings());
  // Satellite on the meridian: azimuth 0; with declination +21.5 the magnetic azimuth is -21.50.
  StringTable table = SatelliteTable({"-46.63"});
  ComputePointingTable(table, kSaoPauloLat, kSaoPauloLon, 0, 21.5L);
  EXPECT_EQ(table.Cells(kColAzimuth, 1), "0.00");
  EXPECT_EQ(table.Cells(kColMagneticAz, 1), "-21.50");
  ComputePointingTable(table, kSaoPauloLat, kSaoPauloLon, 0, -9999);
  EXPECT_EQ(table.Cells(kColMagneticAz, 1), "9999.00");
}

TEST_F(PointingTableTest, BelowTheHorizonGetsThePlaceholderAndALaterSiteOverwritesIt) {
  ScopedFormatSettings locale(PointFormatSettings());
  StringTable table = SatelliteTable({"-128.63", "-166.63"});
  ComputePointingTable(table, kSaoPauloLat, kSaoPauloLon, 0, 0);
  const std::vector<std::string> hidden(5, "----");
  EXPECT_EQ(ResultCells(table, 1), hidden);
  EXPECT_EQ(ResultCells(table, 2), hidden);
  ComputePointingTable(table, -10, -120, 0, 0);  // a site far west sees both
  EXPECT_NE(table.Cells(kColElevation, 1), "----");
  EXPECT_NE(table.Cells(kColElevation, 2), "----");
}

TEST_F(PointingTableTest, EquatorEmptiesTheFailedCellsInsteadOfKeepingTheOldSite) {
  ScopedFormatSettings locale(PointFormatSettings());
  StringTable table = SatelliteTable({"-70", "-46.63"});
  ComputePointingTable(table, kSaoPauloLat, kSaoPauloLon, 0, 0);
  ASSERT_EQ(table.Cells(kColSkew, 1), "-42.31");
  // Same satellites from the equator: the skew fails for both rows, the Sun time for the
  // satellite off the meridian (on 21 June the Sun does not culminate south either).
  ComputePointingTable(table, 0, kSaoPauloLon, 0, 0);
  EXPECT_EQ(table.Cells(kColAzimuth, 1), "270.00");
  EXPECT_EQ(table.Cells(kColSunTime, 1), "");
  EXPECT_EQ(table.Cells(kColSkew, 1), "");
  EXPECT_EQ(table.Cells(kColAzimuth, 2), "180.00");
  EXPECT_EQ(table.Cells(kColSkew, 2), "");
}

TEST_F(PointingTableTest, EquatorMeridianStillGetsTheTransitTimeWhenTheSunIsThere) {
  ScopedFormatSettings locale(PointFormatSettings());
  ScopedClockSource december(std::make_shared<FixedClock>(LocalDate{2026, 12, 7}, -180));
  StringTable table = SatelliteTable({"-46.63"});
  ComputePointingTable(table, 0, kSaoPauloLon, 0, 0);
  EXPECT_EQ(table.Cells(kColSunTime, 1).size(), 8u) << table.Cells(kColSunTime, 1);
  EXPECT_EQ(table.Cells(kColSunTime, 1).substr(0, 3), "11:");
}

TEST_F(PointingTableTest, SunTimeIsEmptiedWhereTheSunNeverReachesTheAzimuth) {
  ScopedFormatSettings locale(PointFormatSettings());
  ScopedClockSource december(std::make_shared<FixedClock>(LocalDate{2026, 12, 7}, -180));
  StringTable table = SatelliteTable({"-70", "-30", "-61"});
  ComputePointingTable(table, -15.78L, -47.93L, 1170, 0);  // Brasília
  for (int row = 1; row <= 3; ++row) {
    EXPECT_EQ(table.Cells(kColSunTime, row), "") << row;
    EXPECT_NE(table.Cells(kColSkew, row), "") << row;  // the next block still runs
  }
}

TEST_F(PointingTableTest, SkipsEmptyPositionsAndHeaderOnlyTables) {
  ScopedFormatSettings locale(PointFormatSettings());
  StringTable table = SatelliteTable({"", "-70"});
  ComputePointingTable(table, kSaoPauloLat, kSaoPauloLon, 0, 0);
  EXPECT_EQ(ResultCells(table, 1), std::vector<std::string>(5, "old"));
  EXPECT_EQ(table.Cells(kColAzimuth, 2), "312.76");

  StringTable headerOnly = SatelliteTable({});
  ComputePointingTable(headerOnly, kSaoPauloLat, kSaoPauloLon, 0, 0);
  EXPECT_EQ(headerOnly.RowCount(), 1);
  EXPECT_EQ(headerOnly.Cells(2, 0), "Azimute");
}

TEST_F(PointingTableTest, APositionThatIsNotANumberStopsTheLoopAtItsRow) {
  struct {
    FormatSettings settings;
    const char* bad;
  } cases[] = {{PointFormatSettings(), "abc"}, {PointFormatSettings(), "-70,0"},
               {CommaFormatSettings(), "-70.0"}, {PointFormatSettings(), "NAN"}};
  for (const auto& c : cases) {
    ScopedFormatSettings locale(c.settings);
    SCOPED_TRACE(c.bad);
    StringTable table = SatelliteTable({"-70", "-61", c.bad, "-30"});
    ExpectError<EConvertError>(
        [&] { ComputePointingTable(table, kSaoPauloLat, kSaoPauloLon, 0, 0); },
        std::string("'") + c.bad + "' is not a valid floating point value");
    EXPECT_NE(table.Cells(kColAzimuth, 1), "old");
    EXPECT_NE(table.Cells(kColAzimuth, 2), "old");
    EXPECT_EQ(ResultCells(table, 3), std::vector<std::string>(5, "old"));
    EXPECT_EQ(ResultCells(table, 4), std::vector<std::string>(5, "old"));
  }
}

TEST_F(PointingTableTest, NonFiniteSitesStopAtTheFirstRowWithAnArithmeticError) {
  ScopedFormatSettings locale(PointFormatSettings());
  const long double nan = std::numeric_limits<long double>::quiet_NaN();
  const long double inf = std::numeric_limits<long double>::infinity();
  const struct {
    long double lat, lon, alt;
  } sites[] = {{nan, -46.63L, 0}, {-23.55L, inf, 0}, {-inf, -46.63L, 0}, {-23.55L, -46.63L, nan}};
  for (const auto& s : sites) {
    SCOPED_TRACE(::testing::Message() << double(s.lat) << "," << double(s.lon) << "," << double(s.alt));
    StringTable table = SatelliteTable({"-70", "-30"});
    ExpectError<EInvalidOp>([&] { ComputePointingTable(table, s.lat, s.lon, s.alt, 0); },
                            "Invalid floating point operation");
    // The look angles are not guarded: the first row stops the loop before any cell changes.
    EXPECT_EQ(ResultCells(table, 1), std::vector<std::string>(5, "old"));
    EXPECT_EQ(ResultCells(table, 2), std::vector<std::string>(5, "old"));
  }
}

TEST_F(PointingTableTest, NoSunTimeWhileTheSunIsDown) {
  ScopedFormatSettings locale(PointFormatSettings());
  // São Paulo, 7 April 2026: the Sun reaches the azimuth of the satellite at 120 W at
  // 18:05:26, after sunset; the row still gets its angles and skew.
  ScopedClockSource april(std::make_shared<FixedClock>(LocalDate{2026, 4, 7}, -180));
  StringTable table = SatelliteTable({"-120", "-70"});
  ComputePointingTable(table, kSaoPauloLat, kSaoPauloLon, kSaoPauloAltitude, 0);
  EXPECT_EQ(table.Cells(kColSunTime, 1), "");
  EXPECT_NE(table.Cells(kColSkew, 1), "");
  EXPECT_EQ(table.Cells(kColSunTime, 2).size(), 8u) << table.Cells(kColSunTime, 2);

  // 81 N in the polar night: no satellite row gets a Sun time.
  ScopedClockSource december(std::make_shared<FixedClock>(LocalDate{2026, 12, 21}, 60));
  StringTable polar = SatelliteTable({"5", "15", "25"});
  ComputePointingTable(polar, 81, 15, 0, 0);
  for (int row = 1; row <= 3; ++row) {
    EXPECT_NE(polar.Cells(kColElevation, row), "----") << row;  // visible, just above the horizon
    EXPECT_EQ(polar.Cells(kColSunTime, row), "") << row;
  }
}

}  // namespace
}  // namespace zenavo
