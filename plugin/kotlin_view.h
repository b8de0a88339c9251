// The Kotlin view of a class compiled from Kotlin (one with Kotlin's
// metadata), beside the Java source and the bytecode: Jad asked for Kotlin
// (which the bridge answers through Vineflower's Kotlin plugin) in a run of
// its own on its own thread, kept once it has come, highlighted as Kotlin,
// with the banner and a line of its own on top. The menu item and Ctrl+K are
// there only for such a class. A Jad that does not know the request (the
// original Jad writes Java all the same) gets a comment that says so.
#pragma once

#include <windows.h>

#include "plugin/class_views.h"
#include "plugin/class_window.h"

// The timer by which a window whose Kotlin is still coming looks at its run
// itself, in case the run's message was lost (as RunCheckTimer does).
enum { KotlinCheckTimer = 0x7D0C };

// Whether the class carries Kotlin's metadata, from the bytes the window's
// run read (false until it has read them; the host's thread never opens the
// file).
bool OffersKotlinView(ClassWindow* window);

// Shows the Kotlin view, near the original line the view shown was near:
// the result when it has come; otherwise the run is started (once) and
// waited for as a load waits, and what is coming shown meanwhile.
void ShowKotlinView(HWND control, ClassWindow* window);

// A run has ended (job as the message gave it): true when it was the Kotlin
// view's, whose result is then kept, and shown when the view is.
bool TakeArrivedKotlin(HWND control, ClassWindow* window, DecompileJob* job);

// The timer's look: takes the Kotlin run when it has ended.
void CheckKotlinRun(HWND control, ClassWindow* window);

// Gives up the view's run and frees what it keeps.
void ReleaseKotlinView(ClassWindow* window);
