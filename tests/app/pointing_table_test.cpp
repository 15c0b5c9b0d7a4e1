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

// The magnetic azimuth reads as a compass reads: 0.00..359.99, never 360.00.
TEST(MagneticAzimuthText, IsTheBearingReducedIntoOneTurn) {
  const struct {
    FormatSettings settings;
    long double azimuth, declination;
    const char* text;
  } cases[] = {
      {PointFormatSettings(), 0, 21.5L, "338.50"},         // east declination near north
      {PointFormatSettings(), 350, -21.5L, "11.50"},       // west declination past north
      {PointFormatSettings(), 342.72L, -21.5L, "4.22"},    // Star One C4 from the far west
      {PointFormatSettings(), 312.76L, -21.5L, "334.26"},
      {PointFormatSettings(), 359.996L, 0, "0.00"},        // rounds to a whole turn
      {PointFormatSettings(), 0.004L, 0.008L, "0.00"},     // just west of north, the same
      {PointFormatSettings(), 359.994L, 0, "359.99"},
      {PointFormatSettings(), 720, 0, "0.00"},
      {CommaFormatSettings(), 2, 21.5L, "340,50"},
  };
  for (const auto& c : cases) {
    ScopedFormatSettings locale(c.settings);
    EXPECT_EQ(MagneticAzimuthText(c.azimuth, c.declination), c.text)
        << double(c.azimuth) << " - " << double(c.declination);
  }
}

TEST_F(PointingTableTest, WithoutADeclinationTheMagneticAzimuthStaysEmpty) {
  ScopedFormatSettings locale(PointFormatSettings());
  // Satellite on the meridian: azimuth 0.
  StringTable table = SatelliteTable({"-46.63"});
  ComputePointingTable(table, kSaoPauloLat, kSaoPauloLon, 0, 21.5L);
  EXPECT_EQ(table.Cells(kColAzimuth, 1), "0.00");
  EXPECT_EQ(table.Cells(kColMagneticAz, 1), "338.50");
  ComputePointingTable(table, kSaoPauloLat, kSaoPauloLon, 0, std::nullopt);
  EXPECT_EQ(table.Cells(kColAzimuth, 1), "0.00");
  EXPECT_EQ(table.Cells(kColMagneticAz, 1), "") << "no value may stand for a missing declination";
}

TEST(CheckSiteAltitude, RefusesAltitudesNoSiteHas) {
  ScopedFormatSettings locale(PointFormatSettings());
  for (const long double altitude : {-500.0L, 0.0L, 784.0L, 9000.0L}) EXPECT_NO_THROW(CheckSiteAltitude(altitude));
  const struct {
    long double altitude;
    const char* text;
  } refused[] = {{-500.5L, "-500.5"}, {9001, "9001"}, {-1e308L, "-1E308"},
                 {std::numeric_limits<long double>::quiet_NaN(), "NAN"}};
  for (const auto& c : refused)
    ExpectError<Exception>([&] { CheckSiteAltitude(c.altitude); },
                           std::string("The altitude ") + c.text +
                               " m lies outside -500 to 9,000 m; type the site's altitude in metres");
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

// A position that is a number, but no longitude: that row is emptied, the others computed, and
// the message names every such row.
TEST_F(PointingTableTest, APositionOutsideOneTurnEmptiesItsRowAndIsNamed) {
  ScopedFormatSettings locale(PointFormatSettings());
  StringTable table = SatelliteTable({"-70", "1e999", "360", "-360.01", "-30"});
  ExpectError<Exception>(
      [&] { ComputePointingTable(table, kSaoPauloLat, kSaoPauloLon, 0, 0); },
      "A satellite position must be a number from -360 to 360; these rows have no results: "
      "row 2 (Sat 2): \"1e999\"; row 4 (Sat 4): \"-360.01\"");
  for (const int row : {1, 3, 5}) EXPECT_NE(table.Cells(kColAzimuth, row), "old") << row;
  for (const int row : {2, 4}) EXPECT_EQ(ResultCells(table, row), std::vector<std::string>(5, "")) << row;
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
