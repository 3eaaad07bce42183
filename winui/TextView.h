#pragma once

#include <windows.h>

// The window class of the copy options dialog's preview: a read-only multi-line text box that
// takes a text of any length at once. Setting a text only finds where its lines start; a line is
// measured and drawn when it comes into view, so ten thousand names show as fast as they format.
//
// To the user it is a read-only edit: both scroll bars, the wheel, the keyboard (arrows, pages,
// HOME and END, CTRL for words and the ends of the text), selecting with the mouse (a
// double-click takes a word, SHIFT extends), a caret while it has the focus, CTRL+A, CTRL+C and
// CTRL+INSERT, and a context menu with Copy and Select All. Lines end at "\r\n" or "\n"; tabs
// stop every eight average character widths. To its dialog it answers WM_SETTEXT, WM_GETTEXT,
// WM_GETTEXTLENGTH, WM_SETFONT, WM_GETFONT, WM_COPY, EM_SETSEL, EM_GETSEL, EM_GETLINECOUNT and
// EM_GETFIRSTVISIBLELINE as an edit does, and asks for its colours with WM_CTLCOLORSTATIC as a
// read-only edit does. To assistive technology (WM_GETOBJECT) it is a read-only text named by its
// label, whose value is its text; its caret is the system caret.
inline constexpr wchar_t kTextViewClass[] = L"BrelvantaTextView";

// Keeps the class registered in the resource module, whose dialog templates name it, while any
// of these objects lives; several may live at once, on any threads. The last one to go removes
// the class, so the library never leaves a class behind that points into it once unloaded.
class TextViewClass
{
  public:
    TextViewClass() noexcept;
    TextViewClass(const TextViewClass&) = delete;
    TextViewClass& operator=(const TextViewClass&) = delete;
    ~TextViewClass();
};
