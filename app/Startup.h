// Start-up's window set: the one place that knows every window.
#pragma once

#include <functional>

class TApplication;

// The program once its application object exists: the application prepared,
// the champions file chosen (arguments, setting), one running copy per user
// and table, the windows, the event loop. Returns the exit status: 2 for
// refused arguments. beforeShow runs just before the main window is first
// shown (the start-up benchmark watches for its first frame from there).
int RunProgram(TApplication& app, int argc, char** argv,
               const std::function<void()>& beforeShow = {});

// Creates Form1, Form2, Form3 and AboutFrm in that order, each creation
// step inside RunProtected, and connects what each window asks of the
// others: CreateMainWindow, then CreateOtherWindows.
void CreateWindows();

// Creates Form1 with its creation steps (the champions file's load, and its
// message, included) and connects what it asks of the other windows: each
// request creates them first when they do not exist yet.
void CreateMainWindow();

// Creates Form2, Form3 and AboutFrm in that order, each creation step
// inside RunProtected, and the explanation window, unless they exist or
// their creation is under way; connects what they ask.
void CreateOtherWindows();

// The program's way: the other windows are created as soon as the main
// window's first frame is out (or sooner, when the main window asks for
// one), since the first frame needs none of them.
void CreateOtherWindowsAfterFirstFrame();

// Shows, raises and activates whichever of the program's windows is
// visible (a modal one first), for a later start that found this copy.
void BringVisibleWindowToFront();

// Saves the champions file without a word: a failure stays silent, since
// the exit save runs later and reports it. After a save the windows show
// the table as saved, other copies' records merged in.
void SaveChampionsQuietly();

class TTerminationSignals;

// A logout, kill or Ctrl+C ends the program the orderly way: open message
// boxes close, a question whether to quit is answered "Да", and the main
// window closes, so the exit save runs.
void EndOnTermination(TTerminationSignals& termination);
