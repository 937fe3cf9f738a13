#pragma once
// The hosted solve client: sends one query to the hosted service's solve endpoint and maps every
// outcome to a TutorReply, refreshing an expired session once.
#include <string>

#include "account/hosted_context.h"
#include "core/config.h"
#include "tutor/tutor_types.h"

// The request body: kind, quality, device label, then exactly one of "image_b64" (when `image`,
// the complete data URL, is not empty) and "text" (UTF-8, without any prompt prefix).
std::string HostedSolveBody(QueryKind kind, QueryQuality quality, const std::string& deviceLabel,
                            const std::string& text, const std::string& image);

// Posts the query and maps the reply. Never throws for network or reply problems.
TutorReply HostedSolve(const TutorConfig& config, const HostedContext& context, QueryKind kind,
                       QueryQuality quality, const std::string& text, const std::string& image);

// Windows: the same over SystemHostedContext().
TutorReply HostedSolve(const TutorConfig& config, QueryKind kind, QueryQuality quality,
                       const std::string& text, const std::string& image);
