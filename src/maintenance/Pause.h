#pragma once
// The maintenance windows pause between their steps so that the user sees each one. The
// pause keeps the window painting (the bar and captions update) but takes no user input.
// Its length goes through the test seam (seam::setPauseScale).

namespace maintenance {
void pause(int milliseconds);
}  // namespace maintenance
