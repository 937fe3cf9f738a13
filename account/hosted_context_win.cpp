#include "account/device_identity.h"
#include "account/hosted_context.h"
#include "account/session_store.h"
#include "net/http_client_win.h"

HostedContext SystemHostedContext() {
  HostedContext context;
  context.http = &HttpRequest;
  context.session = &ProcessSessionStore();
  context.deviceHash = &DeviceHash;
  context.deviceLabel = &DeviceLabel;
  return context;
}
