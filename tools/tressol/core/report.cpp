#include "report.h"

#include <cstdio>

namespace tressol {
namespace {

struct Language {
  std::uint32_t lcid;
  const char* name;    // as shown after the ID
  const char* inText;  // as it stands in a sentence: "en Français"
};

// clang-format off
constexpr Language kLanguages[] = {
    {0x000, "aucune",                    nullptr},
    {0x409, "Anglais (États-Unis)",      "Anglais"},
    {0x809, "Anglais (Royaume-Uni)",     "Anglais"},
    {0x40C, "Français (France)",         "Français"},
    {0x80C, "Français (Belgique)",       "Français"},
    {0xC0C, "Français (Canada)",         "Français"},
    {0x100C, "Français (Suisse)",        "Français"},
    {0x140C, "Français (Luxembourg)",    "Français"},
    {0x407, "Allemand (Allemagne)",      "Allemand"},
    {0x807, "Allemand (Suisse)",         "Allemand"},
    {0xC07, "Allemand (Autriche)",       "Allemand"},
    {0x410, "Italien (Italie)",          "Italien"},
    {0x40A, "Espagnol (Espagne, traditionnel)", "Espagnol"},
    {0xC0A, "Espagnol (Espagne)",        "Espagnol"},
    {0x80A, "Espagnol (Mexique)",        "Espagnol"},
    {0x413, "Néerlandais (Pays-Bas)",    "Néerlandais"},
    {0x813, "Néerlandais (Belgique)",    "Néerlandais"},
    {0x416, "Portugais (Brésil)",        "Portugais"},
    {0x816, "Portugais (Portugal)",      "Portugais"},
    {0x406, "Danois",                    "Danois"},
    {0x41D, "Suédois",                   "Suédois"},
    {0x414, "Norvégien (bokmål)",        "Norvégien"},
    {0x40B, "Finnois",                   "Finnois"},
    {0x408, "Grec",                      "Grec"},
    {0x415, "Polonais",                  "Polonais"},
    {0x405, "Tchèque",                   "Tchèque"},
    {0x40E, "Hongrois",                  "Hongrois"},
    {0x419, "Russe",                     "Russe"},
    {0x41F, "Turc",                      "Turc"},
    {0x411, "Japonais",                  "Japonais"},
    {0x412, "Coréen",                    "Coréen"},
    {0x804, "Chinois (simplifié, RPC)",  "Chinois"},
    {0x404, "Chinois (traditionnel, Taïwan)", "Chinois"},
};
// clang-format on

const Language* Find(std::uint32_t lcid) {
  for (const Language& language : kLanguages) {
    if (language.lcid == lcid) return &language;
  }
  return nullptr;
}

std::string Hex(std::uint32_t value) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%X", static_cast<unsigned>(value));
  return text;
}

std::string InText(std::uint32_t lcid) {
  const Language* language = Find(lcid);
  return language && language->inText ? std::string("en ") + language->inText
                                      : "dans la langue " + Hex(lcid);
}

constexpr char kStart[] = "Les messages VB (erreurs...) sont ";

}  // namespace

std::string DescribeLcid(std::uint32_t lcid) {
  const Language* language = Find(lcid);
  return language ? Hex(lcid) + " " + language->name : Hex(lcid);
}

std::string DescribeLibrary(const std::string& library) {
  if (library == "*") return "* = messages anglais intégrés";
  if (library == "~") return "~ = aucune bibliothèque";
  if (library.empty()) return "(vide)";
  return library;
}

std::string Effect(const LanguageSettings& s) {
  if (s.primaryLibrary == "*") {
    return kStart + std::string("en Anglais");
  }
  if (s.primaryLibrary == "~" || s.primaryLibrary.empty()) {
    return s.secondaryLibrary == "*" ? kStart + std::string("en Anglais")
                                     : "Aucune bibliothèque de messages n'est désignée.";
  }
  // The label writes the French library in capitals; the argument does not.
  const std::string library = s.primaryLibrary == "vb6FR.dll" ? "VB6FR.dll" : s.primaryLibrary;
  if (s.secondaryLibrary == "*") {
    return kStart + std::string("en Anglais si ") + library + " n'est pas sur le système, sinon " +
           InText(s.primaryLcid);
  }
  if (s.secondaryLibrary == "~") {
    return kStart + InText(s.primaryLcid) + " et " + library + " DOIT être présent sur le système.";
  }
  return kStart + InText(s.primaryLcid) + " si " + library + " est sur le système, sinon " +
         InText(s.secondaryLcid) + " si " + s.secondaryLibrary + " y est.";
}

std::string DescribeSettings(const LanguageSettings& s) {
  return "  Bibliothèque principale : " + DescribeLibrary(s.primaryLibrary) + "\n" +
         "  Langue principale       : " + DescribeLcid(s.primaryLcid) + "\n" +
         "  Bibliothèque secondaire : " + DescribeLibrary(s.secondaryLibrary) + "\n" +
         "  Langue secondaire       : " + DescribeLcid(s.secondaryLcid) + "\n" +
         "  Effet : " + Effect(s) + "\n";
}

}  // namespace tressol
