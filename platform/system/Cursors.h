#pragma once
// Mouse cursors: the standard ones by number, cursors loaded from the program's cursor
// resources, and the screen's cursor table that gives those numbers of their own.
#include <cstdint>
#include <string>

#include "platform/system/Resources.h"
#include "platform/Types.h"

namespace platform {

using TCursor = int;
constexpr TCursor crDefault = 0, crNone = -1, crArrow = -2, crCross = -3, crIBeam = -4, crSizeNESW = -6,
                  crSizeNS = -7, crSizeNWSE = -8, crSizeWE = -9, crUpArrow = -10, crHourGlass = -11, crDrag = -12,
                  crNoDrop = -13, crHSplit = -14, crVSplit = -15, crMultiDrag = -16, crSQLWait = -17, crNo = -18,
                  crAppStart = -19, crHelp = -20, crHandPoint = -21, crSizeAll = -22, crSize = -22;

// A loaded cursor (a picture and its hot spot); 0 is none.
using HCURSOR = std::uintptr_t;

// The cursor resource `name` or `id` of instance: the bytes of a .cur file, registered
// with RegisterResource(instance, RT_CURSOR, ...). 0 when there is none or it is no cursor.
HCURSOR LoadCursor(HINSTANCE instance, const std::string& name);
HCURSOR LoadCursor(HINSTANCE instance, int id);
// A cursor from the bytes of a .cur file; 0 when they are none.
HCURSOR LoadCursorFromData(const std::string& curFile);
// Frees a loaded cursor (and takes it out of the cursor table); false for an unknown one.
bool DestroyCursor(HCURSOR cursor);
// Size and hot spot of a loaded cursor; false for an unknown one.
bool GetCursorSize(HCURSOR cursor, TSize& size, TPoint& hotSpot);

// The screen's cursor table (Screen->Cursors): a loaded cursor shown wherever the number
// `index` is asked for, standard numbers included; 0 takes the number out of the table.
// A number without a loaded cursor gives the standard cursor's handle (the arrow's for
// numbers that are not standard).
void SetCursorHandle(TCursor index, HCURSOR cursor);
HCURSOR CursorHandle(TCursor index);

// Shows cursor on the window that handles the mouse now, until the mouse moves on. A
// window's WM_SETCURSOR handler calls it and answers 1 to keep it; a handler that answers
// 0 lets the control under the mouse show its own cursor.
void SetCursor(HCURSOR cursor);

}  // namespace platform
