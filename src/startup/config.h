// The configuration file config.mcf (tag "VK_config"): file names, paths, backing
// store, floating point and the screen-dump format.
#pragma once
#include "base/tagged_reader.h"

// Reads DataDir + "config.mcf" when it exists (a missing file keeps every default);
// a file that does not read is fatal.
void configure();

// The reader callback of the configuration file.
int config_reader(const char* key, ReaderStatusType status, void* data);
// The reader callback of the remembered starting point ("VK_start", the program's
// vk_start.ini): "baseyear=" into the long that data points to.
int start_setting_reader(const char* key, ReaderStatusType status, void* data);
