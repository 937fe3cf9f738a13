#include "panel/controllers/config_controller.h"

#include "core/config.h"
#include "core/config_template.h"
#include "core/utf.h"
#include "panel/panel_rules.h"
#include "panel/panel_texts.h"

ConfigController::ConfigController(TimerPort& timers, ConfigFilePort files, ConfigView view)
    : watch_(timers, panel_timer::ConfigWatch), files_(std::move(files)), view_(std::move(view)) {}

bool ConfigController::Start(const TutorServices& services) {
  if (services.configured) return false;
  reload_ = services.reload;
  if (files_.stamp) stamp_ = files_.stamp();
  watch_.Start(panel_timer::ConfigWatchMs);
  if (view_.showFirstRun) view_.showFirstRun();
  return true;
}

bool ConfigController::CreateFromTemplate(const std::string& path) {
  return files_.create && files_.create(path, ConfigTemplateText());
}

void ConfigController::OpenConfigFile() {
  const std::vector<std::string> candidates = ConfigFileCandidates(files_.programDirectory, files_.workingDirectory);
  const std::string& besideProgram = candidates[0];
  const std::string& inWorkingFolder = candidates[1];
  std::string path;
  if (files_.exists && files_.exists(besideProgram)) {
    path = besideProgram;
  } else if (files_.exists && files_.exists(inWorkingFolder)) {
    path = inWorkingFolder;
  } else if (CreateFromTemplate(besideProgram)) {
    path = besideProgram;
    SetNote(panel_text::ConfigWritten + Utf8ToWide(path), false);
  } else if (inWorkingFolder != besideProgram && CreateFromTemplate(inWorkingFolder)) {
    path = inWorkingFolder;
    SetNote(panel_text::CantWriteIn + Utf8ToWide(files_.programDirectory) + panel_text::ConfigWrittenInstead +
                Utf8ToWide(path),
            false);
  } else {
    SetNote(panel_text::CantWriteIn + Utf8ToWide(files_.programDirectory) + panel_text::ConfigMayGo +
                Utf8ToWide(files_.workingDirectory),
            true);
    return;
  }
  // The template names no service: writing it is not a change the watch needs to read.
  if (files_.stamp) stamp_ = files_.stamp();
  if (files_.openInEditor) files_.openInEditor(path);
}

void ConfigController::Reload() {
  if (!reload_) return;
  if (files_.stamp) stamp_ = files_.stamp();
  TutorServices services = reload_();
  SetNote(services.configured ? std::wstring() : std::wstring(panel_text::NoKeyYet), false);
  if (view_.servicesChanged) view_.servicesChanged(std::move(services));
}

void ConfigController::PollFile() {
  if (!files_.stamp) return;
  if (files_.stamp() != stamp_) Reload();
}

void ConfigController::SetNote(std::wstring note, bool error) {
  note_ = std::move(note);
  noteIsError_ = error;
  if (view_.repaint) view_.repaint();
}
