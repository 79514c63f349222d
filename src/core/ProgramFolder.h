#pragma once

#include <string>

// The folder of the running program, where bare file names are looked up.
std::string programFolder();
