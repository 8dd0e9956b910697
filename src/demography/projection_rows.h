// The rows of a projection as they are written out: one row per run and year with
// the population, the rates, the migration and the UN's total, in the form that
// vkproject prints and the program's "Export table..." writes, so that the two agree
// column for column.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "demography/country.h"
#include "demography/projection.h"

// One row: persons (or population units when raw), rates in the model's units.
struct ProjectionRow {
  const char* name;
  int year;
  int64_t population;
  int32_t tfr, lifex, imr;
  int64_t migration;
  int64_t un_population;  // -1: the file gives none
  int64_t male[VK_GROUPS], female[VK_GROUPS];
};

// The row of time point t of a run of country c.
ProjectionRow projection_row(const char* name, const VKStatetype* s, int t, const CountryInfo& c, bool raw);

// year, population, tfr, lifex, migration, imr, un_population as text: the rates
// with two decimals (the infant rate with three) unless raw; an empty UN total
// when there is none.
std::vector<std::string> projection_row_values(const ProjectionRow& r, bool raw);

// The header names: "name", then those of projection_row_values, then with groups
// m0..m16 and f0..f16.
std::vector<std::string> projection_column_names(bool groups);
constexpr size_t kProjectionFixedColumns = 8;  // name and the seven values

// A CSV field, quoted when it holds a comma, a quote or a line end.
std::string csv_field(const std::string& s);

// A model value with two or three decimals (hundredths or thousandths).
std::string fixed_decimals(int64_t value, int decimals);
