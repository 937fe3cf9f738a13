#pragma once
// Things a caller of the panel may want to hear about (development builds log them).
#include <windows.h>

#include <functional>
#include <string>

#include "account/account_types.h"
#include "tutor/query_job.h"

struct PanelObservers {
  std::function<void(QueryKind)> queryStarted;
  std::function<void(const TutorReply&)> replyCollected;
  // The first paint that shows a streamed answer of the running query.
  std::function<void(const LiveAnswer&)> livePainted;
  std::function<void(bool open)> snipOverlay;
  // After each step of the sign-in form: its status line, whether that is an error, the stage, and
  // the account on view.
  std::function<void(const std::wstring& status, bool error, bool codeStage, const AccountInfo& account)> accountForm;
  // After each backdrop evaluation: whether glass is in use, and what the glass object's
  // initialisation answered (S_OK when it was not asked).
  std::function<void(bool glassActive, HRESULT initialised)> backdropEvaluated;
  // The configuration was read again (first run): whether it now names a service, and its mode.
  std::function<void(bool configured, bool hosted)> configurationRead;
};
