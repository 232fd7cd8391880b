#pragma once

namespace orv {

// Before the application object exists: settings the web engine must see
// from the start. Run as root, the engine refuses to start with its sandbox
// on, so the program turns the sandbox off itself in that case.
void PrepareWebEngineBeforeApplication();

// After the application object exists and before the first web view: on a
// platform without a screen (offscreen), keep the engine off the GPU.
void PrepareWebEngineAfterApplication();

}  // namespace orv
