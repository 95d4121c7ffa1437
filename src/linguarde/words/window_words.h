#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>

#include "catalog_text.h"

// Every text the window shows of its own, each once: the line under the target, the message
// boxes, the script's refusals, the undo button's captions. UTF-16, as the window draws it.
// The buttons' captions and labels stay in the action table, which the tool shares, and the
// Open dialog's title and filter beside the dialog: they are fixed, byte for byte.
namespace linguarde {

enum class WindowWords : std::uint16_t {
  // The line under the target: "{file}", the target's name as it fits, then what is said of
  // it, without a capital or a final full stop.
  LineToolWords,
  LineUnreadable,
  LineSilent,
  LineReading,
  LineNoAnswer,
  LineActionConsole,
  LineUndoConsole,
  LineRedoConsole,
  LineActionConsoleUnfollowed,
  LineUndoConsoleUnfollowed,
  LineRedoConsoleUnfollowed,
  LineRelativeOnNetwork,
  LineQuote,
  LineControlCharacter,
  LineToolMissing,
  LineToolUnstartable,
  LineLibraryMissing,
  LineLibrariesMissing,
  // ... and what it says of the undo, after the tool's words.
  LineRedoOffered,
  LineJournalGone,
  LineJournalBusy,
  LineUndoRefused,
  LineUndoHeld,
  LineUndoReadOnly,
  LineUndoDenied,
  LineUndoInexact,

  // The undo button.
  UndoCaption,
  RedoCaption,

  // Message boxes: one console at a time.
  ActionConsoleOpen,
  UndoConsoleOpen,
  RedoConsoleOpen,

  // The script's refusals: nothing written, or the script written but nothing started.
  ScriptHeld,
  ScriptRewritten,
  TargetQuoted,
  TargetQuote,
  TargetControlCharacter,
  FolderUncarriable,
  TargetLoneSurrogate,
  FolderLoneSurrogate,
  TargetOptionLike,
  TargetRelativeOnNetwork,
  FolderPercents,
  ScriptLineTooLong,

  // A step that failed, with the system's words, and the end of the program.
  ScriptUnreadable,
  ScriptUnwritable,
  ScriptUnclosable,
  ScriptUnreopenable,
  ScriptUncreatable,
  ScriptUnstartable,
  ScriptNotHeld,
  SystemFolderUnknown,
  ApplicationFolderUnknown,
  UndoUnstartable,
  ToolUnstartable,
  WindowClassFailed,
  WindowFailed,
  UnexpectedFailure,
  ActionFailed,
  Closing,

  // A list of names, one more at its end.
  ListNext,

  kEnd
};

inline constexpr std::size_t kWindowWordsCount = static_cast<std::size_t>(WindowWords::kEnd);

using WidePlace = catalog::Place<wchar_t>;

// The entry with its places filled, in UTF-16.
std::wstring Say(WindowWords entry, std::initializer_list<WidePlace> places = {});

// The catalog in its order, for those who read it whole: kept in UTF-8, which Say gives the
// window in UTF-16.
const catalog::Entry<char>& EntryAt(WindowWords entry);

// UTF-8, such as the tool's JSON, as the window's UTF-16; a byte that starts no character is
// U+FFFD.
std::wstring Widened(std::string_view text);

// French typography as the window shows it, by the rule both programs share (catalog_text.h):
// wrapping never starts a line with a sign.
std::wstring Typeset(std::wstring text);

// A number with its thousands apart by a space that never breaks: "8 191".
std::wstring Grouped(std::uint64_t number);

// A character as Unicode names it: "U+0022".
std::wstring CodePointName(char32_t codePoint);

}  // namespace linguarde
