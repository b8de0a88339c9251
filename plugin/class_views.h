// The views of a class in its list window: the Java source (or, when Jad gave
// none, why, above the bytecode), the bytecode as javap -c -p lists it, and
// what is coming while the source is decompiled. Each comes with the banner
// and a line of its own on top.
#pragma once

#include <windows.h>

#include "plugin/class_window.h"
#include "presentation/text_styles.h"

// The banner and one more line stand above every view.
enum { HeaderLineCount = 2 };

// The message a run posts to its window when it ends.
UINT SourceReadyMessage();

// The class window's commands: the context menu's items, each its own number
// (their keys are in view_keys.cpp).
enum {
  ShowSourceCommand = 0x7D01,
  ShowBytecodeCommand = 0x7D02,
  GoToMemberCommand = 0x7D03,
  ShowKotlinCommand = 0x7D04
};

// How long the host's thread waits for a run before what is coming shows
// instead, unless DRAVIK_LOAD_WAIT_MS sets another (the tests).
const DWORD DefaultLoadWaitMs = 250;

// The timer by which a window with a run still coming looks at it itself, in
// case the run's message was lost; and how often.
enum { RunCheckTimer = 0x7D0B, RunCheckMs = 500 };

// Takes the class file's bytes and outline that the run read into the window,
// once it has read them (and unless the window has them).
void TakeRunClass(ClassWindow* window, DecompileJob* job);

// The run goes on after the load: the window holds it as pending and takes
// its source when it posts, or when the window's own look finds it ended.
void AwaitRunSource(HWND control, ClassWindow* window, DecompileJob* job);

// Shows the run's result (window->result) as the source view: the source when
// Jad gave it, else its comment, or the plugin's own that says why there is
// none, above the bytecode. False when there is nothing to show: no source,
// and a class file the reader cannot read (then mustShow still shows the
// comment), or no memory.
bool ShowRunResult(HWND control, ClassWindow* window, bool mustShow);

// What is coming: the banner, "Decompiling Foo.class<as> ..." and the class's
// outline (from the bytes the run read).
void ShowOutlineComing(HWND control, const ClassWindow* window, const WCHAR* as);

// Takes the run's job (window->pending) and shows what is coming: the banner,
// "Decompiling Foo.class ..." and the class's outline.
void ShowComingSource(HWND control, ClassWindow* window);

// The pending run has ended: its result is taken and, unless the bytecode is
// shown, shown.
void TakeArrivedSource(HWND control, ClassWindow* window);

// Shows the bytecode view, or the source view again, keeping the place near
// the same method where the class's line numbers tell it.
void SwitchClassView(HWND control, ClassWindow* window, bool bytecode);

// The context menu with both views, at a screen point (-1, -1: at the caret).
void ShowClassViewMenu(HWND control, ClassWindow* window, int x, int y);

// The palette the control's views are shown in (dark when the host asked).
const TextPalette& ClassViewPalette(HWND control);

// How long the host's thread waits for a run now: DefaultLoadWaitMs, or what
// DRAVIK_LOAD_WAIT_MS sets.
DWORD ShownRunWaitMs();

// Puts line at the top of the view and the caret at its start.
void ScrollToLine(HWND control, int line);

// The original line the view shown stands at: in a view with the column of
// original lines the number near its top, and how far below the top its line
// is; in the bytecode view the first line of the method there. -1 without
// either.
struct ShownPlace {
  int original = -1;
  int row = 0;
};
ShownPlace ShownOriginalLine(HWND control, const ClassWindow* window);

// The line to scroll to in the view shown now (with the column) so that the
// place stands as far down as it stood; -1 when the view does not carry it.
int LineOfShownPlace(HWND control, const ShownPlace& shown);
