#pragma once
// A small pool of persistent threads for the compositor: one fewer than the
// processor has cores, the calling thread taking part as well.

#include <functional>

/** Runs task(0) … task(count − 1) on the render threads and the caller, each index
 *  once, and returns when all are done. A second caller while a run is going on
 *  (another thread) runs its tasks alone. */
void RunOnRenderThreads(int count, const std::function<void(int)>& task);

/** Off: every run goes on the calling thread alone (single-core measurements). */
void SetRenderThreadsEnabled(bool on);
/** How many threads take part in a run. */
int RenderThreadCount();
