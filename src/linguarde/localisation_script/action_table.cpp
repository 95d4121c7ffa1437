#include "action_table.h"

#include "cmd_text.h"
#include "modOperationFichier.h"

namespace linguarde {
namespace {

using cmd::Carried;

// The script's own folder, with its final backslash: Linguarde's folder.
constexpr std::wstring_view kScriptFolder = L"%~dp0";

// The line as written and as the interpreter reads it once its variables are expanded.
class LineBuilder {
 public:
  void Add(std::wstring_view same) { Add(same, same); }
  void Add(std::wstring_view written, std::wstring_view expanded) {
    written_ += written;
    expanded_ += expanded;
  }

  ActionLine Done(std::vector<ScriptVariable> environment) && {
    // Every character is ASCII here: the texts beyond it went into the environment.
    return {std::string(written_.begin(), written_.end()), std::move(environment),
            std::move(expanded_)};
  }

 private:
  std::wstring written_;
  std::wstring expanded_;
};

}  // namespace

std::optional<ActionLine> LigneAction(const std::wstring& dossierApplication,
                                      const std::wstring& cible, std::int16_t Index) {
  if (Index < 0 || static_cast<std::size_t>(Index) >= kActions.size()) {
    return std::nullopt;
  }
  const ActionRow& row = kActions[static_cast<std::size_t>(Index)];
  const std::wstring outil = modOperationFichier::CheminDansDossier(dossierApplication, kToolName);

  LineBuilder line;
  if (cmd::IsAscii(outil)) {
    line.Add(cmd::QuotedCommand(outil));
  } else {
    line.Add(L"\"" + std::wstring(kScriptFolder) + std::wstring(kToolName) + L"\"",
             L"\"" + outil + L"\"");
  }
  line.Add(L" ");

  std::vector<ScriptVariable> environment;
  if (cmd::IsAscii(cible)) {
    line.Add(row.targetQuoted ? cmd::QuotedArgument(cible, Carried::InLine)
                              : cmd::OutsideQuotes(cible, Carried::InLine));
  } else {
    // The expanded text is parsed again for operators: the value carries the escapes the
    // line would have, except for %, which is not expanded twice.
    const std::wstring reference = cmd::Expansion(kTargetVariable);
    std::wstring value = row.targetQuoted ? cmd::ArgumentInsideQuotes(cible, Carried::InVariable)
                                          : cmd::OutsideQuotes(cible, Carried::InVariable);
    if (row.targetQuoted) {
      line.Add(L"\"" + reference + L"\"", L"\"" + value + L"\"");
    } else {
      line.Add(reference, value);
    }
    environment.push_back({std::wstring(kTargetVariable), std::move(value)});
  }
  line.Add(std::wstring(row.settings.begin(), row.settings.end()));
  return std::move(line).Done(std::move(environment));
}

}  // namespace linguarde
