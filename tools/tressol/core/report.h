#pragma once

#include <cstdint>
#include <string>

#include "vb_header.h"

namespace tressol {

// "0x409 Anglais (États-Unis)", or the hex alone for an ID without a known name.
std::string DescribeLcid(std::uint32_t lcid);
// "* (messages anglais intégrés)", "~ (aucune bibliothèque)", or the file name.
std::string DescribeLibrary(const std::string& library);
// One sentence, in the words of Linguarde's labels where the settings are one of its three.
std::string Effect(const LanguageSettings& settings);
// The settings' lines of a report, each ended by a line end.
std::string DescribeSettings(const LanguageSettings& settings);

}  // namespace tressol
