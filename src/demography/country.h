// Country databases (tag "VK_country"): the raw figures of a file (ReadinInfo), the
// converted country record that seeds a projection (CountryInfo), the reader
// callback, the conversion and the loading of a list entry into a pane.
// Every "long" of the system is a 32-bit signed value (int32_t here), as stored.
#pragma once
#include <cstdint>
#include <cstdio>
#include <string>

#include "base/tagged_reader.h"

// Raw record of a country file; every number starts at -1 (absent).
struct ReadinInfo {
  char country_name[22];
  int32_t buddy;
  int32_t scale_factor;        // 1000 or 1
  int32_t total_pop_1990;
  int32_t life_expect_1990;    // hundredths of years
  int32_t infant_deaths_1990;  // tenths of infant deaths per thousand births
  int32_t tot_fertility_1990;  // hundredths
  int32_t life_expect_2000;
  int32_t infant_deaths_2000;
  int32_t tot_fertility_2000;
  int32_t tot_pop[18];  // 0 TOTAL, 1..16 "00-04".."75-79", 17 "80+"
  int32_t male_pop[18];
  int32_t fem_pop[18];
  int32_t tot_births[10];  // 0 TOTAL, 1 "-15", 2..8 "15-19".."45-49", 9 "50+"
  int32_t male_births[10];
  int32_t fem_births[10];
  int32_t tot_deaths[19];  // 0 TOTAL, 1 "-01", 2 "01-04", 3..17 "05-09".."75-79", 18 "80+"
  int32_t male_deaths[19];
  int32_t fem_deaths[19];
  int32_t mig;
  // Whether "migration=" was read: -1 is a real net migration (a thousand
  // emigrants a year in a file counted in thousands), not only "absent".
  int32_t mig_given;
  // The "year pop" rows of B, B + 5, ... B + 60 (the UN's totals); -1 where absent.
  int32_t un_pop[13];
};

// Converted country record, the start of every run of a pane.
struct CountryInfo {
  char country_name[22];
  char title[40];
  int32_t scale_factor;        // persons per population unit: 1000 or 1
  int32_t life_adjust;         // female life-expectancy excess, thousandths
  int32_t life_expectancy;     // 1990, hundredths of years
  int32_t tot_fertility_rate;  // 1990, hundredths
  int32_t life_expect_2000;
  int32_t tot_fertility_2000;
  int32_t infant_deaths_2000;  // per million births
  int32_t male_1990_pop[18];   // 0 the sum of 1..17 ("00-04".."80+")
  int32_t fem_1990_pop[18];
  int32_t tot_birthrate[9];    // per million women of the groups 10-14 .. 50-54
  int32_t tot_deathrate[18];   // 0 infant deaths per million births; 1..17 groups
  int32_t mig;                 // net migrants per year, population units
  // The UN's totals of B, B + 5, ... B + 60 from the file's "year pop" rows, in
  // population units; -1 where the file has none. Not part of a saved simulation:
  // a loaded one reads them again from the country file of the same name.
  int32_t un_pop[13];
};

extern CountryInfo Country[2];  // one per pane ("top", "bottom")

void readininit(ReadinInfo* record);
void countryinit(CountryInfo* record);

// The reader callback of a country file; data is a ReadinInfo.
int VKreader(const char* key, ReaderStatusType status, void* data);
// Puts the reader's current year back to its start value (-1). The program never
// does (the year carries over between files); tests and fuzzing do.
void reset_vkreader();

// Converts a raw record; 1 on success, 0 when a required value is absent.
int DBconvert(ReadinInfo* raw, CountryInfo* country);

// Lowers a text in place.
void tolowerstring(char* text);

// Why loading a country file failed.
enum CountryLoadResult { COUNTRY_LOADED = 0, COUNTRY_NO_FILE, COUNTRY_BAD_FILE, COUNTRY_NO_CONVERSION };

// Reads and converts the database file of list entry index into *country, which is
// changed only on success. Logs the reader's messages, nothing of its own.
CountryLoadResult loadcountry(int index, CountryInfo* country);

// Why the last country file that did not load was refused, beginning with its path;
// shown under the load alert. Emptied by a load that succeeds.
extern std::string CountryLoadProblem;

// Fills country->un_pop from the file of the list entry named like the country
// (case ignored), or with -1 when there is none or it does not load.
void read_un_totals(CountryInfo* country);

// Loads list entry index into the Country record of pane Cdisp, with the log lines
// and the user's alert on failure. 1 on success, 0 on failure (the pane's record
// then stays as it was).
int readcountry(int index);
