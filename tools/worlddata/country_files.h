// The country databases ("VK_country") of the list entries, computed from WPP
// 2019: the 1990 population by sex and age, births by age of mother and sex of the
// child, deaths by age and sex, the summary figures of 1990-1995 and of 2000-2005,
// and the population unit of each file; or the same thirty years later, from 2020
// (base 2020: the rates of 2020-2025 and the levels of 2030-2035).
#pragma once
#include <string>

#include "world_list.h"
#include "wpp_tables.h"

// The engine's 32-bit limit and the bound that decides the unit (see the .cpp).
constexpr double INT32_LIMIT = 2147483647.0;

// Upper bound, in persons, of the largest 32-bit quantity the projection engine can
// reach for this location from the base year to 60 years later under the largest
// targets the program allows (see the .cpp for the reasoning).
double extreme_engine_quantity(const WppData& wpp, int code, int base = 1990);

// True when the file of this location must count in thousands (size= 1000).
bool counts_in_thousands(const WppData& wpp, int code, int base = 1990);

// The whole text of the entry's database file; false with a message when a figure
// it needs is missing from the tables.
bool country_file_text(const WppData& wpp, const ListEntry& entry, std::string* text,
                       std::string* error, int base = 1990);

// Coale-Demeny: the fraction of the first year of life lived by infants who die,
// from the infant death rate 1m0 (male or female); and 1q0 from 1m0.
double coale_demeny_a0(double m0, bool male);
double infant_q0(double m0, bool male);
