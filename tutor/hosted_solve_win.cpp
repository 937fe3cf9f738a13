#include "tutor/hosted_solve.h"

TutorReply HostedSolve(const TutorConfig& config, QueryKind kind, QueryQuality quality,
                       const std::string& text, const std::string& image) {
  return HostedSolve(config, SystemHostedContext(), kind, quality, text, image);
}
