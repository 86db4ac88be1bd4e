// The workbench's icon, built into the program from the PNG sizes of the
// hicolor theme (dist/icons), so the windows have it without an installed
// icon theme and without Qt's SVG plugin.
#pragma once

#include <QIcon>

// Every size from 16 to 256 pixels; a window system picks the one it needs.
QIcon WorkbenchIcon();
