// Every entry of both programs' catalogs, rendered with sample data (each plural form), as
// one Markdown page that a French editor reads in one sitting. With a file's path, compares
// the page with that file instead, so that a change of words without its page fails.
#include <cstdio>
#include <fstream>
#include <initializer_list>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "catalog_text.h"
#include "window_words.h"
#include "words.h"

namespace {

struct Sample {
  std::string_view place;
  std::string_view value;
};

// One value for each place name any entry uses; a place without one shows as <name>.
constexpr Sample kSamples[] = {
    {"file", "Projet.exe"},
    {"path", "C:\\Appli\\Projet.exe"},
    {"folder", "C:\\Appli"},
    {"journal",
     "C:\\Users\\Marie\\AppData\\Local\\Tressol\\Retours\\journal-20261209-103000-4242.txt"},
    {"library", "vb6FR.dll"},
    {"libraries", "vb6FR.dll, vb6DE.dll"},
    {"lcid", "0x40C"},
    {"language", "français"},
    {"total", "12"},
    {"detail", "0x1A4"},
    {"offset", "0x1A4"},
    {"section", ".text"},
    {"signature", "Authenticode"},
    {"word", "--frob"},
    {"settings", "vb6FR.dll 0x40C * 0x0"},
    {"option", "--set"},
    {"command", "\"C:\\Outils\\Tressol.exe\" --set * 0x409 ~ 0x0 \"C:\\Appli\\Projet.exe\""},
    {"tool", "Tressol.exe"},
    {"program", "Tressol.exe"},
    {"build", "8988"},
    {"system", "Accès refusé"},
    {"line", "7"},
    {"name", "Projet.exe"},
    {"size", "256"},
    {"variable", "TRESSOL_JOURNAL"},
    {"here", ".\\"},
    {"character", "U+0022"},
    {"library2", "vb6DE.dll"},
    {"lcid2", "0x407"},
    {"language2", "allemand"},
    {"effect", "messages en français (en anglais sans vb6FR.dll)"},
    {"before", "messages en anglais"},
    {"after", "messages en français (en anglais sans vb6FR.dll)"},
    {"expected", "0x409"},
    {"reason", "trop court pour une image PE"},
    {"words", "modifié, messages en anglais → messages en français"},
    {"differences", "langue principale 0x409 au lieu de 0x40C"},
    {"stored", "0x0001A2B3"},
    {"actual", "0x0001A2C4"},
    {"written", "0x0001A2C4"},
    {"counts", "3 fichiers modifiés, 1 déjà réglé, 0 non VB6, 0 en échec"},
    {"effects", "2 en français, 1 en anglais"},
    {"files", "Projet.exe, Client.exe, Outils.dll"},
    {"folders", "« C:\\Appli », dossier du programme"},
    {"list", "Projet.exe, Client.exe"},
    {"item", "Outils.dll"},
    {"version", "1.5.0"},
    {"limit", "8 191"},
};

// Where the common sample would mislead the reader, the value that entry is really given.
enum class Program { Window, Tool };
struct Override {
  Program program;
  std::size_t entry;
  std::string_view place;
  std::string_view value;
};

template <typename E>
constexpr std::size_t At(E entry) {
  return static_cast<std::size_t>(entry);
}

using linguarde::WindowWords;
using tressol::Words;
constexpr Override kOverrides[] = {
    {Program::Window, At(WindowWords::LineControlCharacter), "character", "U+000A"},
    {Program::Window, At(WindowWords::TargetControlCharacter), "character", "U+000A"},
    {Program::Window, At(WindowWords::TargetLoneSurrogate), "character", "U+D800"},
    {Program::Window, At(WindowWords::FolderLoneSurrogate), "character", "U+D800"},
    {Program::Window, At(WindowWords::ScriptHeld), "file", "VBcommand.bat"},
    {Program::Window, At(WindowWords::ScriptRewritten), "file", "VBcommand.bat"},
    {Program::Window, At(WindowWords::TargetOptionLike), "file", "-Projet.exe"},
    {Program::Window, At(WindowWords::TargetOptionLike), "name", "-Projet.exe"},
    {Program::Window, At(WindowWords::TargetRelativeOnNetwork), "path", "Appli\\Projet.exe"},
    {Program::Window, At(WindowWords::FolderPercents), "folder", "C:\\Outils\\100%\\Linguarde%"},
    {Program::Window, At(WindowWords::ScriptUnreadable), "path", "C:\\Outils\\VBcommand.bat"},
    {Program::Window, At(WindowWords::ScriptUnwritable), "path", "C:\\Outils\\VBcommand.bat"},
    {Program::Window, At(WindowWords::ScriptUnclosable), "path", "C:\\Outils\\VBcommand.bat"},
    {Program::Window, At(WindowWords::ScriptUnreopenable), "path", "C:\\Outils\\VBcommand.bat"},
    {Program::Window, At(WindowWords::ScriptUncreatable), "path", "C:\\Outils\\VBcommand.bat"},
    {Program::Window, At(WindowWords::ScriptUnstartable), "path", "C:\\Outils\\VBcommand.bat"},
    {Program::Window, At(WindowWords::ScriptNotHeld), "path", "C:\\Outils\\VBcommand.bat"},
    {Program::Window, At(WindowWords::ToolUnstartable), "path", "C:\\Outils\\Tressol.exe"},
    {Program::Window, At(WindowWords::LineUndoRefused), "reason",
     "ce journal est d'une autre version de Tressol, que celle-ci ne lit pas"},
    {Program::Window, At(WindowWords::LineUndoInexact), "reason",
     "sa taille a changé depuis la modification ; il est laissé tel quel"},
    {Program::Tool, At(Words::FileNotRegular), "reason", "périphérique"},
    {Program::Tool, At(Words::StepNoJournalFolder), "variable",
     "LOCALAPPDATA, TMP, TEMP, USERPROFILE"},
    {Program::Tool, At(Words::MistakeUnknownOption), "option", "--sett"},
    {Program::Tool, At(Words::MistakeTargetLooksLikeLcid), "word", "0x40C"},
    {Program::Tool, At(Words::MistakeInvalidLcid), "settings", "vb6FR.dll 0x40G * 0x0"},
    {Program::Tool, At(Words::MistakeInvalidLcid), "word", "0x40G"},
    {Program::Tool, At(Words::MistakeInvalidLibrary), "settings", "vb6\\FR.dll 0x40C * 0x0"},
    {Program::Tool, At(Words::MistakeInvalidLibrary), "word", "vb6\\FR.dll"},
    {Program::Tool, At(Words::DiffersPrimaryLibrary), "library", "*"},
    {Program::Tool, At(Words::DiffersPrimaryLibrary), "expected", "vb6FR.dll"},
    {Program::Tool, At(Words::DiffersSecondaryLibrary), "library", "~"},
    {Program::Tool, At(Words::DiffersSecondaryLibrary), "expected", "*"},
    {Program::Tool, At(Words::DiffersPrimaryLcid), "lcid", "0x409"},
    {Program::Tool, At(Words::DiffersPrimaryLcid), "expected", "0x40C"},
    {Program::Tool, At(Words::DiffersSecondaryLcid), "lcid", "0x409"},
    {Program::Tool, At(Words::DiffersSecondaryLcid), "expected", "0x0"},
    {Program::Tool, At(Words::MarkKeptElsewhere), "path",
     "C:\\Users\\Marie\\AppData\\Local\\Tressol\\Retours\\journal-20261209-104500-4310.txt"},
    {Program::Tool, At(Words::UndoRun), "command",
     "\"C:\\Program Files\\Outils\\Tressol.exe\" --undo "
     "\"C:\\Users\\Marie\\AppData\\Local\\Tressol\\Retours\\journal-20261209-103000-4242.txt\""},
    {Program::Tool, At(Words::UndoRunPowerShell), "command",
     "& 'C:\\Program Files\\Outils\\Tressol.exe' --undo "
     "'C:\\Users\\Marie\\AppData\\Local\\Tressol\\Retours\\journal-20261209-103000-4242.txt'"},
    {Program::Tool, At(Words::UndoRunBothShells), "command",
     "C:\\Outils\\Tressol.exe --undo "
     "C:\\Users\\Marie\\AppData\\Local\\Tressol\\Retours\\journal-20261209-103000-4242.txt"},
    {Program::Tool, At(Words::FrenchLibraries), "libraries", "vb6FR.dll, Anciens\\vb6FR.dll"},
    {Program::Tool, At(Words::FrenchLibrariesLeft), "libraries", "vb6FR.dll, Anciens\\vb6FR.dll"},
    {Program::Tool, At(Words::VerdictNotRecordedBecause), "reason",
     "écriture impossible dans « C:\\Users\\Marie\\AppData\\Local\\Tressol\\Retours\\"
     "journal-20261209-103000-4242.txt » (disque plein)"},
    {Program::Tool, At(Words::VerdictWriteFailed), "reason", "écriture incomplète"},
    {Program::Tool, At(Words::VerdictWriteFailedNotRestored), "reason", "écriture incomplète"},
    {Program::Tool, At(Words::WordsLeftAside), "reason", "lien symbolique, non suivi"},
    {Program::Tool, At(Words::WordsFailed), "reason",
     "il est verrouillé par un autre programme ; fermez ce programme, puis recommencez"},
    {Program::Tool, At(Words::ToolFailed), "reason", "ce fichier n'est pas un journal de Tressol"},
    {Program::Tool, At(Words::ShortVb6), "effect", "en français ou en anglais"},
    {Program::Tool, At(Words::ShortEffectCount), "effect", "en anglais"},
    {Program::Tool, At(Words::ShortVb6Effects), "count", "3"},
};

// The count, given for each plural form, yields only to an entry's own.
std::string SampleFor(Program program, std::size_t entry, std::string_view place,
                      std::string_view count) {
  for (const Override& given : kOverrides) {
    if (given.program == program && given.entry == entry && given.place == place) {
      return std::string(given.value);
    }
  }
  if (place == "count") return std::string(count);
  for (const Sample& sample : kSamples) {
    if (sample.place == place) return std::string(sample.value);
  }
  return "<" + std::string(place) + ">";
}

// The entry with a sample in each place, "{count}" given.
std::string Rendered(std::string_view utf8, std::string_view count, Program program,
                     std::size_t entry) {
  std::vector<std::string> names;
  for (std::size_t open = utf8.find('{'); open != std::string::npos;
       open = utf8.find('{', open + 1)) {
    const std::size_t close = utf8.find('}', open);
    if (close == std::string::npos) break;
    names.emplace_back(utf8.substr(open + 1, close - open - 1));
  }
  std::vector<std::string> values;
  for (const std::string& name : names) {
    values.push_back(SampleFor(program, entry, name, count));
  }
  std::vector<linguarde::catalog::Place<char>> places;
  for (std::size_t i = 0; i < names.size(); ++i) places.push_back({names[i], values[i]});
  return linguarde::catalog::Fill<char>(utf8, places);
}

// A list item's text: a line end inside an entry (the help's) continues the item.
std::string Item(std::string text) {
  while (!text.empty() && text.back() == '\n') text.pop_back();
  for (std::size_t end = text.find('\n'); end != std::string::npos;
       end = text.find('\n', end + 1)) {
    text.insert(end + 1, "   ");
  }
  return text;
}

void Section(std::ostringstream& page, std::string_view title, Program program, std::size_t entries,
             linguarde::catalog::Entry<char> (*at)(std::size_t)) {
  page << "## " << title << "\n\n";
  for (std::size_t i = 0; i < entries; ++i) {
    const linguarde::catalog::Entry<char> entry = at(i);
    page << i + 1 << ". " << Item(Rendered(entry.one, "1", program, i)) << "\n";
    if (entry.other != nullptr) {
      page << "   " << Item(Rendered(entry.other, "3", program, i)) << "\n";
    }
  }
  page << "\n";
}

linguarde::catalog::Entry<char> ToolEntry(std::size_t i) {
  return tressol::EntryAt(static_cast<tressol::Words>(i));
}

linguarde::catalog::Entry<char> WindowEntry(std::size_t i) {
  return linguarde::EntryAt(static_cast<linguarde::WindowWords>(i));
}

}  // namespace

int main(int argc, char** argv) {
  std::ostringstream page;
  page << "# Every sentence of Linguarde and Tressol\n\n"
       << "Made by `scripts/transcript.sh` from the programs' catalogs, with sample data in "
          "each place; each entry with a count shows its singular (1, also for 0) and its "
          "plural (3). Do not edit by hand: change the catalog, then run the script.\n\n";
  Section(page, "Linguarde", Program::Window, linguarde::kWindowWordsCount, WindowEntry);
  Section(page, "Tressol", Program::Tool, static_cast<std::size_t>(tressol::Words::kEnd),
          ToolEntry);
  if (argc < 2) {
    std::fputs(page.str().c_str(), stdout);
    return 0;
  }
  std::ifstream file(argv[1], std::ios::binary);
  std::ostringstream kept;
  kept << file.rdbuf();
  if (kept.str() == page.str()) return 0;
  std::fprintf(stderr,
               "%s is not the catalogs' transcript: run scripts/transcript.sh and commit it\n",
               argv[1]);
  return 1;
}
