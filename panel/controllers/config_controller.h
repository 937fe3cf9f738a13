#pragma once
// The first run and the configuration it leads to. When no tutor service is configured, the account
// area says that a key goes into vyk.cfg; "Open vyk.cfg" writes the commented template where the
// program reads it (next to the program, else the working folder) and opens it in an editor; a
// change of the file (timer 8 compares its stamp) or "Reload" reads the configuration again and
// hands the panel the operations bound to it. A query already running keeps the operations it
// started with. A session that starts configured never watches anything.
#include <functional>
#include <string>

#include "panel/controllers/timer_port.h"
#include "tutor/tutor_services.h"

// The configuration file as the system keeps it. Paths are UTF-8; directories end in a separator.
struct ConfigFilePort {
  std::string programDirectory;
  std::string workingDirectory;
  std::function<bool(const std::string& path)> exists;
  // Creates `path` holding `text`; false when it exists already or cannot be written.
  std::function<bool(const std::string& path, const std::string& text)> create;
  std::function<void(const std::string& path)> openInEditor;
  // Changes whenever one of the configuration files is written, created or deleted.
  std::function<std::string()> stamp;
};

struct ConfigView {
  // Start-up found nothing configured: bring the first-run message into view.
  std::function<void()> showFirstRun;
  // The configuration was read again; the panel takes these operations from now on.
  std::function<void(TutorServices services)> servicesChanged;
  std::function<void()> repaint;
};

class ConfigController {
 public:
  ConfigController(TimerPort& timers, ConfigFilePort files, ConfigView view);

  // Start-up: true (and the watch runs) when nothing is configured.
  bool Start(const TutorServices& services);
  // "Open vyk.cfg": the file the program reads, written from the template when there is none.
  void OpenConfigFile();
  // "Reload", or the file changed.
  void Reload();
  // Timer 8.
  void PollFile();
  void Stop() { watch_.Stop(); }

  // A line about the last step (where the file went, why it could not be written).
  const std::wstring& note() const { return note_; }
  bool noteIsError() const { return noteIsError_; }

 private:
  void SetNote(std::wstring note, bool error);
  bool CreateFromTemplate(const std::string& path);

  OwnedTimer watch_;
  ConfigFilePort files_;
  ConfigView view_;
  std::function<TutorServices()> reload_;
  std::string stamp_;
  std::wstring note_;
  bool noteIsError_ = false;
};
