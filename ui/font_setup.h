#pragma once
// The font configuration, read before the first window needs a font.

namespace orvane {

// Reads the system's font configuration and font list ahead of the toolkit,
// by a shorter path than the toolkit's own first use takes, and makes it the
// one the toolkit then finds. Returns whether it did; when it did not, nothing
// has changed and the toolkit reads the configuration itself on first use.
// Call it once, first thing in main, before any other thread starts.
bool PrepareFontConfiguration();

}  // namespace orvane
