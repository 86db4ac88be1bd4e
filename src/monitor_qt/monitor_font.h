// The fonts the windows ask for by their Windows names, and the one the
// monitor draws its cells with.
#pragma once

#include <QFont>

// Maps the Windows Japanese font names the windows request onto the IPA
// fonts, so that fontconfig does not fall back to a Latin font under a
// non-Japanese locale. Safe to call more than once; call it once at start
// before any window is created.
void RegisterFontSubstitutions();

// "ＭＳ ゴシック" at the cell size in pixels: the font of the monitor window
// and of every character cell it draws.
QFont MonitorFont();
