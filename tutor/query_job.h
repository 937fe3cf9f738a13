#pragma once
// Hand-over of one query between the UI thread and its worker. The worker stores the reply under
// the job's lock; the UI thread polls with a try-lock and never waits. No window code here.
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "tutor/tutor_types.h"
#include "core/worker_job.h"

// One running query, shared by the panel and its worker; either may drop it first.
using Job = WorkerJob<TutorReply>;

// The solve operation a worker runs (SolveQuery bound to its own copy of the configuration).
using SolveFn = std::function<TutorReply(QueryKind kind, QueryQuality quality, const std::wstring& text)>;

// What a query ends in when its worker cannot be started.
inline constexpr const wchar_t* kStartFailedMessage = L"Couldn't start the tutor. Try again.";

// Creates the job and starts its worker. If the worker cannot be started, the job already holds
// "Couldn't start the tutor. Try again."; a solve operation that throws (or is empty) ends in
// "Something went wrong. Please try again.".
std::shared_ptr<Job> StartQueryWorker(SolveFn solve, QueryKind kind, QueryQuality quality, std::wstring text,
                                      const ThreadStarter& startThread = StartDetachedThread);

// The reply if the worker has stored it, taking it out of the job; nothing when the query is still
// running or the worker holds the lock at this moment. Never blocks.
std::optional<TutorReply> TryCollect(Job& job);
