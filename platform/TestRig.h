#pragma once
// Helpers for headless tests: the application on the off-screen platform, mouse and key
// messages sent to controls, painting into a bitmap, and running the loop for a while.
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/controls/Controls.h"

namespace platform {

class TBitmap;
struct GLContext;

// Creates the host application, Application and Screen (once).
void EnsurePlatform();
// Lets the message loop wait and idle again after a main window of an earlier test ended it.
void RestartLoop();

// Modifier keys that key handlers see while a test sends key messages; -1 reads the keyboard.
void SetSimulatedShiftState(int shift);

// A mouse message at (x, y) in c's client coordinates, with the buttons and keys of shift
// (the button of a press is added). Graphic children under the point receive it.
LRESULT SendMouse(TWinControl* c, UINT msg, int x, int y, TShiftState shift = 0);
// Press and release of the left button.
void ClickAt(TWinControl* c, int x, int y, TShiftState shift = 0);
// WM_KEYDOWN, WM_CHAR for a key that types a character, WM_KEYUP; shift as held down.
// The key data carries the key's scan code (KeyDataOf): VK_DECIMAL types '.' from the keypad.
void SendKey(TWinControl* c, Word vk, TShiftState shift = 0);
// WM_CHAR alone; keyData as the key that typed it (KeyDataOf), 0 for none.
void SendChar(TWinControl* c, char ch, LPARAM keyData = 0);

// The next message box shown on the screen (within about ten seconds) gets a press of
// vk (VK_ESCAPE, VK_RETURN), after its buttons' captions are written to captions.
void KeyToNextMessageBox(Word vk, std::vector<std::string>* captions = nullptr);

// Host input events, as the windowing system delivers them to c's window: they pass
// through the translation into messages (c must have its window).
enum THostMouse { hmPress, hmRelease, hmMove, hmDoubleClick };
void HostMouse(TWinControl* c, THostMouse kind, TMouseButton b, int x, int y, TShiftState shift = 0);
void HostWheel(TWinControl* c, int x, int y, int delta, TShiftState shift = 0);
// Press and release of a key; letters, digits, space, Return, "-" (0xBD) and the keypad's
// "+", "-", "*" and "." also type their character; with Ctrl a letter types its control character, as X11 delivers it.
void HostKey(TWinControl* c, Word vk, TShiftState shift = 0);  // VK_DECIMAL: the keypad's "."

// What the mouse shows over c's window: the screen's cursor when one is set, else the
// window's own, as a short name ("arrow", "hand", "hsplit", "bitmap 32x32 hot 0,31"...).
std::string ShownCursor(TWinControl* c);

// Text typed as a keyboard layout or an input method delivers it: one key press that
// carries the text and no virtual key.
void HostText(TWinControl* c, const std::u16string& text);
// Another program drags MIME data (type, bytes) over c's window to client point p and,
// with drop, drops it there (else leaves). The effect answered: DROPEFFECT_ bits within allowed.
int HostDragDrop(TWinControl* c, TPoint p, const std::vector<std::pair<std::string, std::string>>& mime,
                 int allowed = 3, TShiftState shift = 0, bool drop = true);
// An input method's composition ends with commit as its result.
void HostInputMethod(TWinControl* c, const std::u16string& commit);

// The user closes c's window with the window manager's close button.
void HostClose(TWinControl* c);

// The user works c's scroll bar (SB_HORZ or SB_VERT) as the SB_ code says: a line or a
// page either way, or to either end, and lets go. SB_THUMBTRACK drags the thumb to pos and lets go.
void HostScroll(TWinControl* c, int bar, int code, int pos = 0);
// The left button pressed on c's scroll bar at from, moved to to and let go there; points
// are in the bar's own pixels, a negative coordinate counting from its far end.
void HostScrollBarMouse(TWinControl* c, int bar, TPoint from, TPoint to);

// Paints c and its children, as a paint message does, into a new bitmap of c's size.
std::unique_ptr<TBitmap> PaintToBitmap(TWinControl* c);

// What c's window shows on the screen, painted by the host with its children, their
// shapes and transparent backgrounds, into a new bitmap of the window's size.
std::unique_ptr<TBitmap> GrabWindow(TWinControl* c);

// What the X server shows on the whole screen (the root window's pixels, as a compositor
// paints them), in a new bitmap of the screen's size.
std::unique_ptr<TBitmap> GrabScreen();

// The size of the frame buffer a rendering context draws into; {0, 0} before it has one.
TSize GLFrameBufferSize(GLContext* rc);

// How many pixels of c's own backing picture hold something (painted or filled); the
// parts its children cover are not filled for painting.
long long BackingPixelsHeld(TWinControl* c);

// Characters that edit controls have laid out to measure their text, since the start:
// a change to a text of n characters should cost about n.
long long EditCharactersMeasured();

// A canvas that draws nothing and writes down every drawing call, one line each, with
// the state that applies: "LineTo 0,0 5,5 pen=0000ff/1/0/13", "Rectangle 1,2,3,4 pen=... brush=ffffff/0",
// "FillRect 1,2,3,4 color=ffffff", "Text 3,4 'abc' color=000000 font=Arial/-13/1", "Blt 0,0,8,8 rop=cc0020",
// "Polygon 3", "Polyline 2", "PolyPolygon 2/40" (polygons/points), "Ellipse ...", "Pie l,t,r,b x3,y3 x4,y4 pen=... brush=...", "Pixel x,y color=...", "FocusRect ...", "SaveDC",
// "RestoreDC -1", "Clip l,t,r,b" (the clip box, logical). Colours are 0xBBGGRR in hex.
class TRecordingCanvas : public TCanvas {
public:
    TRecordingCanvas(int width, int height);
    ~TRecordingCanvas() override;
    const std::vector<std::string>& Calls() const;
    void ClearCalls();

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

// Lets messages run until pred holds; false if it still does not after maxRounds rounds
// of ProcessMessages with a short sleep between. With the test clock on, each round also
// moves it on by 1 ms.
bool ProcessUntil(const std::function<bool()>& pred, int maxRounds = 5000);

// The test clock. While it is on, the platform's timers (TTimer, SetTimer, the caret's blink,
// the hint's pause and hide) do not run by real time: AdvanceClock moves the clock on by ms,
// firing every timer due by then in order on this thread, then lets posted messages run.
// Off by default; TestClock turns it on for its lifetime.
void UseTestClock(bool on);
void AdvanceClock(UINT ms);
class TestClock {
public:
    TestClock() { UseTestClock(true); }
    ~TestClock() { UseTestClock(false); }
    TestClock(const TestClock&) = delete;
    TestClock& operator=(const TestClock&) = delete;
};

// Runs fn once, on this thread, when the message loop next starts to wait for messages.
void WhenLoopWaits(std::function<void()> fn);

// Worker threads (TThread) started whose run, end event and freeing are not yet over.
int RunningThreads();

// Runs messages until a timer of ms milliseconds, started now, has fired: a timer that was
// due before it has fired by then. With the test clock on, the clock is advanced by ms.
bool AfterTimerOf(UINT ms);

}  // namespace platform
