#pragma once
// The maintenance windows pause between their steps so that the user sees each one. The
// pause keeps the window painting (the bar and captions update) but takes no user input.
// Tests set the scale to 0.

namespace maintenance {
void pause(int milliseconds);
void setPauseScale(double scale);
}  // namespace maintenance
