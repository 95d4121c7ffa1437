#pragma once

#include <string>
#include <vector>

#include "win32_script_platform.h"

namespace linguarde::test {

// The real file system, but the script is only noted, not started.
class UnstartedPlatform final : public ScriptPlatform {
 public:
  explicit UnstartedPlatform(std::wstring folder) : real_(std::move(folder)) {}

  std::vector<std::wstring> started;
  std::vector<ScriptVariable> environment;  // of the last start

  std::wstring ApplicationFolder() override { return real_.ApplicationFolder(); }
  std::wstring CurrentFolder() override { return real_.CurrentFolder(); }
  std::unique_ptr<ScriptFile> CreateScript(const std::wstring& path) override {
    return real_.CreateScript(path);
  }
  std::unique_ptr<Console> StartScript(const std::wstring& path, std::unique_ptr<HeldScript>,
                                       const std::vector<ScriptVariable>& variables) override {
    started.push_back(path);
    environment = variables;
    return nullptr;
  }
  std::wstring NewJournalPath() override { return real_.NewJournalPath(); }
  std::unique_ptr<Console> StartUndo(const std::wstring&, const std::wstring& journal,
                                     const std::vector<ScriptVariable>& variables) override {
    started.push_back(L"--undo " + journal);
    environment = variables;
    return nullptr;
  }

 private:
  win32::Win32ScriptPlatform real_;
};

}  // namespace linguarde::test
