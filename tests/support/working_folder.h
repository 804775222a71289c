// The working folder that window and printing tests start the program on: a
// temporary profile holding RavelstowData/Vantrose with its four sub-folders, and
// the program's services with every message and question recorded and no desktop
// shortcut.
// The printing services are the test's to choose before it starts the program.
#pragma once

#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

#include "base/file_layer.h"
#include "base/working_folders.h"
#include "shell/ui/program.h"
#include "support/fake_platform.h"
#include "support/temp_folder.h"

// Makes RavelstowData/Vantrose and its four sub-folders in `profile`, below `under`
// ("" or a folder relative to the profile, ending with "/"); returns its folders.
inline WorkingFolders MakeWorkingFolder(const TempFolder& profile, const std::string& under = "") {
  const std::string base = under + "RavelstowData/Vantrose/";
  for (const char* folder : {"Data", "Exec", "Help", "Archive"}) profile.MakeFolder(base + folder);
  return {profile.Path() + under, profile.Path() + base};
}

class WorkingFolderTest : public ::testing::Test {
 protected:
  WorkingFolderTest() {
    m_folders = MakeWorkingFolder(m_profile);
    m_services.showMessage = [this](const std::string& text) { m_messages.push_back(text); };
    m_services.askQuestion = [this](const std::string& question, const std::string&, const std::string&) {
      m_folderQuestions.push_back(question);
      return m_createFolders;
    };
    m_services.shortcut = std::make_unique<NoShortcut>();
  }
  ~WorkingFolderTest() override { FaultInjection::Disarm(); }

  // `relative` inside the working folder, as a path relative to the profile.
  static std::string Base(const std::string& relative) { return "RavelstowData/Vantrose/" + relative; }
  const std::string& BaseFolder() const { return m_folders.baseFolder; }
  std::string PagePath(const std::string& name) const { return m_folders.baseFolder + name; }

  // Runs the program's entry on the working folder; nullptr when it refused to start.
  std::unique_ptr<Program> StartHere() { return StartProgram(m_services, m_folders); }

  TempFolder m_profile;
  WorkingFolders m_folders;
  ProgramServices m_services;
  std::vector<std::string> m_messages;
  std::vector<std::string> m_folderQuestions;  // the first start's questions asked
  bool m_createFolders = false;                // their answer: true creates the folders
};
