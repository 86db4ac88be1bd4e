// Where a window goes when its kept position is restored: the position
// stays as it is while the window's title bar can be reached on one of the
// screens, and is moved just far enough onto the nearest screen otherwise
// (a screen that has gone, or a position kept off every screen).
#pragma once

#include <QList>
#include <QPoint>
#include <QRect>

// The height taken for a window system's title bar.
inline constexpr int kTitleBarHeight = 30;
// How much of the title bar's width must lie on a screen to grab it (all of
// it for a narrower window).
inline constexpr int kTitleBarGrip = 100;

// The top-left corner (of the window's frame) for a window of width whose
// kept corner is topLeft, given the available areas of the screens. On a
// screen the title bar lies between the area's top and bottom and at least
// kTitleBarGrip of it across the area; where neither screen has it there,
// the top (or the left) moves by as little as keeps the whole title bar on
// the area when it fits. Without areas the corner stays.
QPoint TitleBarOnScreen(const QPoint& topLeft, int width, const QList<QRect>& areas);
// The same with the available areas of the screens at hand.
QPoint TitleBarOnScreen(const QPoint& topLeft, int width);
