// A member's declaration brought to the top of the view a class window
// shows, its name selected: one function per view. Each gives false, and
// leaves the view as it was, when the view holds no declaration of it.
#pragma once

#include <windows.h>

#include "classfile/class_members.h"
#include "plugin/class_window.h"

// The source view, and what stands in it for the source: the decompiler's
// Java with its column of original lines ("/*  16*/"), where a method is
// found by the lines its code was compiled from, else by its declaration's
// text; the outline while the source is coming, and the bytecode under the
// comment when there is none, by their text.
bool JumpToMemberInSource(HWND control, const ClassMember& member);

// The bytecode view: a method by its place in the view, a field by its text.
// It has no nested classes.
bool JumpToMemberInBytecode(HWND control, const ClassWindow& window, const ClassMember& member);

// The Kotlin view: a method or constructor by the lines of its code against
// the column and then its Kotlin declaration above them ("fun name(",
// "constructor(", the class's header), else its declaration by name (a
// property's "val name", "class Name", "companion object"); a method Kotlin
// declares otherwise (a property's getter) brings up its code's first line.
bool JumpToMemberInKotlin(HWND control, const ClassMember& member);

// The member brought up in whichever view the window shows.
bool JumpToMember(HWND control, const ClassWindow& window, const ClassMember& member);
