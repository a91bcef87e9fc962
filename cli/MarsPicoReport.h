// SPDX-License-Identifier: MIT
// What show says of a 32X or Pico cartridge beyond its console name: the 32X initial program
// and user header, and which readers take the ROM for a Pico's and in which region.
#pragma once

#include "HeaderFile.h"

#include <functional>
#include <nlohmann/json.hpp>
#include <string>
#include <string_view>

namespace quillon::cli {

using ReportLine = std::function<void(std::string_view label, const std::string& value)>;

// Lines only for a ROM whose console name says 32X or that carries a sign of the initial
// program, and for one that any reader takes for a Pico's.
void printMarsPico(const LoadedHeader& header, const ReportLine& line);

// "mars" and "pico" objects, null where the text prints nothing.
void addMarsPicoJson(nlohmann::ordered_json& json, const LoadedHeader& header);

} // namespace quillon::cli
