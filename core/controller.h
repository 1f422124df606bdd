// Process-wide settings of the numeric core that desktop tools share: the registry key under which
// components keep their settings, the default number format, and the register of worker threads.
//
// A worker thread that runs core computations on behalf of a host (the progress dialog's thread) marks
// itself for the length of its run, so the core and the host can tell workers from the main thread and
// know how many are active.
#pragma once

#include <string>

namespace zel {

// The settings key, "\Software\Kelmoor\Nubra" unless a host changed it.
const std::string& RegistryKey();
// Replaces the settings key (hosts that keep their settings elsewhere).
void SetRegistryKey(const std::string& key);

// The number format components start with: "0.####" (FormatSample picture).
const std::string& DefaultNumberFormat();

// Registers the calling thread as a worker for the current run. Calls nest.
void MarkThread();
// Ends the registration made by the matching MarkThread.
void UnMarkThread();
// True while the calling thread is registered.
bool ThreadIsMarked();
// Number of threads registered right now.
int MarkedThreadCount();

}  // namespace zel
