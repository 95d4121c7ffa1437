#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "lines.h"
#include "run_terms.h"
#include "tool_error.h"
#include "vb_header.h"
#include "words.h"

namespace tressol {

// The words of a file's failure: the report's, with the system's own text where there is
// one; for a set, where the file is to be modified, or a view, where it is read.
std::string FileFailureText(const FileError& error);
// The help, with the program's name and examples as that shell writes them.
std::string Usage(Shell shell);

// The tool's name as the shell it runs from calls it.
const char* ProgramName(Shell shell);
// Why a step failed, in the report's words: a file's failure worded from its facts.
std::string ReasonOf(const ToolError& error);
// Why an entry is left aside, in a few words.
std::string AsideText(Aside aside);
// The same in the few words of a window's line, where it has fewer; else nothing.
std::string ShortReasonOf(const ToolError& error);
// Whether the verdict finds the file damaged, to be copied again from its original.
bool AsksForCopy(Verdict verdict);

// "0x40C": hexadecimal, as settings and offsets are written.
std::string Hex(std::uint64_t value);
// The last component of a path, either separator.
std::string FileName(const std::string& path);
// Whether a library name is the runtime's French library, in any case: Windows finds
// "vb6fr.dll" for "VB6FR.dll". Names are always shown as stored.
bool IsFrenchLibrary(const std::string& library);
// What the settings do, in a few words: "messages en français (en anglais sans vb6FR.dll)".
std::string PlainEffect(const LanguageSettings& settings);
// Fewer words still, for a count of files: "en français ou anglais", "en français seulement".
std::string ShortEffect(const LanguageSettings& settings);
// Linguarde's label, quoted, where the settings are one of its buttons'; else the plain effect.
std::string Effect(const LanguageSettings& settings);
// The four settings' lines and, unless the caller says the effect itself, the effect's, each
// ended by a line end; a setting that the runtime never uses is said to be without effect.
std::string DescribeSettings(const LanguageSettings& settings, bool withEffect = true);

}  // namespace tressol
